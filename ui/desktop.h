#pragma once
// The desktop outside the main window: a modal message box, a pause of the UI thread and handing a
// web address to the shell. The operations keep their logic here (flag word, caption, result codes,
// clamping); the platform calls under them come through DesktopCalls, so that tests can answer the
// box and skip the pauses.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zuzar {

// The fan forum. We have no real forum, so the address lies under the reserved .example domain.
constexpr char kForumAddress[] = "https://norvik-fans.example/forum/";

// The caption of a message box whose title is omitted.
constexpr std::string_view kDefaultMessageBoxTitle = "信息：";

// The title of the window whose handle serves as the parent of the shell call.
constexpr char kBrowserWindowTitle[] = "Microsoft Internet Explorer";

class DesktopCalls {
 public:
  virtual ~DesktopCalls() = default;
  // MessageBoxA with no owner window: the Windows identifier of the pressed button (IDOK 1 ..
  // IDNO 7), 0 when no box could be shown.
  virtual int32_t MessageBoxCall(const char* text, const char* caption, uint32_t flags) = 0;
  // Sleep: suspends the thread without dispatching window messages.
  virtual void SleepCall(uint32_t milliseconds) = 0;
  // FindWindowExA(no parent, no child, no class, title): a top-level window, or null.
  virtual void* FindTopLevelWindow(const char* title) = 0;
  // ShellExecuteA(parent, "open", address, no parameters, no directory, SW_SHOWNORMAL); returns
  // at once, the result unexamined.
  virtual void ShellOpen(void* parent, const char* address) = 0;
};

// The platform's calls: Windows, or quiet stand-ins in the native build (the box answers 0, the
// shell opens nothing, the pause is a plain sleep).
DesktopCalls& SystemDesktop();

// The flag word handed to MessageBoxA: task-modal unless the caller asked for system-modal.
uint32_t MessageBoxFlagWord(int32_t flags);
// The caption: the title when one is given, "信息：" otherwise.
std::string_view MessageBoxCaption(std::optional<std::string_view> title);
// The pressed button counted from 0 in the order of the Windows identifiers (OK 0 .. No 6); any
// other value, 0 included, gives 0.
int32_t MessageBoxResult(int32_t windowsResult);
// Negative pauses become 0, which Sleep takes as "give up the rest of the time slice"; passed on,
// -1 would read as INFINITE.
uint32_t SleepDuration(int32_t milliseconds);

// Asks in a modal box; a message or title that is a null Text shows as empty. Yes gives 5, No 6.
int32_t ShowMessageBox(DesktopCalls& desktop, std::string_view message, int32_t flags = 0,
                       std::optional<std::string_view> title = std::nullopt);
void SleepMs(DesktopCalls& desktop, int32_t milliseconds);
// Hands the address to the shell's "open" action; failures are silent. Without an address it opens
// the forum.
void OpenWebAddress(DesktopCalls& desktop, std::optional<std::string_view> address = std::nullopt);

// The same on the system's desktop.
int32_t ShowMessageBox(std::string_view message, int32_t flags = 0,
                       std::optional<std::string_view> title = std::nullopt);
void SleepMs(int32_t milliseconds);
void OpenWebAddress(std::optional<std::string_view> address = std::nullopt);

}  // namespace zuzar
