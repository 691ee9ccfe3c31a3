#pragma once
// The thread's message loop.

#include <cstdint>

namespace zuzar {

// Runs until the quit message arrives and gives its exit code. The window's controls handle Tab,
// Esc and Enter themselves, so no message is filtered here.
int32_t RunMessageLoop();

}  // namespace zuzar
