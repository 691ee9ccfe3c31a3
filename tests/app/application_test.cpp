#include "app/application.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/app/fakes.h"
#include "text/fatal.h"

namespace zuzar {
namespace {

using ::testing::ElementsAre;
using testing::FakeApplicationPlatform;
using testing::FakeLibraryLoader;
using testing::ProgramEnded;

int endRoutineRuns = 0;
void CountingEndRoutine() { ++endRoutineRuns; }

int32_t Attach(const char*, const char*) { return 0; }

TEST(BuildRuntimeErrorText, CodeAndMessagePartsAppearOnlyWhenGiven) {
  struct Case {
    const char* message;
    int32_t code;
    const char* text;
  };
  const Case cases[] = {
      {"", 0, "运行时出错!\r\n\r\n"},
      {"调用DLL命令后发现堆栈错误", 6, "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"},
      {"分配 100 字节内存失败!", 0, "运行时出错!\r\n\r\n错误信息：分配 100 字节内存失败!\r\n"},
      {"", -1, "运行时出错!\r\n\r\n错误代码：-1\r\n\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildRuntimeErrorText(c.message, c.code), c.text) << c.message << " " << c.code;
  }
  // The frame's bytes, as the box receives them.
  EXPECT_EQ(BuildRuntimeErrorText("m", 6),
            "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA"
            "6\r\n\r\n\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA" "m\r\n");
}

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    endRoutineRuns = 0;
    application.RegisterEndRoutine(&CountingEndRoutine);
    InstallRuntimeErrorBox(&application);
  }
  void TearDown() override { InstallRuntimeErrorBox(nullptr); }

  EventDispatcher events;
  FakeApplicationPlatform platform{events};
  FakeLibraryLoader loader;
  DllCommandTable table{loader, "C:\\app", "C:\\app\\", ProgramDllCommands()};
  Application application{platform, events, table};
};

TEST_F(ApplicationTest, CleanUpRunsItsStepsInOrderAndOnlyOnce) {
  loader.AddLibrary("C:\\app\\jedata.dll", {{"SkinH_AttachEx", reinterpret_cast<void*>(&Attach)}});
  table.Resolve(kSkinHAttachEx);

  application.CleanUp();
  application.CleanUp();

  EXPECT_EQ(endRoutineRuns, 1);
  EXPECT_EQ(loader.StillLoaded(), 0u);
  EXPECT_THAT(platform.steps, ElementsAre("windows", "framework resources", "files", "ole"));
  EXPECT_EQ(loader.calls.back(), "release C:\\app\\jedata.dll");
}

TEST_F(ApplicationTest, LastWindowDestroyedQuitsOnlyOnceTheLoopRuns) {
  application.OnWindowDestroyed(0);  // a window destroyed while the program is still starting
  application.MarkLoopRunning();
  application.OnWindowDestroyed(1);
  EXPECT_THAT(platform.steps, ::testing::IsEmpty());
  application.OnWindowDestroyed(0);
  EXPECT_THAT(platform.steps, ElementsAre("quit 0"));
}

TEST_F(ApplicationTest, FatalReportShowsTheBoxThenCleansUpWithoutTheEndRoutineAndExitsWithMinusOne) {
  loader.AddLibrary("C:\\app\\jedata.dll", {{"SkinH_AttachEx", reinterpret_cast<void*>(&Attach)}});
  table.Resolve(kSkinHAttachEx);

  try {
    ReportFatal("调用DLL命令后发现堆栈错误", 6);
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.code, -1);
  }
  EXPECT_THAT(platform.boxTexts,
              ElementsAre("运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"));
  EXPECT_EQ(platform.blockCountWhileBoxOpen, 1);
  EXPECT_THAT(platform.steps, ElementsAre("error box", "windows", "framework resources", "files", "ole", "exit -1"));
  EXPECT_EQ(endRoutineRuns, 0);
  EXPECT_EQ(loader.StillLoaded(), 0u);
}

TEST_F(ApplicationTest, MissingSkinLibraryEndsTheProgramThroughTheBox) {
  EXPECT_THROW(CallDllCommand(table, kSkinHAttachEx, "C:\\app\\皮肤.she", ""), ProgramEnded);
  EXPECT_THAT(platform.boxTexts,
              ElementsAre("运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“jedata.dll”中的输出命令“SkinH_AttachEx”\r\n"));
  EXPECT_EQ(platform.steps.back(), "exit -1");
}

TEST_F(ApplicationTest, OutOfMemoryEndsTheProgramThroughTheBox) {
  EXPECT_THROW(ReportOutOfMemory(1 << 30), ProgramEnded);
  EXPECT_THAT(platform.boxTexts, ElementsAre("运行时出错!\r\n\r\n错误信息：分配 1073741824 字节内存失败!\r\n"));
}

// A platform whose file closing fails fatally, as running out of memory there would.
class FailingCloseFiles final : public ApplicationPlatform {
 public:
  void ReleaseWindows() override { steps.push_back("windows"); }
  void ReleaseFrameworkResources() override {}
  void CloseAllFiles() override { ReportFatal("boom", 0); }
  void UninitializeOle() override { steps.push_back("ole"); }
  void PostQuit(int32_t) override {}
  void ShowErrorBox(const std::string&) override { steps.push_back("error box"); }
  [[noreturn]] void EndProcess(int32_t exitCode) override { throw ProgramEnded{"", exitCode}; }
  std::vector<std::string> steps;
};

TEST(ApplicationFatalInCleanUp, TheBoxShowsOnceMoreAndTheProcessEndsWithoutStartingOver) {
  EventDispatcher events;
  FailingCloseFiles platform;
  FakeLibraryLoader loader;
  DllCommandTable table(loader, "C:\\app", "C:\\app\\", ProgramDllCommands());
  Application application(platform, events, table);
  InstallRuntimeErrorBox(&application);

  try {
    application.CleanUp();
    ADD_FAILURE() << "CleanUp returned";
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.code, -1);
  }
  InstallRuntimeErrorBox(nullptr);
  EXPECT_THAT(platform.steps, ElementsAre("windows", "error box"));
}

}  // namespace
}  // namespace zuzar
