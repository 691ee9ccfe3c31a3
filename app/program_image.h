#pragma once
// What the program reads from its own executable file.

#include <string>

#include "ui/main_window.h"

namespace zuzar {

// The full path of the running executable (GetModuleFileNameA).
std::string ExecutablePath();

// The program's icon file, stored byte for byte as a resource of the executable; empty when missing.
IconFileBytes ProgramIconFile();

}  // namespace zuzar
