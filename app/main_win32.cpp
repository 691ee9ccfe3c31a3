#include <windows.h>

#include <memory>
#include <optional>

#include "app/application.h"
#include "app/dll_command_table.h"
#include "app/library_loader.h"
#include "app/main_bindings.h"
#include "app/message_loop.h"
#include "app/program_image.h"
#include "app/program_path.h"
#include "app/system_platform.h"
#include "shredder/workbench.h"
#include "ui/main_window.h"

namespace zuzar {
namespace {

// The program's end routine: nothing is left to do at a normal end beyond the clean-up itself.
void ProgramEndRoutine() {}

// Makes the program directory current before anything else runs, so that everything written at
// start lands beside the executable whatever directory the program was started from. A drive root
// ("C:") is passed with its backslash: "C:" alone would name that drive's current directory.
void EnterProgramDirectory(const ProgramPath& path) {
  const std::string& directory = path.directory.empty() || path.directory.back() != ':'
                                     ? path.directory
                                     : path.directoryWithBackslash;
  SetCurrentDirectoryA(directory.c_str());
}

// Loads and shows the main window and runs the loop while it exists; the quit code. The handlers'
// workbench is made once the loaded window is there.
int32_t ProgramMain(Application& application, DllCommandTable& dllCommands, EventDispatcher& events,
                    std::unique_ptr<MainWindow>& window, std::optional<Workbench>& bench) {
  application.RegisterEndRoutine(&ProgramEndRoutine);
  MainWindowHooks hooks;
  hooks.onDestroyed = [&application] { application.OnWindowDestroyed(0); };
  window = LoadMainWindow(events, ProgramHandlerBindings(dllCommands, bench), ProgramIconFile(), hooks);
  bench.emplace(MakeDesktopWorkbench(*window));
  application.MarkLoopRunning();
  return window->Exists() ? RunMessageLoop() : 0;
}

int32_t RunProgram() {
  const ProgramPath path = SplitProgramPath(ExecutablePath());
  EnterProgramDirectory(path);

  std::unique_ptr<LibraryLoader> loader = MakeSystemLibraryLoader();
  DllCommandTable dllCommands(*loader, path.directory, path.directoryWithBackslash, ProgramDllCommands());
  EventDispatcher events;
  std::unique_ptr<MainWindow> window;
  std::optional<Workbench> bench;  // bound into the event tables, so it lives as long as they do
  SystemApplicationPlatform platform(window);
  Application application(platform, events, dllCommands);
  InstallRuntimeErrorBox(&application);
  platform.InitializeOle();

  const int32_t exitCode = ProgramMain(application, dllCommands, events, window, bench);
  application.CleanUp();
  InstallRuntimeErrorBox(nullptr);
  return exitCode;
}

}  // namespace
}  // namespace zuzar

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return zuzar::RunProgram(); }
