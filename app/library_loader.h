#pragma once
// The platform's own LibraryLoader.

#include <memory>

#include "app/dll_command_table.h"

namespace zuzar {

// LoadLibraryA, GetProcAddress and FreeLibrary (Windows only).
std::unique_ptr<LibraryLoader> MakeSystemLibraryLoader();

}  // namespace zuzar
