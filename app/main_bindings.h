#pragma once
// Which function of the program runs for which event of the main window: the one place where the
// layout's handler roles meet the handlers.

#include <optional>

#include "app/dll_command_table.h"
#include "shredder/workbench.h"
#include "ui/layout.h"

namespace zuzar {

// The workflow handlers work on `bench`, which the program fills once the window load has returned
// (only the created event runs inside the load); until then their events do nothing.
HandlerBindings ProgramHandlerBindings(DllCommandTable& dllCommands, const std::optional<Workbench>& bench);

}  // namespace zuzar
