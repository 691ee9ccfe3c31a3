#pragma once
// The application object's platform on Windows: the main window, OLE, the file registry, the
// message queue and the process.

#include <memory>

#include "app/application.h"
#include "ui/main_window.h"

namespace zuzar {

class SystemApplicationPlatform final : public ApplicationPlatform {
 public:
  // `window` is the program's slot for its main window; releasing the windows empties it.
  explicit SystemApplicationPlatform(std::unique_ptr<MainWindow>& window) : window_(window) {}

  // OLE for this thread, undone by UninitializeOle when it succeeded.
  void InitializeOle();

  void ReleaseWindows() override;
  void ReleaseFrameworkResources() override;
  void CloseAllFiles() override;
  void UninitializeOle() override;
  void PostQuit(int32_t exitCode) override;
  void ShowErrorBox(const std::string& text) override;
  [[noreturn]] void EndProcess(int32_t exitCode) override;

 private:
  std::unique_ptr<MainWindow>& window_;
  bool oleInitialized_ = false;
};

}  // namespace zuzar
