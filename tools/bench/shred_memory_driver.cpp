// Peak memory of zuzar.exe while it shreds a file through its window, against its peak while it
// idles with the file held: shred_memory_driver WINDOWS_PATH
// Runs under Wine as root. The program's Unix process is found under /proc (drive Z:) by its command
// line and Wine prefix. Its peak resident size (VmHWM) is reset through clear_refs before the rest
// and before the run, so that each peak belongs to that phase alone. Prints one line for
// tools/bench/shred_bench.sh: "start_peak_kib=S idle_peak_kib=I shred_peak_kib=P", the peak from the
// start until the window has settled, the peak over a second of rest with the file held, and the
// peak from Start to the end of the run.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/zuzar_session.h"

namespace zuzar::e2e {
namespace {

constexpr DWORD kIdleMs = 1000;
constexpr DWORD kRunDeadlineMs = 600000;

std::string ReadAll(const std::string& path) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  std::string content;
  if (!file) return content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
  return content;
}

// Proc files are read as a whole; a path in them is followed by NULs.
bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::string FindUnixProcess(const std::string& programCopy) {
  const char* prefix = std::getenv("WINEPREFIX");
  if (!prefix) throw SessionFailure("WINEPREFIX is not set");
  const std::string ourPrefix = std::string("WINEPREFIX=") + prefix + '\0';
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) throw SessionFailure("cannot list Z:\\proc");
  std::string match;
  do {
    const std::string name = found.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string folder = "Z:\\proc\\" + name;
    if (!StartsWith(ReadAll(folder + "\\cmdline"), programCopy + '\0')) continue;
    if (ReadAll(folder + "\\environ").find(ourPrefix) == std::string::npos) continue;
    match = folder;
  } while (match.empty() && FindNextFileA(search, &found));
  FindClose(search);
  if (match.empty()) throw SessionFailure("no Unix process runs " + programCopy);
  return match;
}

long StatusKib(const std::string& process, const char* field) {
  const std::string status = ReadAll(process + "\\status");
  const size_t at = status.find(std::string(field) + ":");
  if (at == std::string::npos) throw SessionFailure(std::string("no ") + field + " in " + process + "\\status");
  return std::strtol(status.c_str() + at + std::char_traits<char>::length(field) + 1, nullptr, 10);
}

// Writing 5 to clear_refs sets the peak resident size back to the current one.
void ResetPeak(const std::string& process) {
  const std::string path = process + "\\clear_refs";
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  DWORD written = 0;
  if (!file || !WriteFile(file.get(), "5", 1, &written, nullptr) || written != 1) {
    throw SessionFailure("cannot reset the peak through " + path + " (root needed)");
  }
}

void OpenAndHold(const ZuzarSession& session, const std::string& path) {
  session.Click(ControlId::按钮1);
  session.ChooseFileInOpenDialog(session.WaitForDialog(), path);
  session.WaitUntilNoDialog();
  WaitUntil(10000, "the file to be held", [&] { return session.IsEnabled(ControlId::按钮2); });
}

void ShredHeldFile(const ZuzarSession& session) {
  session.Click(ControlId::按钮2);
  session.AnswerMessageBox(session.WaitForDialog(), IDYES);
  session.WaitUntilNoDialog();
  // The last step of a run empties the path box.
  WaitUntil(kRunDeadlineMs, "the end of the run", [&] { return session.Text(ControlId::编辑框1).empty(); });
}

int Measure(const std::string& path) {
  ZuzarSession session;
  const std::string process = FindUnixProcess(session.ProgramCopy());
  Sleep(kIdleMs);
  const long startPeak = StatusKib(process, "VmHWM");
  OpenAndHold(session, path);

  ResetPeak(process);
  Sleep(kIdleMs);
  const long idlePeak = StatusKib(process, "VmHWM");

  ResetPeak(process);
  ShredHeldFile(session);
  const long shredPeak = StatusKib(process, "VmHWM");
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) throw SessionFailure(path + " is still there");

  std::printf("start_peak_kib=%ld idle_peak_kib=%ld shred_peak_kib=%ld\n", startPeak, idlePeak, shredPeak);
  return 0;
}

}  // namespace
}  // namespace zuzar::e2e

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: shred_memory_driver WINDOWS_PATH\n");
    return 2;
  }
  try {
    return zuzar::e2e::Measure(argv[1]);
  } catch (const zuzar::e2e::SessionFailure& failure) {
    std::fprintf(stderr, "shred_memory_driver: %s\n", failure.what());
    return 1;
  }
}
