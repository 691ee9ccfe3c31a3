#include <windows.h>

#include <cstdint>

#include "app/dll_command_table.h"
#include "text/fatal.h"

namespace zuzar {
namespace {

#if defined(__i386__)
// Pushes the two arguments and calls `function`, keeping the stack pointer from before the pushes
// in ESI (callee-saved, so the call cannot change it) and reading it again after the return. A
// function that removed the wrong number of argument bytes leaves ESP elsewhere; the stack is put
// back either way so that the error box can still run.
int32_t CallWithStackCheck(void* function, const char* first, const char* second) {
  const char* arguments[2] = {first, second};
  int32_t result;
  uintptr_t before;
  uintptr_t after;
  asm volatile(
      "movl %%esp, %%esi\n\t"
      "pushl 4(%[arguments])\n\t"
      "pushl (%[arguments])\n\t"
      "call *%[function]\n\t"
      "movl %%esp, %%edi\n\t"
      "movl %%esi, %%esp\n\t"
      : "=a"(result), "=&S"(before), "=&D"(after)
      : [function] "r"(function), [arguments] "r"(arguments)
      : "ecx", "edx", "memory", "cc");
  if (before != after) ReportFatal("调用DLL命令后发现堆栈错误", 6);
  return result;
}
#else
// x64 Windows has a single calling convention in which the caller owns the argument area and
// restores it itself, so a callee cannot unbalance the stack: there is nothing to check.
int32_t CallWithStackCheck(void* function, const char* first, const char* second) {
  using Function = int32_t(WINAPI*)(const char*, const char*);
  return reinterpret_cast<Function>(function)(first, second);
}
#endif

}  // namespace

int32_t CallDllCommand(DllCommandTable& table, size_t index, const char* first, const char* second) {
  return CallWithStackCheck(table.Resolve(index), first, second);
}

}  // namespace zuzar
