#include "shredder/workbench.h"

#include <random>

#include "shredder/paint_pump.h"
#include "ui/desktop.h"

namespace zuzar {

Workbench MakeDesktopWorkbench(Controls& controls) {
  // Random names only hide what a file was called; they need no cryptographic strength.
  std::mt19937 generator(std::random_device{}());
  return Workbench{
      controls,
      [](std::string_view message, int32_t flags, std::string_view title) {
        return ShowMessageBox(message, flags, title);
      },
      [](int32_t milliseconds) { SleepMs(milliseconds); },
      [](std::string_view address) { OpenWebAddress(address); },
      [] { return GetNow(); },
      [] { DispatchPaintMessages(); },
      [generator]() mutable { return static_cast<uint32_t>(generator()); },
  };
}

}  // namespace zuzar
