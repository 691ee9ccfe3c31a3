#pragma once
// Small pieces shared by the handlers.

#include <string_view>

#include "ui/controls.h"

namespace zuzar {

// Closes a time-stamped entry: a line end, a rule of 19 em dashes, and an empty line after it.
constexpr std::string_view kEntryRule = "\r\n———————————————————\r\n\r\n";

inline void SetDisabled(Controls& controls, ControlId control, bool disabled) {
  controls.SetProperty(control, Property::Disabled, disabled);
}

}  // namespace zuzar
