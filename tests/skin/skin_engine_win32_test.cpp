// jedata.dll attached to real windows under Wine: what the screen shows, read back pixel by pixel.
// A skin stays with the thread that attached it, so every case runs on a thread of its own.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "skin/jedata.h"
#include "skin/skin_file.h"
#include "skin/skin_look.h"
#include "tests/skin/skin_fixture.h"

namespace zuzar::skin {

void PrintTo(Rgb rgb, std::ostream* out) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb.red, rgb.green, rgb.blue);
  *out << text;
}

namespace {

SkinH_AttachExFunction Engine() {
  static const SkinH_AttachExFunction attach = [] {
    const HMODULE module = LoadLibraryA(testing::HostPath(ZUZAR_JEDATA_DLL).c_str());
    if (module == nullptr) return SkinH_AttachExFunction{};
    return reinterpret_cast<SkinH_AttachExFunction>(reinterpret_cast<void*>(GetProcAddress(module, "SkinH_AttachEx")));
  }();
  return attach;
}

const Skin& TheSkin() {
  static const Skin skin = [] {
    const std::vector<uint8_t> bytes = testing::GeneratedSkin();
    const ReadResult read = ReadSkin(bytes.data(), bytes.size(), "");
    return read.skin.value_or(Skin{});
  }();
  return skin;
}

Rgb SkinColour(Colour colour) { return TheSkin()[colour]; }

int Attach(const std::string& path, const char* password = "") { return Engine()(path.c_str(), password); }

int AttachTheSkin() { return Attach(testing::SkinFilePath()); }

void OnFreshThread(const std::function<void()>& body) { std::thread(body).join(); }

void Pump() {
  for (int round = 0; round < 4; ++round) {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(15);
  }
}

void MoveMouseTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  Pump();
}

void MoveMouseAway() { MoveMouseTo(POINT{0, 0}); }

// The platform reports the mouse leaving a window from a timer of its own, some time after the
// move: looks that follow it are awaited, for a few seconds at most.
bool Eventually(const std::function<bool()>& condition) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (condition()) return true;
    Pump();
  }
  return condition();
}

class TempFile {
 public:
  explicit TempFile(const std::vector<uint8_t>& bytes) {
    char directory[MAX_PATH] = {};
    char name[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    GetTempFileNameA(directory, "she", 0, name);
    path_ = name;
    if (FILE* file = std::fopen(name, "wb")) {
      std::fwrite(bytes.data(), 1, bytes.size(), file);
      std::fclose(file);
    }
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() { DeleteFileA(path_.c_str()); }

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  const HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text, -1, &client, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
  SelectObject(dc, old);
  EndPaint(window, &paint);
  return 0;
}

// A window without class brush that fills its background itself.
LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window, &paint);
  FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  EndPaint(window, &paint);
  return 0;
}

constexpr char kWindowClass[] = "SkinTestWindow";
constexpr char kBareWindowClass[] = "SkinTestBareWindow";
constexpr char kLabelClass[] = "SkinTestLabel";

void RegisterTestClasses() {
  static const bool registered = [] {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA window{};
    window.lpfnWndProc = DefWindowProcA;
    window.hInstance = instance;
    window.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    window.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window.lpszClassName = kWindowClass;
    RegisterClassA(&window);
    window.lpfnWndProc = BareWindowProc;
    window.hbrBackground = nullptr;
    window.lpszClassName = kBareWindowClass;
    RegisterClassA(&window);
    WNDCLASSA label{};
    label.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    label.lpfnWndProc = LabelProc;
    label.hInstance = instance;
    label.hCursor = LoadCursor(nullptr, IDC_ARROW);
    label.lpszClassName = kLabelClass;
    RegisterClassA(&label);
    InitCommonControls();
    return true;
  }();
  (void)registered;
}

// A window like the program's: a push button, a label of the program's own class, an editable and
// a read-only edit box with thin edges, and a half-full progress bar.
class TestWindow {
 public:
  explicit TestWindow(const char* className = kWindowClass, int left = 60) {
    RegisterTestClasses();
    window = CreateWindowExA(0, className, "zuzar", WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, left, 60, 475, 321,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    button = Child("BUTTON", "OK", BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_TABSTOP, 0,
                   RECT{20, 20, 98, 32});
    label = Child(kLabelClass, "准备", 0, 0, RECT{20, 70, 120, 16});
    edit = Child("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_STATICEDGE, RECT{20, 100, 200, 24});
    log = Child("EDIT", "", ES_MULTILINE | ES_READONLY | WS_VSCROLL, WS_EX_STATICEDGE, RECT{20, 140, 200, 60});
    progress = Child(PROGRESS_CLASSA, "", 0, WS_EX_STATICEDGE, RECT{20, 220, 300, 16});
    SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageA(progress, PBM_SETPOS, 50, 0);
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    Settle();
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  ~TestWindow() {
    if (IsWindow(window)) DestroyWindow(window);
  }

  void Settle() const {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
  }

  // The screen point of a control's pixel (the window's own when control is the window).
  POINT ScreenPoint(HWND control, int x, int y) const {
    RECT bounds{};
    GetWindowRect(control, &bounds);
    return POINT{bounds.left + x, bounds.top + y};
  }

  CaptionParts Caption() const {
    RECT bounds{};
    RECT client{};
    GetWindowRect(window, &bounds);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const Rect inWindow{origin.x - bounds.left, origin.y - bounds.top, origin.x - bounds.left + client.right,
                        origin.y - bounds.top + client.bottom};
    return LayoutCaption(bounds.right - bounds.left, inWindow, true, true, TheSkin());
  }

  HWND window = nullptr;
  HWND button = nullptr;
  HWND label = nullptr;
  HWND edit = nullptr;
  HWND log = nullptr;
  HWND progress = nullptr;

 private:
  HWND Child(const char* className, const char* text, DWORD style, DWORD exStyle, RECT box) {
    const HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                                       box.left, box.top, box.right, box.bottom, window, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return child;
  }
};

// What the screen shows of a window, frame included, read back from the window's own DC.
class Snapshot {
 public:
  explicit Snapshot(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    origin_ = POINT{bounds.left, bounds.top};
    width_ = bounds.right - bounds.left;
    height_ = bounds.bottom - bounds.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC source = GetWindowDC(window);
    const HDC copy = CreateCompatibleDC(source);
    const HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    pixels_.assign(pixels, pixels + static_cast<size_t>(width_) * static_cast<size_t>(height_));
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(window, source);
  }

  Rgb At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{1, 2, 3};
    const uint32_t pixel = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return Rgb{static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel)};
  }
  Rgb AtScreen(POINT point) const { return At(point.x - origin_.x, point.y - origin_.y); }

  // The darkest pixel of a control's rectangle, to tell drawn text from an empty surface.
  int DarkestIn(HWND control) const {
    RECT bounds{};
    GetWindowRect(control, &bounds);
    int darkest = 255;
    for (int y = bounds.top; y < bounds.bottom; ++y) {
      for (int x = bounds.left; x < bounds.right; ++x) {
        const Rgb rgb = AtScreen(POINT{x, y});
        darkest = std::min(darkest, (rgb.red + rgb.green + rgb.blue) / 3);
      }
    }
    return darkest;
  }

  bool operator==(const Snapshot& other) const { return pixels_ == other.pixels_; }

 private:
  POINT origin_{};
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

Rgb CaptionPixel(const TestWindow& w) {
  const CaptionParts caption = w.Caption();
  return Snapshot(w.window).At(caption.close.left - 10, caption.caption.top + 2);
}

struct Probe {
  const char* what;
  HWND TestWindow::*control;
  int x, y;  // in the control's window; negative counts from the right or bottom edge
  Colour expected;
};

POINT ProbePoint(const TestWindow& w, const Probe& probe) {
  RECT bounds{};
  GetWindowRect(w.*probe.control, &bounds);
  const int x = probe.x >= 0 ? probe.x : bounds.right - bounds.left + probe.x;
  const int y = probe.y >= 0 ? probe.y : bounds.bottom - bounds.top + probe.y;
  return POINT{bounds.left + x, bounds.top + y};
}

const Probe kSurfaceProbes[] = {
    {"client background", &TestWindow::window, -20, -20, Colour::WindowBackground},
    {"label background", &TestWindow::label, -3, 8, Colour::WindowBackground},
    {"button face", &TestWindow::button, 8, 16, Colour::ButtonFace},
    {"button border", &TestWindow::button, 0, 16, Colour::ButtonBorder},
    {"edit box inside", &TestWindow::edit, -8, 12, Colour::EditBackground},
    {"edit box edge", &TestWindow::edit, 100, 0, Colour::EditBorder},
    {"read-only box inside", &TestWindow::log, 100, 30, Colour::EditReadOnlyBackground},
    {"read-only box edge", &TestWindow::log, 0, 30, Colour::EditBorder},
    {"progress done", &TestWindow::progress, 4, 8, Colour::ProgressBar},
    {"progress to do", &TestWindow::progress, -5, 8, Colour::ProgressTrack},
    {"progress edge", &TestWindow::progress, 150, 0, Colour::ProgressBorder},
};

void ExpectSurfaces(const TestWindow& w, const char* which) {
  const Snapshot shot(w.window);
  for (const Probe& probe : kSurfaceProbes) {
    EXPECT_EQ(shot.AtScreen(ProbePoint(w, probe)), SkinColour(probe.expected)) << which << ": " << probe.what;
  }
  EXPECT_LT(shot.DarkestIn(w.label), 100) << which << ": the label's text is drawn";
  EXPECT_LT(shot.DarkestIn(w.button), 100) << which << ": the button's caption is drawn";
}

TEST(SkinEngine, LibraryExportsTheEntryPoint) {
  ASSERT_NE(Engine(), nullptr);
  ASSERT_NE(TheSkin()[Colour::FrameActive], Rgb{}) << "the generated skin is readable";
}

TEST(SkinEngine, SkinsTheThreadsWindowsAndThoseCreatedLater) {
  ASSERT_NE(Engine(), nullptr);
  OnFreshThread([] {
    MoveMouseAway();
    const TestWindow before;
    ASSERT_EQ(AttachTheSkin(), JEDATA_ATTACHED);
    before.Settle();
    const TestWindow after(kWindowClass, 300);
    for (const TestWindow* w : {&before, &after}) {
      const char* which = w == &before ? "existing window" : "later window";
      SendMessageA(w->window, WM_NCACTIVATE, TRUE, 0);
      EXPECT_EQ(CaptionPixel(*w), SkinColour(Colour::FrameActive)) << which;
      SendMessageA(w->window, WM_NCACTIVATE, FALSE, 0);
      EXPECT_EQ(CaptionPixel(*w), SkinColour(Colour::FrameInactive)) << which;
      ExpectSurfaces(*w, which);
    }
  });
}

TEST(SkinEngine, ProgramWindowThatFillsItsOwnBackground) {
  OnFreshThread([] {
    ASSERT_EQ(AttachTheSkin(), JEDATA_ATTACHED);
    const TestWindow w(kBareWindowClass);
    EXPECT_EQ(Snapshot(w.window).AtScreen(ProbePoint(w, kSurfaceProbes[0])), SkinColour(Colour::WindowBackground));
  });
}

TEST(SkinEngine, ButtonStates) {
  struct Case {
    const char* what;
    std::function<void(const TestWindow&)> enter;
    Colour face;
    Colour border;
  };
  const auto centre = [](const TestWindow& w) { return w.ScreenPoint(w.button, 49, 16); };
  const Case cases[] = {
      {"normal", [](const TestWindow&) {}, Colour::ButtonFace, Colour::ButtonBorder},
      {"hot", [&](const TestWindow& w) { MoveMouseTo(centre(w)); }, Colour::ButtonHotFace, Colour::ButtonHotBorder},
      {"pressed", [](const TestWindow& w) { SendMessageA(w.button, BM_SETSTATE, TRUE, 0); }, Colour::ButtonPressedFace,
       Colour::ButtonPressedBorder},
      {"focused", [](const TestWindow& w) { SetFocus(w.button); }, Colour::ButtonFace, Colour::ButtonFocusBorder},
      {"disabled", [](const TestWindow& w) { EnableWindow(w.button, FALSE); }, Colour::ButtonDisabledFace,
       Colour::ButtonDisabledBorder},
  };
  OnFreshThread([&] {
    ASSERT_EQ(AttachTheSkin(), JEDATA_ATTACHED);
    for (const Case& c : cases) {
      MoveMouseAway();
      const TestWindow w;
      c.enter(w);
      Pump();
      const Snapshot shot(w.window);
      EXPECT_EQ(shot.AtScreen(w.ScreenPoint(w.button, 8, 16)), SkinColour(c.face)) << c.what;
      EXPECT_EQ(shot.AtScreen(w.ScreenPoint(w.button, 0, 16)), SkinColour(c.border)) << c.what;
    }
  });
}

TEST(SkinEngine, FocusedEditBoxGetsTheFocusEdge) {
  OnFreshThread([] {
    ASSERT_EQ(AttachTheSkin(), JEDATA_ATTACHED);
    const TestWindow w;
    SetFocus(w.edit);
    Pump();
    EXPECT_EQ(Snapshot(w.window).AtScreen(w.ScreenPoint(w.edit, 100, 0)), SkinColour(Colour::EditFocusBorder));
    SetFocus(w.button);
    Pump();
    EXPECT_EQ(Snapshot(w.window).AtScreen(w.ScreenPoint(w.edit, 100, 0)), SkinColour(Colour::EditBorder));
  });
}

TEST(SkinEngine, CloseButtonIsHotPressedAndCloses) {
  OnFreshThread([] {
    ASSERT_EQ(AttachTheSkin(), JEDATA_ATTACHED);
    MoveMouseAway();
    const TestWindow w;
    SendMessageA(w.window, WM_NCACTIVATE, TRUE, 0);
    const Rect close = w.Caption().close;
    const POINT centre = w.ScreenPoint(w.window, (close.left + close.right) / 2, (close.top + close.bottom) / 2);
    const POINT corner = w.ScreenPoint(w.window, close.left + 1, close.top + 1);
    const auto hit = [&w](POINT screen) {
      return SendMessageA(w.window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    };
    EXPECT_EQ(hit(centre), HTCLOSE);
    EXPECT_EQ(hit(w.ScreenPoint(w.window, close.left - 10, close.top + 2)), HTCAPTION);
    EXPECT_EQ(hit(w.ScreenPoint(w.button, 5, 5)), HTCLIENT);

    EXPECT_EQ(Snapshot(w.window).AtScreen(corner), SkinColour(Colour::FrameActive)) << "normal";
    MoveMouseTo(centre);
    EXPECT_EQ(Snapshot(w.window).AtScreen(corner), SkinColour(Colour::CloseHotFace)) << "hot";
    MoveMouseAway();
    EXPECT_TRUE(Eventually([&] { return Snapshot(w.window).AtScreen(corner) == SkinColour(Colour::FrameActive); }))
        << "left again";

    SendMessageA(w.window, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(centre.x, centre.y));
    EXPECT_EQ(Snapshot(w.window).AtScreen(corner), SkinColour(Colour::ClosePressedFace)) << "pressed";
    POINT release = centre;
    ScreenToClient(w.window, &release);
    SendMessageA(w.window, WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    Pump();
    EXPECT_FALSE(IsWindow(w.window)) << "a click on the close button closes the window";
  });
}

TEST(SkinEngine, ProgressIsDrawnAtOnceEvenWithoutMessageLoop) {
  OnFreshThread([] {
    ASSERT_EQ(AttachTheSkin(), JEDATA_ATTACHED);
    const TestWindow w;
    // The program steps its bar and then sleeps: nothing may wait for a WM_PAINT.
    SendMessageA(w.progress, PBM_SETPOS, 100, 0);
    RECT client{};
    GetClientRect(w.progress, &client);
    const std::vector<Rect> blocks = ProgressBlocks(Rect{0, 0, client.right, client.bottom}, 0, 100, 100, TheSkin());
    ASSERT_FALSE(blocks.empty());
    const Rect last = blocks.back();
    POINT inLast{last.right - 1, last.top + 1};
    ClientToScreen(w.progress, &inLast);
    EXPECT_EQ(Snapshot(w.window).AtScreen(inLast), SkinColour(Colour::ProgressBar));
    SendMessageA(w.progress, PBM_SETPOS, 0, 0);
    EXPECT_EQ(Snapshot(w.window).AtScreen(w.ScreenPoint(w.progress, 4, 8)), SkinColour(Colour::ProgressTrack));
  });
}

struct MessageBoxSeen {
  bool found = false;
  Rgb caption;
  Rgb buttonFace;
};
MessageBoxSeen messageBoxSeen;

BOOL CALLBACK InspectMessageBox(HWND window, LPARAM) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770") return TRUE;
  const HWND ok = GetDlgItem(window, IDOK);
  RECT bounds{};
  RECT okBounds{};
  GetWindowRect(window, &bounds);
  GetWindowRect(ok, &okBounds);
  const Snapshot shot(window);
  messageBoxSeen.found = ok != nullptr;
  messageBoxSeen.caption = shot.At((bounds.right - bounds.left) / 2, 4);
  messageBoxSeen.buttonFace = shot.AtScreen(POINT{okBounds.left + 6, okBounds.top + 4});
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  return FALSE;
}

void CALLBACK OnMessageBoxShown(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  EnumThreadWindows(GetCurrentThreadId(), InspectMessageBox, 0);
}

TEST(SkinEngine, MessageBoxesAreSkinned) {
  OnFreshThread([] {
    ASSERT_EQ(AttachTheSkin(), JEDATA_ATTACHED);
    MoveMouseAway();
    SetTimer(nullptr, 0, 400, OnMessageBoxShown);
    MessageBoxA(nullptr, "该操作不可恢复，确定继续吗？", "信息：", MB_OK);
  });
  ASSERT_TRUE(messageBoxSeen.found);
  EXPECT_TRUE(messageBoxSeen.caption == SkinColour(Colour::FrameActive) ||
              messageBoxSeen.caption == SkinColour(Colour::FrameInactive))
      << ::testing::PrintToString(messageBoxSeen.caption);
  EXPECT_EQ(messageBoxSeen.buttonFace, SkinColour(Colour::ButtonFace));
}

std::vector<uint8_t> WithNewerVersion() {
  std::vector<uint8_t> file = testing::GeneratedSkin();
  testing::Put16(file, layout::kVersion, kFormatVersion + 1);
  SealSkinFile(file);
  return file;
}

std::vector<uint8_t> Garbled() {
  std::vector<uint8_t> file = testing::GeneratedSkin();
  for (size_t i = 40; i < file.size(); i += 7) file[i] = static_cast<uint8_t>(file[i] * 31 + 17);
  return file;
}

std::vector<uint8_t> FirstHalf() {
  const std::vector<uint8_t> file = testing::GeneratedSkin();
  return std::vector<uint8_t>(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() / 2));
}

TEST(SkinEngine, UnusableSkinsChangeNothing) {
  const TempFile empty(std::vector<uint8_t>{});
  const TempFile garbled(Garbled());
  const TempFile half(FirstHalf());
  const TempFile newer(WithNewerVersion());
  const TempFile locked(testing::Protected(testing::GeneratedSkin(), "secret"));
  const TempFile notASkin(std::vector<uint8_t>{'M', 'Z', 0x90, 0});
  struct Case {
    const char* what;
    const char* path;
    const char* password;
  } cases[] = {
      {"missing file", "Z:/nonexistent/皮肤.she", ""},
      {"null path", nullptr, ""},
      {"empty file", empty.path().c_str(), ""},
      {"garbled file", garbled.path().c_str(), ""},
      {"truncated file", half.path().c_str(), ""},
      {"newer version", newer.path().c_str(), ""},
      {"wrong password", locked.path().c_str(), "other"},
      {"no password for a protected skin", locked.path().c_str(), ""},
      {"not a skin at all", notASkin.path().c_str(), ""},
  };
  for (const Case& c : cases) {
    OnFreshThread([&c] {
      MoveMouseAway();
      const TestWindow w;
      const Snapshot before(w.window);
      EXPECT_EQ(Engine()(c.path, c.password), JEDATA_NOT_ATTACHED) << c.what;
      w.Settle();
      EXPECT_TRUE(Snapshot(w.window) == before) << c.what << ": the window must look as before";
      // The same window does take a usable skin, so an unchanged window above means a refusal.
      ASSERT_EQ(AttachTheSkin(), JEDATA_ATTACHED) << c.what;
      w.Settle();
      EXPECT_FALSE(Snapshot(w.window) == before) << c.what;
    });
  }
}

TEST(SkinEngine, ProtectedSkinOpensWithItsPassword) {
  const TempFile locked(testing::Protected(testing::GeneratedSkin(), "secret"));
  OnFreshThread([&locked] {
    const TestWindow w;
    EXPECT_EQ(Attach(locked.path(), "secret"), JEDATA_ATTACHED);
    w.Settle();
    EXPECT_EQ(Snapshot(w.window).AtScreen(w.ScreenPoint(w.button, 8, 16)), SkinColour(Colour::ButtonFace));
  });
}

TEST(SkinEngine, ASecondSkinReplacesTheFirst) {
  std::vector<uint8_t> dark = testing::GeneratedSkin();
  const size_t frameActive = testing::SectionStart(dark, "COLR") + 4 + (static_cast<size_t>(Colour::FrameActive) - 1) * 6;
  dark[frameActive + 2] = 0x12;
  dark[frameActive + 3] = 0x34;
  dark[frameActive + 4] = 0x56;
  SealSkinFile(dark);
  const TempFile second(dark);
  OnFreshThread([&second] {
    const TestWindow w;
    ASSERT_EQ(AttachTheSkin(), JEDATA_ATTACHED);
    SendMessageA(w.window, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(CaptionPixel(w), SkinColour(Colour::FrameActive));
    ASSERT_EQ(Attach(second.path()), JEDATA_ATTACHED);
    SendMessageA(w.window, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(CaptionPixel(w), (Rgb{0x12, 0x34, 0x56}));
    const TestWindow later(kWindowClass, 300);
    SendMessageA(later.window, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(CaptionPixel(later), (Rgb{0x12, 0x34, 0x56}));
  });
}

}  // namespace
}  // namespace zuzar::skin
