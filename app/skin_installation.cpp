#include "app/skin_installation.h"

namespace zuzar {

void OnMainWindowCreated(DllCommandTable& /*dllCommands*/) {}

}  // namespace zuzar
