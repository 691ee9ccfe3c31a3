#pragma once
// How the main window's native windows can be found from outside the window code, for instance by
// a test that drives the running program: class names, title and the child window identifiers
// (GetDlgItem(mainWindow, NativeControlId(ControlId::按钮1))). No Windows header is needed.

#include <cstdint>

#include "ui/controls.h"

namespace zuzar {

constexpr char kMainWindowClassName[] = "ZuzarMainWindow";
constexpr char kLabelClassName[] = "ZuzarLabel";
constexpr char kMainWindowTitle[] = "zuzar";

// The identifier (GWLP_ID) of a control's child window. The open-file dialog has no window of its
// own; its identifier is never found.
constexpr int32_t NativeControlId(ControlId id) { return 1000 + static_cast<int32_t>(id); }

}  // namespace zuzar
