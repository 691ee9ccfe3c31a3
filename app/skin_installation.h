#pragma once
// The created event of the main window: it runs inside the window load, after the window and its
// controls exist and before the window is first shown.

#include "app/dll_command_table.h"

namespace zuzar {

void OnMainWindowCreated(DllCommandTable& dllCommands);

}  // namespace zuzar
