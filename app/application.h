#pragma once
// The application object: the end routine, the state of the message loop, the end-of-run clean-up
// and the fatal error box. The platform's part sits behind ApplicationPlatform so the order of the
// clean-up and the fatal path can be followed without ending the process.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/dll_command_table.h"
#include "ui/events.h"

namespace zuzar {

class ApplicationPlatform {
 public:
  virtual ~ApplicationPlatform() = default;
  // The program's windows and their records (the main window, when it still exists).
  virtual void ReleaseWindows() = 0;
  // What the window framework keeps beside the windows (icons and the like).
  virtual void ReleaseFrameworkResources() = 0;
  // Every file still open in the file registry, errors ignored.
  virtual void CloseAllFiles() = 0;
  virtual void UninitializeOle() = 0;
  virtual void PostQuit(int32_t exitCode) = 0;
  // A message box with no owner, the title "错误", the error icon and OK; returns when it is closed.
  virtual void ShowErrorBox(const std::string& text) = 0;
  [[noreturn]] virtual void EndProcess(int32_t exitCode) = 0;
};

using EndRoutine = void (*)();

// "运行时出错!\r\n\r\n", then "错误代码：" code "\r\n\r\n" when the code is not 0, then
// "错误信息：" message "\r\n" when there is a message.
std::string BuildRuntimeErrorText(std::string_view message, int32_t code);

class Application {
 public:
  Application(ApplicationPlatform& platform, EventDispatcher& events, DllCommandTable& dllCommands);

  void RegisterEndRoutine(EndRoutine routine) { endRoutine_ = routine; }
  void UnregisterEndRoutine() { endRoutine_ = nullptr; }

  // From here on the destruction of the last window ends the message loop.
  void MarkLoopRunning() { loopRunning_ = true; }
  // Called whenever a window of the program has been destroyed.
  void OnWindowDestroyed(int32_t windowsLeft);

  // In order: windows, end routine (when registered), libraries, framework resources, open files,
  // OLE. Runs once; a second call (a fatal error inside the clean-up) does nothing.
  void CleanUp();

  // The report of every unrecoverable error: shows the box while events are blocked, then cleans up
  // without the end routine and ends the process with -1.
  [[noreturn]] void RuntimeErrorBox(std::string_view message, int32_t code);

 private:
  ApplicationPlatform& platform_;
  EventDispatcher& events_;
  DllCommandTable& dllCommands_;
  EndRoutine endRoutine_ = nullptr;
  bool loopRunning_ = false;
  bool cleanUpUnderWay_ = false;
};

// Makes `application` the receiver of ReportFatal (the fatal reporter of the lower layers); null
// puts the previous state back. The application must outlive its installation.
void InstallRuntimeErrorBox(Application* application);

}  // namespace zuzar
