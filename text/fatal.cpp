#include "text/fatal.h"

#include <cstdio>
#include <cstdlib>

namespace zuzar {
namespace {

// The one piece of process-wide state below the window: who is told about a fatal error.
FatalReporter installedReporter = nullptr;

[[noreturn]] void WriteToStderrAndAbort(std::string_view message, int32_t code) {
  std::fprintf(stderr, "%.*s (%d)\n", static_cast<int>(message.size()), message.data(),
               static_cast<int>(code));
  std::fflush(stderr);
  std::abort();
}

}  // namespace

FatalReporter SetFatalReporter(FatalReporter reporter) {
  const FatalReporter previous = installedReporter;
  installedReporter = reporter;
  return previous;
}

void ReportFatal(std::string_view message, int32_t code) {
  if (installedReporter) {
    installedReporter(message, code);
    // A reporter must not return; if one does, the program cannot go on either.
    std::abort();
  }
  WriteToStderrAndAbort(message, code);
}

void ReportOutOfMemory(int64_t bytes) {
  // A fixed buffer: memory has just run out, so building the message must not allocate.
  char message[64];
  const int length = std::snprintf(message, sizeof message, "分配 %lld 字节内存失败!",
                                   static_cast<long long>(bytes));
  ReportFatal(std::string_view(message, length > 0 ? static_cast<size_t>(length) : 0), 0);
}

}  // namespace zuzar
