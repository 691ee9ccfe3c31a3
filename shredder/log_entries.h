#pragma once
// Pieces of the log shared by the handlers.

#include <string_view>

namespace zuzar {

// Closes a time-stamped entry: a line end, a rule of 19 em dashes, and an empty line after it.
constexpr std::string_view kEntryRule = "\r\n———————————————————\r\n\r\n";

}  // namespace zuzar
