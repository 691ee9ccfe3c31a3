#pragma once
// The engine's hold on single windows: a subclass per window that the skin draws, with the state
// that painting needs (hot, pressed, active), released with the window.

#include <windows.h>

#include <memory>

#include "skin/skin_resources_win32.h"

namespace zuzar::skin {

// Takes a window over when it is of a kind the engine draws, or moves a window it already holds to
// the given skin. Windows of other kinds are left alone. Returns whether the window is skinned.
bool SkinWindow(HWND window, const std::shared_ptr<const SkinResources>& resources);

}  // namespace zuzar::skin
