#pragma once
// The external library functions the program declares: each resolved at its first call, kept, and
// released at the end of the run. A missing library or export is fatal.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zuzar {

// The platform's library calls (LoadLibraryA, GetProcAddress, FreeLibrary), behind an interface so
// that the table's logic runs without them.
class LibraryLoader {
 public:
  using Module = void*;
  virtual ~LibraryLoader() = default;
  // Null when the library cannot be loaded.
  virtual Module Load(const std::string& path) = 0;
  // Null when the module has no such export.
  virtual void* FindExport(Module module, const std::string& exportName) = 0;
  virtual void Release(Module module) = 0;
};

struct DllCommand {
  std::string_view library;  // a bare file name, e.g. "jedata.dll"
  std::string_view exportName;
};

// The program's declarations, in declaration order.
constexpr size_t kSkinHAttachEx = 0;
std::vector<DllCommand> ProgramDllCommands();

// Where a library is looked for, in order: the program directory + "\" + name, the directory with its
// trailing backslash + name, then the bare name for the platform's own search. A name that holds
// ':' is taken as it is.
std::vector<std::string> LibrarySearchPaths(std::string_view name, std::string_view directory,
                                            std::string_view directoryWithBackslash);

// "无法找到指定DLL库文件“%s”中的输出命令“%s”" filled with the library and the export.
std::string MissingDllCommandMessage(const DllCommand& command);

class DllCommandTable {
 public:
  DllCommandTable(LibraryLoader& loader, std::string directory, std::string directoryWithBackslash,
                  std::vector<DllCommand> commands);
  ~DllCommandTable();
  DllCommandTable(const DllCommandTable&) = delete;
  DllCommandTable& operator=(const DllCommandTable&) = delete;

  // The function of entry `index`, loading its library on the first call. Ends the program through
  // the fatal report when the library or the export cannot be found.
  void* Resolve(size_t index);
  // Releases every loaded module; the entries start empty again.
  void ReleaseAll();

 private:
  struct Entry {
    DllCommand command;
    void* function = nullptr;
    LibraryLoader::Module module = nullptr;
  };
  LibraryLoader::Module LoadLibraryOf(const DllCommand& command);

  LibraryLoader& loader_;
  std::string directory_;
  std::string directoryWithBackslash_;
  std::vector<Entry> entries_;
};

// Calls entry `index` with two text arguments, the Windows API convention (callee removes the
// arguments). On 32-bit Windows a stack that is not where it was after the call is fatal:
// "调用DLL命令后发现堆栈错误", code 6.
int32_t CallDllCommand(DllCommandTable& table, size_t index, const char* first, const char* second);

}  // namespace zuzar
