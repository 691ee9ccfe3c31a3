#pragma once
// What the workflow handlers reach besides files and texts: the window's controls and a few desktop
// services. The services are injected so that the handlers run unchanged over the in-memory
// controls, with a clock, pauses and randomness that tests can fix.

#include <cstdint>
#include <functional>
#include <string_view>

#include "text/format.h"
#include "ui/controls.h"

namespace zuzar {

struct Workbench {
  Controls& controls;
  // The modal message box: message, flags, title; the pressed button's code (Yes is 5).
  std::function<int32_t(std::string_view message, int32_t flags, std::string_view title)> showMessageBox;
  // A plain pause of the thread: no message is retrieved meanwhile.
  std::function<void(int32_t milliseconds)> sleepMs;
  std::function<void(std::string_view address)> openWebAddress;
  std::function<DateTime()> getNow;
  // Lets pending repaints of the window through, and nothing else, during a long overwrite.
  std::function<void()> dispatchPaint;
  // Uniformly distributed 32-bit values, for the names a removed file passes through.
  std::function<uint32_t()> nextRandom;
};

// The desktop's own services: the ui layer's message box, pause and web address, the clock, the
// paint dispatch of the platform and a randomly seeded generator.
Workbench MakeDesktopWorkbench(Controls& controls);

}  // namespace zuzar
