#include "ui/desktop.h"

#include <algorithm>
#include <string>

namespace zuzar {

namespace {

constexpr int32_t kSystemModal = 0x1000;
constexpr int32_t kTaskModal = 0x2000;
constexpr int32_t kLastKnownButton = 7;  // IDNO

// The platform takes NUL-terminated texts; a text ends at its first NUL anyway.
std::string Terminated(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

}  // namespace

uint32_t MessageBoxFlagWord(int32_t flags) {
  const int32_t word = (flags & kSystemModal) != 0 ? flags : flags | kTaskModal;
  return static_cast<uint32_t>(word);
}

std::string_view MessageBoxCaption(std::optional<std::string_view> title) {
  return title ? *title : kDefaultMessageBoxTitle;
}

int32_t MessageBoxResult(int32_t windowsResult) {
  if (windowsResult < 1 || windowsResult > kLastKnownButton) return 0;
  return windowsResult - 1;
}

uint32_t SleepDuration(int32_t milliseconds) { return static_cast<uint32_t>(std::max(milliseconds, 0)); }

int32_t ShowMessageBox(DesktopCalls& desktop, std::string_view message, int32_t flags,
                       std::optional<std::string_view> title) {
  const std::string text = Terminated(message);
  const std::string caption = Terminated(MessageBoxCaption(title));
  return MessageBoxResult(desktop.MessageBoxCall(text.c_str(), caption.c_str(), MessageBoxFlagWord(flags)));
}

void SleepMs(DesktopCalls& desktop, int32_t milliseconds) { desktop.SleepCall(SleepDuration(milliseconds)); }

void OpenWebAddress(DesktopCalls& desktop, std::optional<std::string_view> address) {
  // The window found serves only as the parent of the shell call; usually there is none.
  void* parent = desktop.FindTopLevelWindow(kBrowserWindowTitle);
  desktop.ShellOpen(parent, Terminated(address.value_or(kForumAddress)).c_str());
}

int32_t ShowMessageBox(std::string_view message, int32_t flags, std::optional<std::string_view> title) {
  return ShowMessageBox(SystemDesktop(), message, flags, title);
}

void SleepMs(int32_t milliseconds) { SleepMs(SystemDesktop(), milliseconds); }

void OpenWebAddress(std::optional<std::string_view> address) { OpenWebAddress(SystemDesktop(), address); }

}  // namespace zuzar
