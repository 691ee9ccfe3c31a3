#pragma once
// The allocation behind every Text block, kept apart so that its limits can be tested directly.

#include <cstdint>

namespace zuzar {

// A malloc block of `bytes` (1 or more) bytes; never null. Positions and lengths are 32-bit, so a
// request above INT32_MAX is refused like a failed allocation: both call ReportOutOfMemory(bytes).
char* AllocateTextBlock(int64_t bytes);

}  // namespace zuzar
