#include "shredder/paint_pump.h"

#include <windows.h>

namespace zuzar {

namespace {
// WM_PAINT is never queued: the system makes one whenever a window has an invalid region. A window
// procedure that does not validate would be handed it forever, hence the bound.
constexpr int kMaxPaintsPerCall = 64;
}  // namespace

void DispatchPaintMessages() {
  MSG message;
  for (int i = 0; i < kMaxPaintsPerCall; ++i) {
    if (!PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) return;
    DispatchMessageA(&message);
  }
}

}  // namespace zuzar
