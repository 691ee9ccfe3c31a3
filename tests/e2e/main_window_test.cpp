// The main window as a user meets it: place, size, frame, controls, first state, focus, keys, and
// the ways to close it, checked on the running program under Wine.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "app/resource_ids.h"
#include "tests/e2e/zuzar_session.h"

namespace zuzar::e2e {
namespace {

struct ExpectedControl {
  ControlId id;
  const char* className;
  RECT rect;  // in the window's client area
  const char* caption;
  bool enabled;
};

// The layout as the user sees it when the program has started: the state NoFile.
const ExpectedControl kControls[] = {
    {ControlId::标签1, "ZuzarLabel", {56, 30, 176, 46}, "准备粉碎的文件：", true},
    {ControlId::编辑框1, "Edit", {56, 48, 408, 72}, "", true},
    {ControlId::按钮1, "Button", {344, 16, 408, 40}, "打开", true},
    {ControlId::进度条1, "msctls_progress32", {40, 266, 465, 282}, "", true},
    {ControlId::编辑框2, "Edit", {56, 75, 408, 176}, "", true},
    {ControlId::按钮2, "Button", {110, 184, 208, 216}, "开始粉碎", false},
    {ControlId::按钮3, "Button", {240, 184, 338, 216}, "撤  消", false},
    {ControlId::标签2, "ZuzarLabel", {8, 256, 40, 288}, "进程", true},
    {ControlId::按钮4, "Button", {176, 224, 272, 256}, "Norvik粉丝论坛", true},
};

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + ")";
}

TEST(MainWindow, StandsCentredAtItsFixedSizeWithACloseButtonOnly) {
  ZuzarSession session;
  const RECT outer = ScreenRect(session.MainWindow());
  EXPECT_EQ(outer.right - outer.left, 475);
  EXPECT_EQ(outer.bottom - outer.top, 321);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 475) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 321) / 2);

  const LONG style = GetWindowLongA(session.MainWindow(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN), WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_EQ(GetWindow(session.MainWindow(), GW_OWNER), nullptr);  // its own taskbar button
  EXPECT_EQ(session.Text(ControlId::Window), "zuzar");
}

TEST(MainWindow, EveryControlStandsInPlaceWithItsCaptionAndFirstState) {
  ZuzarSession session;
  std::set<HWND> children;
  for (const ExpectedControl& expected : kControls) {
    SCOPED_TRACE(expected.caption);
    HWND control = session.Control(expected.id);
    children.insert(control);
    EXPECT_EQ(ClassOf(control), expected.className);
    EXPECT_EQ(Describe(RectInParentClient(control)), Describe(expected.rect));
    EXPECT_EQ(session.Text(expected.id), expected.caption);
    EXPECT_EQ(session.IsEnabled(expected.id), expected.enabled);
    EXPECT_TRUE(IsWindowVisible(control));
  }
  // Nothing else: the open-file dialog has no window of its own.
  size_t childCount = 0;
  for (HWND child = GetWindow(session.MainWindow(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    ++childCount;
  }
  EXPECT_EQ(childCount, children.size());
}

TEST(MainWindow, FocusStartsInThePathBoxAndTabSkipsTheDisabledButtons) {
  ZuzarSession session;
  WaitUntil(5000, "the focus in 编辑框1",
            [&] { return session.FocusedWindow() == session.Control(ControlId::编辑框1); });

  const ControlId forward[] = {ControlId::按钮1, ControlId::编辑框2, ControlId::按钮4, ControlId::编辑框1};
  for (ControlId next : forward) {
    session.PressKey(VK_TAB);
    WaitUntil(5000, "Tab to control " + std::to_string(static_cast<int>(next)),
              [&] { return session.FocusedWindow() == session.Control(next); });
  }
  const ControlId backward[] = {ControlId::按钮4, ControlId::编辑框2, ControlId::按钮1, ControlId::编辑框1};
  for (ControlId next : backward) {
    session.PressKey(VK_TAB, true);
    WaitUntil(5000, "Shift+Tab to control " + std::to_string(static_cast<int>(next)),
              [&] { return session.FocusedWindow() == session.Control(next); });
  }
}

TEST(MainWindow, EnterChangesNothing) {
  ZuzarSession session;
  WaitUntil(5000, "the focus in 编辑框1",
            [&] { return session.FocusedWindow() == session.Control(ControlId::编辑框1); });
  session.PressKey(VK_RETURN);
  session.PressKey(VK_TAB);  // a later key shows that the Enter has been handled
  WaitUntil(5000, "Tab to 按钮1", [&] { return session.FocusedWindow() == session.Control(ControlId::按钮1); });
  session.PressKey(VK_RETURN);
  Sleep(300);
  EXPECT_FALSE(session.HasExited());
  EXPECT_TRUE(session.Dialogs().empty());  // Enter on 按钮1 pressed nothing: no open dialog
  EXPECT_EQ(session.FocusedWindow(), session.Control(ControlId::按钮1));
  EXPECT_EQ(session.Text(ControlId::编辑框1), "");
}

TEST(MainWindow, EscAndTheCloseButtonEndTheProgramWithExitCodeZero) {
  struct Way {
    const char* name;
    void (*close)(const ZuzarSession&);
  };
  const Way ways[] = {
      {"Esc", [](const ZuzarSession& s) { s.PressKey(VK_ESCAPE); }},
      {"close button", [](const ZuzarSession& s) { PostMessageA(s.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"WM_CLOSE", [](const ZuzarSession& s) { PostMessageA(s.MainWindow(), WM_CLOSE, 0, 0); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    ZuzarSession session;
    if (std::string(way.name) == "Esc") {
      WaitUntil(5000, "the focus in the window", [&] { return session.FocusedWindow() != nullptr; });
    }
    way.close(session);
    EXPECT_EQ(session.WaitForExit(), 0u);
  }
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Wine cannot answer WM_GETICON across processes, so the icon is checked where the window takes it
// from: the executable carries our icon file whole, and the file's icon group lists all twelve images.
TEST(MainWindow, TheProgramCarriesItsIcon) {
  ZuzarSession session;
  HMODULE image = LoadLibraryExA(session.ProgramCopy().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(image, nullptr);
  HRSRC data = FindResourceA(image, MAKEINTRESOURCEA(ZUZAR_ICON_FILE_DATA), RT_RCDATA);
  ASSERT_NE(data, nullptr);
  const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(image, data)));
  const std::vector<uint8_t> carried(bytes, bytes + SizeofResource(image, data));
  EXPECT_EQ(carried, ReadFile(ZUZAR_E2E_ICON_FILE));

  HRSRC group = FindResourceA(image, MAKEINTRESOURCEA(ZUZAR_ICON_GROUP), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const auto* directory = static_cast<const uint8_t*>(LockResource(LoadResource(image, group)));
  EXPECT_EQ(directory[4] | directory[5] << 8, 12);
  FreeLibrary(image);
}

// The pixels of the 4-bit image at `entry` of an icon file as DrawIconEx paints them over
// `background`: masked pixels show the background, the others their palette colour.
std::vector<uint32_t> SixteenColourPixels(const std::vector<uint8_t>& ico, size_t entry, uint32_t background) {
  auto u32 = [&ico](size_t at) { return ico[at] | ico[at + 1] << 8 | ico[at + 2] << 16 | uint32_t{ico[at + 3]} << 24; };
  const size_t image = u32(6 + 16 * entry + 12);
  const int size = ico[6 + 16 * entry];
  const size_t palette = image + 40, colours = palette + 16 * 4;
  const size_t xorRow = (size * 4 + 31) / 32 * 4, andRow = (size + 31) / 32 * 4;
  const size_t mask = colours + size * xorRow;
  std::vector<uint32_t> pixels;
  for (int y = 0; y < size; ++y) {
    const int row = size - 1 - y;  // bottom-up
    for (int x = 0; x < size; ++x) {
      const bool transparent = ico[mask + row * andRow + x / 8] & (0x80 >> (x % 8));
      const uint8_t pair = ico[colours + row * xorRow + x / 2];
      const size_t index = palette + 4 * (x % 2 ? pair & 0x0F : pair >> 4);
      pixels.push_back(transparent ? background : ico[index] | ico[index + 1] << 8 | ico[index + 2] << 16);
    }
  }
  return pixels;
}

// Asked from inside the program's thread: the window shows the icon file's 16-colour 32×32 image
// as its large icon and the 16-colour 16×16 image as its small one.
TEST(MainWindow, ShowsTheSixteenColourImagesAsLargeAndSmallIcon) {
  ZuzarSession session;
  const IconProbeResult icons = session.ProbeIcons();
  EXPECT_EQ(icons.bigWidth, 32);
  EXPECT_EQ(icons.bigHeight, 32);
  EXPECT_EQ(icons.smallWidth, 16);
  EXPECT_EQ(icons.smallHeight, 16);

  const std::vector<uint8_t> ico = ReadFile(ZUZAR_E2E_ICON_FILE);
  EXPECT_EQ(std::vector<uint32_t>(icons.bigPixels, icons.bigPixels + 32 * 32),
            SixteenColourPixels(ico, 2, kIconProbeBackground));
  EXPECT_EQ(std::vector<uint32_t>(icons.smallPixels, icons.smallPixels + 16 * 16),
            SixteenColourPixels(ico, 1, kIconProbeBackground));
}

TEST(MainWindow, Screenshot) {
  ZuzarSession session;
  WaitUntil(5000, "the focus in 编辑框1",
            [&] { return session.FocusedWindow() == session.Control(ControlId::编辑框1); });
  Sleep(500);  // let the first paint finish
  const std::string path = ArtifactFolder() + "/main_window.bmp";
  SaveScreenshot(path);
  std::printf("screenshot: %s\n", path.c_str());

  // Something was drawn where the window stands: many colours, not an empty screen.
  const std::vector<uint8_t> bmp = ReadFile(path);
  ASSERT_GT(bmp.size(), 54u);
  std::set<uint32_t> colours;
  for (size_t i = 54; i + 2 < bmp.size(); i += 3 * 7) colours.insert(bmp[i] | bmp[i + 1] << 8 | bmp[i + 2] << 16);
  EXPECT_GT(colours.size(), 8u);
}

}  // namespace
}  // namespace zuzar::e2e
