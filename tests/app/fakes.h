#pragma once
// Fakes of the platform below the application object: they record what is asked of them, and the
// end of the process becomes an exception that a test can catch.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/application.h"
#include "app/dll_command_table.h"
#include "text/fatal.h"
#include "ui/events.h"

namespace zuzar::testing {

// What ReportFatal or EndProcess carried when the program would have ended.
struct ProgramEnded {
  std::string message;
  int32_t code;
};

// While it lives, a fatal report throws ProgramEnded instead of ending the process.
class FatalReportThrows {
 public:
  FatalReportThrows() : previous_(SetFatalReporter(&Throw)) {}
  ~FatalReportThrows() { SetFatalReporter(previous_); }
  FatalReportThrows(const FatalReportThrows&) = delete;
  FatalReportThrows& operator=(const FatalReportThrows&) = delete;

 private:
  [[noreturn]] static void Throw(std::string_view message, int32_t code) {
    throw ProgramEnded{std::string(message), code};
  }
  FatalReporter previous_;
};

// Libraries exist at the paths given to it; each load hands out a new module number.
class FakeLibraryLoader final : public LibraryLoader {
 public:
  // The library at `path` exports `exports`, each as the function address given.
  void AddLibrary(const std::string& path, std::map<std::string, void*> exports) { libraries_[path] = exports; }

  Module Load(const std::string& path) override {
    calls.push_back("load " + path);
    auto found = libraries_.find(path);
    if (found == libraries_.end()) return nullptr;
    const uintptr_t module = nextModule_++;
    loaded_[module] = path;
    return reinterpret_cast<Module>(module);
  }

  void* FindExport(Module module, const std::string& exportName) override {
    const std::string& path = loaded_.at(reinterpret_cast<uintptr_t>(module));
    calls.push_back("find " + exportName + " in " + path);
    const auto& exports = libraries_.at(path);
    auto found = exports.find(exportName);
    return found == exports.end() ? nullptr : found->second;
  }

  void Release(Module module) override {
    const uintptr_t number = reinterpret_cast<uintptr_t>(module);
    calls.push_back("release " + loaded_.at(number));
    loaded_.erase(number);
  }

  size_t StillLoaded() const { return loaded_.size(); }

  std::vector<std::string> calls;

 private:
  std::map<std::string, std::map<std::string, void*>> libraries_;
  std::map<uintptr_t, std::string> loaded_;
  uintptr_t nextModule_ = 0x1000;
};

class FakeApplicationPlatform final : public ApplicationPlatform {
 public:
  explicit FakeApplicationPlatform(const EventDispatcher& events) : events_(events) {}

  void ReleaseWindows() override { steps.push_back("windows"); }
  void ReleaseFrameworkResources() override { steps.push_back("framework resources"); }
  void CloseAllFiles() override { steps.push_back("files"); }
  void UninitializeOle() override { steps.push_back("ole"); }
  void PostQuit(int32_t exitCode) override { steps.push_back("quit " + std::to_string(exitCode)); }
  void ShowErrorBox(const std::string& text) override {
    steps.push_back("error box");
    boxTexts.push_back(text);
    blockCountWhileBoxOpen = events_.BlockCount();
  }
  [[noreturn]] void EndProcess(int32_t exitCode) override {
    steps.push_back("exit " + std::to_string(exitCode));
    throw ProgramEnded{"", exitCode};
  }

  std::vector<std::string> steps;
  std::vector<std::string> boxTexts;
  int32_t blockCountWhileBoxOpen = -1;

 private:
  const EventDispatcher& events_;
};

}  // namespace zuzar::testing
