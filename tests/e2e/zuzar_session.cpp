#include "tests/e2e/zuzar_session.h"

#include <cstdio>
#include <future>
#include <memory>
#include <thread>

#include "ui/window_ids.h"

namespace zuzar::e2e {
namespace {

std::string TempDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  if (length == 0 || length > MAX_PATH) throw SessionFailure("no temporary directory");
  return std::string(buffer, length);
}

// Clears read-only, hidden and system first: the program marks files it writes hidden and system.
void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

// The build hands us a Unix path; Wine maps it through the drive that holds the current directory.
std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH * 2] = {};
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  if (length == 0 || length >= sizeof buffer) throw SessionFailure("cannot resolve " + path);
  return std::string(buffer, length);
}

struct WindowSearch {
  DWORD processId;
  const char* className;
  const char* title;  // null: any title
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<WindowSearch*>(context);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search.processId || !IsWindowVisible(window)) return TRUE;
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != search.className) return TRUE;
  if (search.title) {
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);  // a top-level window's title needs no message
    if (std::string(title) != search.title) return TRUE;
  }
  search.found.push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, const char* title) {
  WindowSearch search{processId, className, title, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

std::string BuiltProgramPath() { return ZUZAR_E2E_PROGRAM; }
std::string ArtifactFolder() { return ZUZAR_E2E_ARTIFACTS; }
std::string IconProbeLibraryPath() { return ZUZAR_E2E_ICON_PROBE; }
std::string BuildTreePath(const std::string& path) { return FullPath(path); }

void CopyProgramInto(const std::string& folder, const std::string& program) {
  if (!CopyFileA(FullPath(program).c_str(), (folder + "\\zuzar.exe").c_str(), FALSE)) {
    throw SessionFailure("cannot copy " + program + " into " + folder);
  }
}

TempFolder::TempFolder(const std::string& prefix) {
  static int counter = 0;
  const std::string base = TempDirectory() + prefix + "-" + std::to_string(GetCurrentProcessId()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = base + std::to_string(++counter);
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
  }
  throw SessionFailure("cannot create a folder under " + TempDirectory());
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::string ReadWindowText(HWND window, DWORD timeoutMs) {
  // The helper thread may outlive this call when the program does not answer; it then owns the
  // buffer alone and ends when the message fails with the program's end.
  auto buffer = std::make_shared<std::vector<char>>(64 * 1024);
  std::packaged_task<LRESULT()> send([window, buffer] {
    return SendMessageA(window, WM_GETTEXT, buffer->size(), reinterpret_cast<LPARAM>(buffer->data()));
  });
  std::future<LRESULT> length = send.get_future();
  std::thread(std::move(send)).detach();
  if (length.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    throw SessionFailure(std::string("the window of class ") + className + " does not answer WM_GETTEXT");
  }
  return std::string(buffer->data(), static_cast<size_t>(length.get()));
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

void WriteBmp(const std::string& path, int width, int height, const std::vector<uint8_t>& rows) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = static_cast<DWORD>(rows.size());
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!out) throw SessionFailure("cannot write " + path);
  std::fwrite(&file, sizeof file, 1, out.get());
  std::fwrite(&info, sizeof info, 1, out.get());
  std::fwrite(rows.data(), 1, rows.size(), out.get());
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) throw SessionFailure("no such window");
  return rect;
}

RECT RectInParentClient(HWND child) {
  RECT rect = ScreenRect(child);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void SaveScreenshot(const std::string& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> rows;
  if (copied && bits) {
    const auto* data = static_cast<const uint8_t*>(bits);
    rows.assign(data, data + stride * height);
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (rows.empty()) throw SessionFailure("cannot copy the screen");
  WriteBmp(path, width, height, rows);
}

ZuzarSession::ZuzarSession() : ZuzarSession(Options()) {}

ZuzarSession::ZuzarSession(Options options) : options_(std::move(options)) {
  if (options_.programFolder.empty()) {
    programFolder_.emplace("zuzar-e2e");
    CopyProgramInto(programFolder_->path(), options_.program);
  }
  StartProgram();
  if (options_.waitForMainWindow) WaitForMainWindow();
}

void ZuzarSession::WaitForMainWindow() {
  FindMainWindow();
  // The first start in a fresh Wine session also starts Wine's own services; wait until the
  // program's thread has settled into its message loop.
  WaitForInputIdle(process_.get(), options_.timeoutMs);
}

bool ZuzarSession::MainWindowShown() const {
  return !TopLevelWindows(processId_, kMainWindowClassName, kMainWindowTitle).empty();
}

const std::string& ZuzarSession::ProgramFolder() const {
  return programFolder_ ? programFolder_->path() : options_.programFolder;
}

ZuzarSession::~ZuzarSession() {
  if (process_ && !HasExited()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

std::string ZuzarSession::ProgramCopy() const { return ProgramFolder() + "\\zuzar.exe"; }

const std::string& ZuzarSession::StartDirectory() const {
  return options_.startDirectory.empty() ? startFolder_.path() : options_.startDirectory;
}

void ZuzarSession::StartProgram() {
  // A job that kills the program should this driver die before its destructor runs.
  job_ = UniqueHandle(CreateJobObjectA(nullptr, nullptr));
  if (job_) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }
  std::string commandLine = "\"" + ProgramCopy() + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(ProgramCopy().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      StartDirectory().c_str(), &startup, &started)) {
    throw SessionFailure("cannot start " + ProgramCopy() + ": error " + std::to_string(GetLastError()));
  }
  process_ = UniqueHandle(started.hProcess);
  UniqueHandle thread(started.hThread);
  processId_ = started.dwProcessId;
  if (job_) AssignProcessToJobObject(job_.get(), process_.get());
}

void ZuzarSession::FindMainWindow() {
  WaitUntil(options_.timeoutMs, "the main window \"zuzar\"", [this] {
    if (HasExited()) throw SessionFailure("the program ended before its window was shown");
    const std::vector<HWND> windows = TopLevelWindows(processId_, kMainWindowClassName, kMainWindowTitle);
    if (windows.size() != 1) return false;
    mainWindow_ = windows.front();
    return true;
  });
  threadId_ = GetWindowThreadProcessId(mainWindow_, nullptr);
}

HWND ZuzarSession::Control(ControlId id) const {
  if (id == ControlId::Window) return mainWindow_;
  HWND control = GetDlgItem(mainWindow_, NativeControlId(id));
  if (!control) throw SessionFailure("no control with id " + std::to_string(NativeControlId(id)));
  return control;
}

void ZuzarSession::Click(ControlId button) const { PostMessageA(Control(button), BM_CLICK, 0, 0); }

std::vector<HWND> ZuzarSession::Dialogs() const { return TopLevelWindows(processId_, "#32770", nullptr); }

HWND ZuzarSession::WaitForDialog() const {
  HWND dialog = nullptr;
  WaitUntil(options_.timeoutMs, "a dialog of the program", [&] {
    const std::vector<HWND> dialogs = Dialogs();
    if (dialogs.empty()) return false;
    dialog = dialogs.front();
    return true;
  });
  return dialog;
}

void ZuzarSession::WaitUntilNoDialog() const {
  WaitUntil(options_.timeoutMs, "the dialog to close", [this] { return Dialogs().empty(); });
}

void ZuzarSession::ChooseFileInOpenDialog(HWND dialog, const std::string& path) const {
  // 0x47C is the file-name combo box of the Explorer-style dialog (cmb13).
  constexpr int kFileNameBox = 0x47C;
  WaitUntil(options_.timeoutMs, "the file-name box of the open dialog",
            [&] { return GetDlgItem(dialog, kFileNameBox) != nullptr; });
  SetDlgItemTextA(dialog, kFileNameBox, path.c_str());
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

void ZuzarSession::CancelOpenDialog(HWND dialog) const { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }

std::string ZuzarSession::MessageBoxText(HWND box) const {
  constexpr int kMessageText = 0xFFFF;
  HWND text = GetDlgItem(box, kMessageText);
  if (!text) throw SessionFailure("the message box has no text control");
  return ReadWindowText(text, options_.timeoutMs);
}

void ZuzarSession::AnswerMessageBox(HWND box, int buttonId) const {
  HWND button = GetDlgItem(box, buttonId);
  if (!button) throw SessionFailure("the message box has no button " + std::to_string(buttonId));
  PostMessageA(button, BM_CLICK, 0, 0);
}

HWND ZuzarSession::FocusedWindow() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(threadId_, &info)) throw SessionFailure("no GUI thread information");
  return info.hwndFocus;
}

void ZuzarSession::PressKey(WORD virtualKey, bool withShift) const {
  std::vector<INPUT> inputs;
  auto key = [&inputs](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (withShift) key(VK_SHIFT, false);
  key(virtualKey, false);
  key(virtualKey, true);
  if (withShift) key(VK_SHIFT, true);
  if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) {
    throw SessionFailure("SendInput refused the key");
  }
}

IconProbeResult ZuzarSession::ProbeIcons() const {
  UniqueHandle block(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(IconProbeResult),
                                        IconProbeBlockName(GetCurrentProcessId()).c_str()));
  if (!block) throw SessionFailure("cannot create the icon probe's block");
  std::unique_ptr<IconProbeResult, BOOL(WINAPI*)(LPCVOID)> shared(
      static_cast<IconProbeResult*>(MapViewOfFile(block.get(), FILE_MAP_WRITE, 0, 0, sizeof(IconProbeResult))),
      &UnmapViewOfFile);
  if (!shared) throw SessionFailure("cannot map the icon probe's block");

  HMODULE library = LoadLibraryA(FullPath(IconProbeLibraryPath()).c_str());
  if (!library) throw SessionFailure("cannot load " + IconProbeLibraryPath());
  std::unique_ptr<HINSTANCE__, BOOL(WINAPI*)(HMODULE)> libraryGuard(library, &FreeLibrary);
  auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(library, kIconProbeHookName)));
  HHOOK installed = SetWindowsHookExA(WH_GETMESSAGE, hook, library, threadId_);
  if (!installed) throw SessionFailure("cannot hook the program's thread");
  std::unique_ptr<HHOOK__, BOOL(WINAPI*)(HHOOK)> hookGuard(installed, &UnhookWindowsHookEx);

  PostMessageA(mainWindow_, RegisterWindowMessageA(kIconProbeMessageName), GetCurrentProcessId(), 0);
  WaitUntil(options_.timeoutMs, "the icon probe", [&] { return shared->done == 1; });
  return *shared;
}

bool ZuzarSession::HasExited() const { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }

DWORD ZuzarSession::WaitForExit() const {
  if (WaitForSingleObject(process_.get(), options_.timeoutMs) != WAIT_OBJECT_0) {
    throw SessionFailure("timed out waiting for the program to end");
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process_.get(), &exitCode);
  return exitCode;
}

}  // namespace zuzar::e2e
