#pragma once
// Drives a running zuzar.exe from another Windows process, the way a user would, with window
// messages only. Each session starts its own copy of the program in a fresh temporary folder and
// ends it (killing it if need be) when it goes. Every wait has a deadline; a wait that runs out, or
// a window that cannot be found, throws SessionFailure, which fails the test that called it.
//
// Rules that keep a driver from hanging under Wine: a click that opens a modal window is posted,
// never sent; a message sent to the program (WM_GETTEXT) is sent from a helper thread with a
// deadline of our own, because a program that sleeps or is stuck would block the sender.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/icon_probe.h"
#include "ui/controls.h"

namespace zuzar::e2e {

struct SessionFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The zuzar.exe of this build (a path as the build knows it; the copy is made from it).
std::string BuiltProgramPath();
// The probe library that looks at the window's icons from inside the program.
std::string IconProbeLibraryPath();
// A folder of the build tree where tests leave screenshots and other files to look at.
std::string ArtifactFolder();
// A path of the build tree (a Unix path as the build knows it) as this Windows process reaches it.
std::string BuildTreePath(const std::string& path);
// Copies the built program into `folder` as zuzar.exe.
void CopyProgramInto(const std::string& folder, const std::string& program = BuiltProgramPath());

// Polls `condition` every 20 ms until it holds; throws with `what` when `timeoutMs` runs out.
template <typename Condition>
void WaitUntil(DWORD timeoutMs, const std::string& what, Condition condition) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= end) throw SessionFailure("timed out waiting for " + what);
    Sleep(20);
  }
}

// Closes a kernel handle when it goes; null and INVALID_HANDLE_VALUE both mean none.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = other.release();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void reset() {
    if (*this) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

// A fresh empty folder under the temporary directory, removed with everything in it (hidden and
// system files too) when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The window's text read with WM_GETTEXT (GBK bytes), sent from a helper thread; throws when the
// window does not answer within `timeoutMs`.
std::string ReadWindowText(HWND window, DWORD timeoutMs = 5000);

// The outer rectangle of a top-level window, or a child's rectangle relative to its parent's client
// area.
RECT ScreenRect(HWND window);
RECT RectInParentClient(HWND child);

// The names in `folder` (files and folders, without "." and ".."), in the order the system lists
// them; none when the folder cannot be listed.
std::vector<std::string> NamesIn(const std::string& folder);

// Writes 24-bit BMP rows, each padded to four bytes, as a file; a negative height puts the top row
// first.
void WriteBmp(const std::string& path, int width, int height, const std::vector<uint8_t>& rows);
// Writes the whole screen as a 24-bit BMP file.
void SaveScreenshot(const std::string& path);

class ZuzarSession {
 public:
  struct Options {
    std::string program = BuiltProgramPath();
    // The current directory the program is started in; empty: a folder of its own, apart from the
    // program's, so that anything written relative to it would show up in the wrong place.
    std::string startDirectory;
    DWORD timeoutMs = 15000;  // for the start and as the default of every wait
    // A folder that already holds zuzar.exe: that copy is started, and the folder is left as it is
    // (neither copied into nor removed). Empty: a fresh temporary folder with a copy of `program`.
    std::string programFolder;
    // False: the constructor returns once the process runs, for starts that must not show the
    // window or that watch it come up; WaitForMainWindow() then finds it.
    bool waitForMainWindow = true;
  };

  ZuzarSession();
  explicit ZuzarSession(Options options);
  ~ZuzarSession();
  ZuzarSession(const ZuzarSession&) = delete;
  ZuzarSession& operator=(const ZuzarSession&) = delete;

  // The folder that holds the program's copy, and the copy itself.
  const std::string& ProgramFolder() const;
  std::string ProgramCopy() const;
  const std::string& StartDirectory() const;
  DWORD ProcessId() const { return processId_; }
  DWORD ThreadId() const { return threadId_; }

  // The main window "zuzar" and its controls by the layout's names (ControlId::Window is the
  // window itself).
  HWND MainWindow() const { return mainWindow_; }
  HWND Control(ControlId id) const;
  std::string Text(ControlId id) const { return ReadWindowText(Control(id), options_.timeoutMs); }
  bool IsEnabled(ControlId id) const { return IsWindowEnabled(Control(id)) != FALSE; }

  // BM_CLICK, posted: the click may open a modal window and must not block the driver.
  void Click(ControlId button) const;

  // Visible top-level dialog windows ("#32770") of the program: the open-file dialog and message
  // boxes.
  std::vector<HWND> Dialogs() const;
  HWND WaitForDialog() const;
  void WaitUntilNoDialog() const;
  // Fills the open dialog's file-name box and confirms it.
  void ChooseFileInOpenDialog(HWND dialog, const std::string& path) const;
  void CancelOpenDialog(HWND dialog) const;
  // A message box's text and title, and an answer (IDYES, IDNO, IDOK) by its button.
  std::string MessageBoxText(HWND box) const;
  void AnswerMessageBox(HWND box, int buttonId) const;

  // The window of the program's GUI thread that has the keyboard focus.
  HWND FocusedWindow() const;
  // Real key presses through the input queue, delivered to the program's active window.
  void PressKey(WORD virtualKey, bool withShift = false) const;

  // The window's large and small icons as the program's own thread sees them (WM_GETICON), drawn.
  IconProbeResult ProbeIcons() const;

  // Waits for the main window to be shown and the program's thread to settle into its loop.
  void WaitForMainWindow();
  // True while a window of the program with the main window's class and title is visible.
  bool MainWindowShown() const;

  // Waits until the process has ended; its exit code.
  DWORD WaitForExit() const;
  bool HasExited() const;

 private:
  void StartProgram();
  void FindMainWindow();

  Options options_;
  std::optional<TempFolder> programFolder_;  // made by the session when none was given
  TempFolder startFolder_{"zuzar-e2e-start"};
  UniqueHandle job_;
  UniqueHandle process_;
  DWORD processId_ = 0;
  DWORD threadId_ = 0;
  HWND mainWindow_ = nullptr;
};

}  // namespace zuzar::e2e
