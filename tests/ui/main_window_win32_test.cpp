#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "tests/ui/fatal_catcher.h"
#include "tests/ui/icon_file_builder.h"
#include "ui/main_window.h"
#include "ui/window_ids.h"

namespace zuzar {
namespace {

constexpr int kDialogNameBox = 0x47C;  // cmb13, the file-name box of the Explorer-style dialog

std::string TextOf(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// EnumThreadWindows callback: stops at the first visible dialog window and hands it back.
BOOL CALLBACK FindVisibleDialog(HWND candidate, LPARAM found) {
  char name[16] = {};
  GetClassNameA(candidate, name, sizeof(name));
  if (std::string(name) != "#32770" || !IsWindowVisible(candidate)) return TRUE;
  *reinterpret_cast<HWND*>(found) = candidate;
  return FALSE;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HandlerBindings handlers;
    handlers.onMainWindowCreated = [this] { OnCreated(); };
    handlers.onOpenClicked = [this] { log += "open;"; };
    handlers.onStartClicked = [this] { log += "start;"; };
    handlers.onCancelClicked = [this] { log += "cancel;"; };
    handlers.onForumClicked = [this] { log += "forum;"; };
    handlers.onLogChanged = [this] { ++logChanges; };
    MainWindowHooks hooks;
    hooks.onDestroyed = [this] { ++destroyedCalls; };
    window = LoadMainWindow(events, handlers, {icon.data(), icon.size()}, hooks);
    main = static_cast<HWND>(window->NativeHandle());
    ASSERT_NE(main, nullptr);
    PumpMessages();
  }

  void OnCreated() {
    ++createdCalls;
    const auto handle = static_cast<HWND>(window ? window->NativeHandle() : nullptr);
    // The loader has not returned yet: find the window as another program would.
    const HWND found = FindWindowA(kMainWindowClassName, kMainWindowTitle);
    createdWhileHidden = found != nullptr && !IsWindowVisible(found) && handle == nullptr;
    createdWithAllControls = found != nullptr && GetDlgItem(found, NativeControlId(ControlId::按钮4)) != nullptr &&
                             GetDlgItem(found, NativeControlId(ControlId::标签1)) != nullptr;
  }

  HWND Child(ControlId id) const { return GetDlgItem(main, NativeControlId(id)); }

  // Pressing a key on the focused control, as the message loop would deliver it.
  void PressKey(WPARAM key, bool shift = false) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    const HWND focus = GetFocus();
    SendMessageA(focus, WM_KEYDOWN, key, 0);
    if (IsWindow(focus)) SendMessageA(focus, WM_CHAR, key == VK_RETURN ? '\r' : key == VK_TAB ? '\t' : key, 0);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
  }

  // Watches for the open-file dialog on this thread and lets `answer` act on it from another one.
  template <typename Answer>
  bool RunDialog(Answer answer) {
    const DWORD uiThread = GetCurrentThreadId();
    std::thread driver([uiThread, answer] {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      while (std::chrono::steady_clock::now() < deadline) {
        HWND dialog = nullptr;
        EnumThreadWindows(uiThread, &FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog != nullptr && GetDlgItem(dialog, kDialogNameBox) == nullptr) {
          ADD_FAILURE() << "the dialog has no file-name box " << kDialogNameBox;
          PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
          return;
        }
        if (dialog != nullptr) {
          answer(dialog);
          return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
    });
    const bool confirmed = window->ShowOpenDialog(ControlId::通用对话框1);
    driver.join();
    return confirmed;
  }

  std::vector<uint8_t> icon = testing::IconFile(testing::ProgramIconImages());
  EventDispatcher events;
  std::unique_ptr<MainWindow> window;
  HWND main = nullptr;
  std::string log;
  int logChanges = 0;
  int createdCalls = 0;
  int destroyedCalls = 0;
  bool createdWhileHidden = false;
  bool createdWithAllControls = false;
};

TEST_F(MainWindowTest, CreatedRunsOnceBeforeTheFirstShowWithEveryControlInPlace) {
  EXPECT_EQ(createdCalls, 1);
  EXPECT_TRUE(createdWhileHidden);
  EXPECT_TRUE(createdWithAllControls);
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_TRUE(window->Exists());
  EXPECT_EQ(logChanges, 0) << "change reports of the boxes while they were built are dropped";
}

TEST_F(MainWindowTest, IsAFixedCentredWindowWithACloseButtonOnly) {
  RECT outer{};
  GetWindowRect(main, &outer);
  EXPECT_EQ(outer.right - outer.left, 475);
  EXPECT_EQ(outer.bottom - outer.top, 321);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 475) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 321) / 2);

  const auto style = static_cast<DWORD>(GetWindowLongPtrA(main, GWL_STYLE));
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN), DWORD{WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN});
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD | WS_POPUP), 0u);
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(main, GWL_EXSTYLE));
  EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), 0u);
  EXPECT_EQ(GetWindow(main, GW_OWNER), nullptr);
  EXPECT_EQ(TextOf(main), "zuzar");
  EXPECT_EQ(ClassOf(main), kMainWindowClassName);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(main, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(MainWindowTest, EveryControlHasItsPlaceClassTextStyleAndFirstState) {
  constexpr DWORD kButton = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | BS_CENTER | BS_VCENTER | BS_MULTILINE;
  constexpr DWORD kEdit = WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | WS_TABSTOP;
  const struct {
    ControlId id;
    const char* className;
    RECT rect;
    const char* text;
    DWORD style;      // bits that must be set
    DWORD notStyle;   // bits that must be clear
    DWORD exStyle;
    bool enabled;
  } cases[] = {
      {ControlId::标签1, kLabelClassName, {56, 30, 176, 46}, "准备粉碎的文件：", WS_CHILD | WS_VISIBLE, WS_TABSTOP, 0, true},
      {ControlId::编辑框1, "Edit", {56, 48, 408, 72}, "", kEdit | ES_AUTOHSCROLL,
       ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_NOHIDESEL, WS_EX_STATICEDGE, true},
      {ControlId::按钮1, "Button", {344, 16, 408, 40}, "打开", kButton | WS_TABSTOP, BS_DEFPUSHBUTTON, 0, true},
      {ControlId::进度条1, PROGRESS_CLASSA, {40, 266, 465, 282}, "", WS_CHILD | WS_VISIBLE,
       PBS_SMOOTH | PBS_VERTICAL | WS_TABSTOP, WS_EX_STATICEDGE, true},
      {ControlId::编辑框2, "Edit", {56, 75, 408, 176}, "",
       kEdit | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_READONLY | WS_VSCROLL,
       ES_AUTOHSCROLL | WS_HSCROLL | ES_NOHIDESEL, WS_EX_STATICEDGE, true},
      {ControlId::按钮2, "Button", {110, 184, 208, 216}, "开始粉碎", kButton | WS_TABSTOP | WS_DISABLED, BS_DEFPUSHBUTTON, 0, false},
      {ControlId::按钮3, "Button", {240, 184, 338, 216}, "撤  消", kButton | WS_TABSTOP | WS_DISABLED, BS_DEFPUSHBUTTON, 0, false},
      {ControlId::标签2, kLabelClassName, {8, 256, 40, 288}, "进程", WS_CHILD | WS_VISIBLE, WS_TABSTOP, 0, true},
      {ControlId::按钮4, "Button", {176, 224, 272, 256}, "Norvik粉丝论坛", kButton | WS_TABSTOP, BS_DEFPUSHBUTTON, 0, true},
  };
  for (const auto& c : cases) {
    const HWND child = Child(c.id);
    ASSERT_NE(child, nullptr) << NativeControlId(c.id);
    SCOPED_TRACE(c.text);
    EXPECT_EQ(_stricmp(ClassOf(child).c_str(), c.className), 0) << ClassOf(child);
    const RECT rect = RectInParent(child);
    EXPECT_EQ(rect.left, c.rect.left);
    EXPECT_EQ(rect.top, c.rect.top);
    EXPECT_EQ(rect.right, c.rect.right);
    EXPECT_EQ(rect.bottom, c.rect.bottom);
    EXPECT_EQ(TextOf(child), c.text);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
    EXPECT_EQ(style & c.style, c.style);
    EXPECT_EQ(style & c.notStyle, 0u);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(child, GWL_EXSTYLE)) & WS_EX_STATICEDGE, c.exStyle);
    EXPECT_EQ(IsWindowEnabled(child) != FALSE, c.enabled);
  }
  EXPECT_EQ(Child(ControlId::通用对话框1), nullptr) << "the dialog has no window of its own";
}

TEST_F(MainWindowTest, ButtonsAndBoxesUseTheDefaultGuiFont) {
  for (ControlId id : {ControlId::按钮1, ControlId::按钮4, ControlId::编辑框1, ControlId::编辑框2}) {
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Child(id), WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
  }
}

TEST_F(MainWindowTest, TheProgressBarRunsFromZeroToAHundred) {
  const HWND bar = Child(ControlId::进度条1);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
}

TEST_F(MainWindowTest, ControlsAreStackedInTheStoredOrder) {
  std::vector<int> stack;
  for (HWND child = GetWindow(main, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    stack.push_back(GetDlgCtrlID(child));
  }
  std::vector<int> expected;
  for (ControlId id : {ControlId::按钮4, ControlId::标签2, ControlId::按钮3, ControlId::按钮2, ControlId::编辑框2,
                       ControlId::进度条1, ControlId::按钮1, ControlId::编辑框1, ControlId::标签1}) {
    expected.push_back(NativeControlId(id));
  }
  EXPECT_EQ(stack, expected);
}

TEST_F(MainWindowTest, TheWindowCarriesTheSixteenColourIconsAtTheirSizes) {
  const struct {
    WPARAM which;
    LONG size;
  } cases[] = {{ICON_BIG, 32}, {ICON_SMALL, 16}};
  for (const auto& c : cases) {
    const auto shown = reinterpret_cast<HICON>(SendMessageA(main, WM_GETICON, c.which, 0));
    ASSERT_NE(shown, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(shown, &info));
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, c.size);
    if (info.hbmColor != nullptr) {
      BITMAP colour{};
      GetObjectA(info.hbmColor, sizeof(colour), &colour);
      EXPECT_EQ(colour.bmHeight, c.size);
      DeleteObject(info.hbmColor);
    }
    DeleteObject(info.hbmMask);
  }
}

TEST_F(MainWindowTest, ThePathBoxShowsItsLineInTheMiddleAndItsBandsCountAsBorder) {
  const HWND box = Child(ControlId::编辑框1);
  RECT client{};
  GetClientRect(box, &client);
  HDC dc = GetDC(box);
  HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE line{};
  GetTextExtentPoint32A(dc, "W", 1, &line);
  SelectObject(dc, previous);
  ReleaseDC(box, dc);
  EXPECT_EQ(client.bottom, line.cy);

  RECT outer{};
  GetWindowRect(box, &outer);
  POINT origin{0, 0};
  ClientToScreen(box, &origin);
  const int edge = origin.x - outer.left;
  EXPECT_EQ(origin.y - outer.top - edge, (24 - 2 * edge - line.cy) / 2) << "half the spare height above";

  auto hitAt = [&](int x, int y) { return SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
  EXPECT_EQ(hitAt(origin.x + 20, origin.y + line.cy / 2), HTCLIENT);
  EXPECT_EQ(hitAt(origin.x + 20, outer.top + edge), HTBORDER);
  EXPECT_EQ(hitAt(origin.x + 20, outer.bottom - edge - 1), HTBORDER);
}

TEST_F(MainWindowTest, EditBoxesAnswerTheColourRequestWithTheirBackground) {
  HDC dc = GetDC(main);
  const struct {
    ControlId id;
    UINT request;
    COLORREF background;
  } cases[] = {{ControlId::编辑框1, WM_CTLCOLOREDIT, RGB(255, 255, 255)},
               {ControlId::编辑框2, WM_CTLCOLORSTATIC, GetSysColor(COLOR_BTNFACE)}};
  for (const auto& c : cases) {
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(main, c.request, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Child(c.id))));
    LOGBRUSH logBrush{};
    ASSERT_NE(GetObjectA(brush, sizeof(logBrush), &logBrush), 0);
    EXPECT_EQ(logBrush.lbColor, c.background);
    EXPECT_EQ(GetBkColor(dc), c.background);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  }
  ReleaseDC(main, dc);
}

TEST_F(MainWindowTest, TheFocusStartsInThePathBoxAndTabSkipsDisabledButtons) {
  EXPECT_EQ(GetFocus(), Child(ControlId::编辑框1));
  SetFocus(Child(ControlId::编辑框1));

  std::vector<int> forward;
  for (int i = 0; i < 4; ++i) {
    PressKey(VK_TAB);
    forward.push_back(GetDlgCtrlID(GetFocus()));
  }
  std::vector<int> backward;
  for (int i = 0; i < 4; ++i) {
    PressKey(VK_TAB, true);
    backward.push_back(GetDlgCtrlID(GetFocus()));
  }

  auto ids = [](std::initializer_list<ControlId> controls) {
    std::vector<int> result;
    for (ControlId id : controls) result.push_back(NativeControlId(id));
    return result;
  };
  EXPECT_EQ(forward, ids({ControlId::按钮1, ControlId::编辑框2, ControlId::按钮4, ControlId::编辑框1}));
  EXPECT_EQ(backward, ids({ControlId::按钮4, ControlId::编辑框2, ControlId::按钮1, ControlId::编辑框1}));
}

TEST_F(MainWindowTest, TheFocusComesBackToTheControlThatHadItWhenTheWindowIsActivatedAgain) {
  SetFocus(Child(ControlId::按钮4));
  const HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetActiveWindow(other);
  PumpMessages();
  EXPECT_NE(GetFocus(), Child(ControlId::按钮4));

  SetActiveWindow(main);
  PumpMessages();
  EXPECT_EQ(GetFocus(), Child(ControlId::按钮4));
  DestroyWindow(other);
}

TEST_F(MainWindowTest, EnterDoesNothingAndEscClosesTheWindow) {
  SetFocus(Child(ControlId::按钮1));
  PressKey(VK_RETURN);
  SetFocus(Child(ControlId::编辑框1));
  PressKey(VK_RETURN);
  PumpMessages();
  EXPECT_EQ(log, "");
  EXPECT_EQ(GetFocus(), Child(ControlId::编辑框1));
  EXPECT_EQ(TextOf(Child(ControlId::编辑框1)), "");

  PressKey(VK_ESCAPE);
  PumpMessages();
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(window->Exists());
  EXPECT_EQ(destroyedCalls, 1);

  using testing::FatalMessageOf;
  EXPECT_EQ(FatalMessageOf([&] { window->SetProperty(ControlId::按钮1, Property::Disabled, true); }),
            "未载入欲访问窗口组件所在的窗口");
  EXPECT_EQ(FatalMessageOf([&] { window->AppendText(ControlId::编辑框2, {"a"}); }),
            "指定窗口或窗口组件不存在或尚未载入");
}

TEST_F(MainWindowTest, AControlWhoseWindowIsGoneEndsTheProgramOnItsKindProperties) {
  DestroyWindow(Child(ControlId::编辑框1));
  window->SetProperty(ControlId::编辑框1, Property::Disabled, true);
  EXPECT_TRUE(window->GetProperty(ControlId::编辑框1, Property::Disabled).AsBool());
  EXPECT_EQ(testing::FatalMessageOf([&] { window->SetProperty(ControlId::编辑框1, Property::Content, "x"); }),
            "指定窗口尚未载入");
}

TEST_F(MainWindowTest, OnlyEnabledButtonsReportClicks) {
  SendMessageA(Child(ControlId::按钮3), BM_CLICK, 0, 0);
  window->SetProperty(ControlId::按钮2, Property::Disabled, false);
  EXPECT_TRUE(IsWindowEnabled(Child(ControlId::按钮2)));
  SendMessageA(Child(ControlId::按钮2), BM_CLICK, 0, 0);
  SendMessageA(Child(ControlId::按钮1), BM_CLICK, 0, 0);
  PumpMessages();
  EXPECT_EQ(log, "start;open;");
}

TEST_F(MainWindowTest, DisablingTheFocusedButtonPassesTheFocusOn) {
  SetFocus(Child(ControlId::按钮1));
  window->SetProperty(ControlId::按钮1, Property::Disabled, true);
  EXPECT_FALSE(IsWindowEnabled(Child(ControlId::按钮1)));
  EXPECT_EQ(GetFocus(), Child(ControlId::编辑框2));
  EXPECT_TRUE(window->GetProperty(ControlId::按钮1, Property::Disabled).AsBool());
}

TEST_F(MainWindowTest, AContentWriteRaisesOneEventAfterTheTextIsInPlace) {
  const HWND box = Child(ControlId::编辑框1);
  std::string seen;
  events.SetEventTable(ControlId::编辑框1, {{kEditContentChanged, [&] { seen += TextOf(box) + ";"; }}});

  window->SetProperty(ControlId::编辑框1, Property::Content, "C:\\数据\\a.doc");
  window->SetProperty(ControlId::编辑框1, Property::Content, "C:\\数据\\a.doc");
  window->SetProperty(ControlId::编辑框1, Property::Content, Text());
  window->SetProperty(ControlId::编辑框1, Property::Content, "");

  EXPECT_EQ(seen, "C:\\数据\\a.doc;C:\\数据\\a.doc;;;");
}

TEST_F(MainWindowTest, TheUsersTypingReachesTheBoxesChangeEvent) {
  int changes = 0;
  events.SetEventTable(ControlId::编辑框1, {{kEditContentChanged, [&] { ++changes; }}});
  SendMessageA(Child(ControlId::编辑框1), WM_CHAR, 'x', 0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(window->GetProperty(ControlId::编辑框1, Property::Content).AsText(), "x");
}

// Whether the caret stands after the last character with nothing selected. Edit positions count
// bytes in an ANSI box on Windows and characters under Wine; the box's own line measures use the
// same unit as its selection.
bool CaretAtEnd(HWND box) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const auto lastLine = SendMessageA(box, EM_GETLINECOUNT, 0, 0) - 1;
  const auto lastLineStart = SendMessageA(box, EM_LINEINDEX, lastLine, 0);
  const auto textEnd = lastLineStart + SendMessageA(box, EM_LINELENGTH, lastLineStart, 0);
  return start == end && static_cast<LRESULT>(start) == textEnd;
}

TEST_F(MainWindowTest, EachAppendedPieceRaisesOneEventAndTheLogHandlerKeepsTheCaretAtTheEnd) {
  const HWND log2 = Child(ControlId::编辑框2);
  std::vector<std::string> seen;
  events.SetEventTable(ControlId::编辑框2, {{kEditContentChanged, [&] {
                                               window->SetProperty(ControlId::编辑框2, Property::SelectionStart,
                                                                   int32_t{-1});
                                               seen.push_back(TextOf(log2) + (CaretAtEnd(log2) ? "|" : "?"));
                                             }}});

  window->AppendText(ControlId::编辑框2, {"文件名：a.doc\r\n"});
  window->AppendText(ControlId::编辑框2, {"目录：C:", "\r\n", "", "x"});  // an empty piece changes nothing

  EXPECT_EQ(seen, (std::vector<std::string>{"文件名：a.doc\r\n|", "文件名：a.doc\r\n目录：C:|",
                                            "文件名：a.doc\r\n目录：C:\r\n|", "文件名：a.doc\r\n目录：C:\r\nx|"}));
  EXPECT_EQ(window->GetProperty(ControlId::编辑框2, Property::SelectionStart).AsInt(), 26) << "bytes";
}

TEST_F(MainWindowTest, ALongLogLineWrapsAndTheLastLineStaysInView) {
  const HWND log2 = Child(ControlId::编辑框2);
  events.SetEventTable(ControlId::编辑框2, {{kEditContentChanged, [&] {
                                               window->SetProperty(ControlId::编辑框2, Property::SelectionStart,
                                                                   int32_t{-1});
                                             }}});
  window->AppendText(ControlId::编辑框2, {std::string(200, 'w') + "\r\n"});
  EXPECT_GT(SendMessageA(log2, EM_GETLINECOUNT, 0, 0), 2) << "wrapped, not scrolled sideways";
  for (int i = 0; i < 20; ++i) window->AppendText(ControlId::编辑框2, {"line\r\n"});
  const auto lines = SendMessageA(log2, EM_GETLINECOUNT, 0, 0);
  const auto first = SendMessageA(log2, EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(first, 0);
  EXPECT_GE(first + 6, lines - 1) << "the last line is among the visible ones";
}

TEST_F(MainWindowTest, PositionIsStoredClampedAndShownWithinTheRange) {
  const HWND bar = Child(ControlId::进度条1);
  const struct {
    int32_t written, stored, shown;
  } cases[] = {{40, 40, 40}, {150, 150, 100}, {-5, 0, 0}, {40000, 32767, 100}};
  for (const auto& c : cases) {
    window->SetProperty(ControlId::进度条1, Property::Position, c.written);
    EXPECT_EQ(window->GetProperty(ControlId::进度条1, Property::Position).AsInt(), c.stored);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), c.shown);
  }
}

TEST_F(MainWindowTest, SelectionStartMinusOneOnAnEmptyBoxPutsTheCaretAtZero) {
  window->SetProperty(ControlId::编辑框2, Property::SelectionStart, int32_t{-1});
  DWORD start = 99;
  DWORD end = 99;
  SendMessageA(Child(ControlId::编辑框2), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
}

class TempFile {
 public:
  explicit TempFile(const char* name) {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    path_ = std::string(directory) + name;
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (file != nullptr) std::fclose(file);
  }
  ~TempFile() { DeleteFileA(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST_F(MainWindowTest, TheDialogConfirmsAChoiceStartsFromItNextTimeAndCancelKeepsIt) {
  const TempFile first("zuzar-ui-first.txt");
  const TempFile second("zuzar-ui-second.txt");

  ASSERT_TRUE(RunDialog([&](HWND dialog) {
    SetDlgItemTextA(dialog, kDialogNameBox, first.path().c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  }));
  EXPECT_EQ(window->GetProperty(ControlId::通用对话框1, Property::FileName).AsText(), first.path());

  std::string shownName;
  EXPECT_FALSE(RunDialog([&](HWND dialog) {
    char name[MAX_PATH] = {};
    GetDlgItemTextA(dialog, kDialogNameBox, name, MAX_PATH);
    shownName = name;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }));
  EXPECT_NE(shownName, "");
  EXPECT_NE(first.path().find(shownName), std::string::npos) << shownName;
  EXPECT_EQ(window->GetProperty(ControlId::通用对话框1, Property::FileName).AsText(), first.path());

  ASSERT_TRUE(RunDialog([&](HWND dialog) {
    SetDlgItemTextA(dialog, kDialogNameBox, second.path().c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  }));
  EXPECT_EQ(window->GetProperty(ControlId::通用对话框1, Property::FileName).AsText(), second.path());
}

}  // namespace
}  // namespace zuzar
