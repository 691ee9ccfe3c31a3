#pragma once
// A look at the icons of the running program from inside its own thread: Wine cannot carry
// WM_GETICON between processes. The driver hooks the program's GUI thread with the probe library
// (WH_GETMESSAGE), posts kIconProbeMessageName to the main window, and the hook, running in the
// program, asks the window for its icons, draws them and leaves the result in a shared block.

#include <windows.h>

#include <cstdint>
#include <string>

namespace zuzar::e2e {

constexpr char kIconProbeMessageName[] = "ZuzarE2eIconProbe";
constexpr char kIconProbeHookName[] = "IconProbeHook";
// Drawn under the icons, so that transparent pixels can be told apart.
constexpr uint32_t kIconProbeBackground = 0x00FF00FF;

struct IconProbeResult {
  volatile LONG done;  // 1 once everything below is filled
  int32_t bigWidth;
  int32_t bigHeight;
  int32_t smallWidth;
  int32_t smallHeight;
  uint32_t bigPixels[32 * 32];  // 0x00RRGGBB, top row first, drawn at 32 × 32
  uint32_t smallPixels[16 * 16];
};

// The shared block of one driver process, named by its id (the message carries it as wParam).
inline std::string IconProbeBlockName(DWORD driverProcessId) {
  return "Local\\ZuzarE2eIconProbe-" + std::to_string(driverProcessId);
}

}  // namespace zuzar::e2e
