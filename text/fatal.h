#pragma once
// The one way an unrecoverable error leaves the layers below the window: a replaceable report hook.
// The program installs the error box; tests install a reporter that records and throws.

#include <cstdint>
#include <string_view>

namespace zuzar {

// Must not return: it ends the process (or, in tests, throws).
using FatalReporter = void (*)(std::string_view message, int32_t code);

// Installs a reporter and returns the one it replaces (null: the built-in one, which aborts).
FatalReporter SetFatalReporter(FatalReporter reporter);

// Hands message and code to the installed reporter; aborts should it return.
[[noreturn]] void ReportFatal(std::string_view message, int32_t code);

// "分配 %d 字节内存失败!" with the number of bytes asked for, code 0.
[[noreturn]] void ReportOutOfMemory(int64_t bytes);

}  // namespace zuzar
