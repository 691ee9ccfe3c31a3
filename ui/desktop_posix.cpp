#include <chrono>
#include <cstdio>
#include <thread>

#include "ui/desktop.h"

namespace zuzar {

namespace {

// No desktop natively: the box is written to stderr and counts as not shown, the shell call is
// reported and does nothing.
class PosixDesktop final : public DesktopCalls {
 public:
  int32_t MessageBoxCall(const char* text, const char* caption, uint32_t flags) override {
    std::fprintf(stderr, "[message box 0x%x] %s: %s\n", static_cast<unsigned>(flags), caption, text);
    return 0;
  }
  void SleepCall(uint32_t milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  void* FindTopLevelWindow(const char* /*title*/) override { return nullptr; }
  void ShellOpen(void* /*parent*/, const char* address) override {
    std::fprintf(stderr, "[open] %s\n", address);
  }
};

}  // namespace

DesktopCalls& SystemDesktop() {
  static PosixDesktop desktop;
  return desktop;
}

}  // namespace zuzar
