#include <windows.h>
#include <ole2.h>

#include "app/system_platform.h"
#include "fileio/file_numbers.h"

namespace zuzar {

void SystemApplicationPlatform::InitializeOle() { oleInitialized_ = SUCCEEDED(OleInitialize(nullptr)); }

// Destroys the main window if it still exists; the window object owns its icons and font.
void SystemApplicationPlatform::ReleaseWindows() { window_.reset(); }

// The window framework keeps nothing of its own beside the window: no hidden message window, no
// shared icons. Kept as a step so the clean-up reads in its order.
void SystemApplicationPlatform::ReleaseFrameworkResources() {}

void SystemApplicationPlatform::CloseAllFiles() { zuzar::CloseAllFiles(); }

void SystemApplicationPlatform::UninitializeOle() {
  if (oleInitialized_) OleUninitialize();
  oleInitialized_ = false;
}

void SystemApplicationPlatform::PostQuit(int32_t exitCode) { PostQuitMessage(exitCode); }

void SystemApplicationPlatform::ShowErrorBox(const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), "错误", MB_ICONERROR);
}

void SystemApplicationPlatform::EndProcess(int32_t exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

}  // namespace zuzar
