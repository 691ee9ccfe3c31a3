#include "app/dll_command_table.h"

#include <utility>

#include "text/fatal.h"

namespace zuzar {

std::vector<DllCommand> ProgramDllCommands() {
  return {DllCommand{"jedata.dll", "SkinH_AttachEx"}};
}

std::vector<std::string> LibrarySearchPaths(std::string_view name, std::string_view directory,
                                            std::string_view directoryWithBackslash) {
  std::vector<std::string> paths;
  if (name.find(':') == std::string_view::npos) {
    paths.push_back(std::string(directory) + "\\" + std::string(name));
    paths.push_back(std::string(directoryWithBackslash) + std::string(name));
  }
  paths.emplace_back(name);
  return paths;
}

std::string MissingDllCommandMessage(const DllCommand& command) {
  return "无法找到指定DLL库文件“" + std::string(command.library) + "”中的输出命令“" +
         std::string(command.exportName) + "”";
}

DllCommandTable::DllCommandTable(LibraryLoader& loader, std::string directory,
                                 std::string directoryWithBackslash, std::vector<DllCommand> commands)
    : loader_(loader),
      directory_(std::move(directory)),
      directoryWithBackslash_(std::move(directoryWithBackslash)) {
  for (const DllCommand& command : commands) entries_.push_back(Entry{command});
}

DllCommandTable::~DllCommandTable() { ReleaseAll(); }

LibraryLoader::Module DllCommandTable::LoadLibraryOf(const DllCommand& command) {
  for (const std::string& path : LibrarySearchPaths(command.library, directory_, directoryWithBackslash_)) {
    if (LibraryLoader::Module module = loader_.Load(path)) return module;
  }
  return nullptr;
}

void* DllCommandTable::Resolve(size_t index) {
  Entry& entry = entries_.at(index);
  if (entry.function) return entry.function;

  LibraryLoader::Module module = LoadLibraryOf(entry.command);
  void* function = module ? loader_.FindExport(module, std::string(entry.command.exportName)) : nullptr;
  if (!function) {
    if (module) loader_.Release(module);
    ReportFatal(MissingDllCommandMessage(entry.command), 0);
  }
  entry.function = function;
  entry.module = module;
  return function;
}

void DllCommandTable::ReleaseAll() {
  for (Entry& entry : entries_) {
    LibraryLoader::Module module = std::exchange(entry.module, nullptr);
    entry.function = nullptr;
    if (module) loader_.Release(module);
  }
}

}  // namespace zuzar
