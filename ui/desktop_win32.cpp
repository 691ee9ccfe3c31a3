#include <windows.h>
#include <shellapi.h>

#include "ui/desktop.h"

namespace zuzar {

namespace {

class Win32Desktop final : public DesktopCalls {
 public:
  int32_t MessageBoxCall(const char* text, const char* caption, uint32_t flags) override {
    return MessageBoxA(nullptr, text, caption, flags);
  }
  void SleepCall(uint32_t milliseconds) override { Sleep(milliseconds); }
  void* FindTopLevelWindow(const char* title) override {
    return FindWindowExA(nullptr, nullptr, nullptr, title);
  }
  void ShellOpen(void* parent, const char* address) override {
    ShellExecuteA(static_cast<HWND>(parent), "open", address, nullptr, nullptr, SW_SHOWNORMAL);
  }
};

}  // namespace

DesktopCalls& SystemDesktop() {
  static Win32Desktop desktop;
  return desktop;
}

}  // namespace zuzar
