// The table over the real LoadLibraryA / GetProcAddress / FreeLibrary.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/dll_command_table.h"
#include "app/library_loader.h"
#include "tests/app/fakes.h"
#include "text/fatal.h"

namespace zuzar {
namespace {

using testing::ProgramEnded;

class SystemLibraryLoaderTest : public ::testing::Test {
 protected:
  testing::FatalReportThrows fatalReportThrows_;
  std::unique_ptr<LibraryLoader> loader = MakeSystemLibraryLoader();
};

// lstrcmpA takes two texts with the Windows API convention, like SkinH_AttachEx: a real function
// of that shape, found by the system's search after the program directory.
TEST_F(SystemLibraryLoaderTest, CallsARealExportWithTwoTexts) {
  DllCommandTable table(*loader, "C:\\no-such-folder", "C:\\no-such-folder\\", {{"kernel32.dll", "lstrcmpA"}});
  EXPECT_EQ(CallDllCommand(table, 0, "a", "b"), -1);
  EXPECT_EQ(CallDllCommand(table, 0, "b", "b"), 0);
  table.ReleaseAll();
}

TEST_F(SystemLibraryLoaderTest, MissingLibraryIsFatal) {
  DllCommandTable table(*loader, "C:\\no-such-folder", "C:\\no-such-folder\\",
                        {{"zuzar-no-such-library.dll", "SkinH_AttachEx"}});
  try {
    CallDllCommand(table, 0, "", "");
    ADD_FAILURE() << "the call returned";
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.message, "无法找到指定DLL库文件“zuzar-no-such-library.dll”中的输出命令“SkinH_AttachEx”");
    EXPECT_EQ(ended.code, 0);
  }
}

#if defined(__i386__)
// A function that leaves its arguments on the stack (cdecl) called as one that removes them: the
// stack is 8 bytes off after the call, which is fatal with code 6. Runs on 32-bit Windows only.
int32_t __cdecl LeavesItsArguments(const char*, const char*) { return 0; }

class CdeclLoader final : public LibraryLoader {
 public:
  Module Load(const std::string&) override { return this; }
  void* FindExport(Module, const std::string&) override { return reinterpret_cast<void*>(&LeavesItsArguments); }
  void Release(Module) override {}
};

TEST_F(SystemLibraryLoaderTest, StackMismatchAfterTheCallIsFatal) {
  CdeclLoader leaving;
  DllCommandTable table(leaving, "C:\\app", "C:\\app\\", {{"x.dll", "f"}});
  try {
    CallDllCommand(table, 0, "a", "b");
    ADD_FAILURE() << "the call returned";
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.message, "调用DLL命令后发现堆栈错误");
    EXPECT_EQ(ended.code, 6);
  }
}
#endif

}  // namespace
}  // namespace zuzar
