#include "app/dll_command_table.h"

namespace zuzar {

// Natively a table entry is a plain function of the test's own; there is no stack convention to
// check.
int32_t CallDllCommand(DllCommandTable& table, size_t index, const char* first, const char* second) {
  using Function = int32_t (*)(const char*, const char*);
  return reinterpret_cast<Function>(table.Resolve(index))(first, second);
}

}  // namespace zuzar
