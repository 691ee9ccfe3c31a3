// The skin as a user meets it: the two files the program leaves beside itself, later starts that
// find them there, a folder the program cannot write to, and the window drawn in the skin's colours
// from its first show through a shredding run, with screenshots left in the build tree.
//
// Wine differs from Windows in one thing that matters here: it lets a create-always open replace a
// hidden or system file, so a later start rewrites the files instead of being refused (and, run as
// root, a read-only one too). The start that must use an earlier copy is therefore shown with copies
// that another program holds open, which Wine refuses to replace as Windows does.

#include <windows.h>

#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "skin/skin_file.h"
#include "skin/skin_look.h"
#include "tests/e2e/zuzar_session.h"

namespace zuzar::e2e {
namespace {

using skin::Colour;
using skin::Rgb;

constexpr DWORD kHiddenAndSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr char kErrorText[] =
    "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“jedata.dll”中的输出命令“SkinH_AttachEx”\r\n";

std::string LibraryIn(const std::string& folder) { return folder + "\\jedata.dll"; }
std::string SkinIn(const std::string& folder) { return folder + "\\皮肤.she"; }

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(bytes.data()),
                                                                static_cast<std::streamsize>(bytes.size()));
}

const std::vector<uint8_t>& BuiltLibrary() {
  static const std::vector<uint8_t> bytes = ReadAll(BuildTreePath(ZUZAR_E2E_SKIN_ENGINE));
  return bytes;
}

const std::vector<uint8_t>& BuiltSkin() {
  static const std::vector<uint8_t> bytes = ReadAll(BuildTreePath(ZUZAR_E2E_SKIN_FILE));
  return bytes;
}

skin::Skin ReadTheSkin(const std::vector<uint8_t>& file) {
  const skin::ReadResult read = skin::ReadSkin(file.data(), file.size(), "");
  if (!read.skin) throw SessionFailure("the built skin cannot be read");
  return *read.skin;
}

const skin::Skin& TheSkin() {
  static const skin::Skin skin = ReadTheSkin(BuiltSkin());
  return skin;
}

// The attribute bits a user sees; Wine shows every file with the archive bit besides.
DWORD MarksOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return attributes;
  return attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

// The stored block: u32 1, u32 N, the N bytes.
bool CarriesBlock(const std::vector<uint8_t>& program, const std::vector<uint8_t>& content) {
  std::vector<uint8_t> block = {1, 0, 0, 0};
  for (int shift = 0; shift < 32; shift += 8) block.push_back(static_cast<uint8_t>(content.size() >> shift));
  block.insert(block.end(), content.begin(), content.end());
  return std::search(program.begin(), program.end(), block.begin(), block.end()) != program.end();
}

// The program's modules by their full paths, lower-cased.
std::vector<std::string> ModulesOf(DWORD processId) {
  std::vector<std::string> paths;
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
  if (!snapshot) return paths;
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32First(snapshot.get(), &module); more; more = Module32Next(snapshot.get(), &module)) {
    std::string path = module.szExePath;
    std::transform(path.begin(), path.end(), path.begin(), [](char c) { return static_cast<char>(tolower(c)); });
    paths.push_back(path);
  }
  return paths;
}

bool LoadsEngineFrom(const ZuzarSession& session, const std::string& folder) {
  std::string expected = LibraryIn(folder);
  std::transform(expected.begin(), expected.end(), expected.begin(),
                 [](char c) { return static_cast<char>(tolower(c)); });
  const std::vector<std::string> modules = ModulesOf(session.ProcessId());
  return std::find(modules.begin(), modules.end(), expected) != modules.end();
}

// What the screen shows of a window, frame included: pixels 0x00RRGGBB, top row first.
struct WindowImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  Rgb At(POINT p) const {
    if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) return Rgb{1, 2, 3};
    const uint32_t pixel = pixels[static_cast<size_t>(p.y) * width + p.x];
    return Rgb{static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel)};
  }
  bool operator==(const WindowImage& other) const { return pixels == other.pixels; }
};

WindowImage Capture(HWND window) {
  const RECT bounds = ScreenRect(window);
  WindowImage image;
  image.width = bounds.right - bounds.left;
  image.height = bounds.bottom - bounds.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  const BOOL copied = BitBlt(memory, 0, 0, image.width, image.height, screen, bounds.left, bounds.top, SRCCOPY);
  GdiFlush();
  if (copied && bits) {
    const auto* data = static_cast<const uint32_t*>(bits);
    image.pixels.assign(data, data + static_cast<size_t>(image.width) * image.height);
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (image.pixels.empty()) throw SessionFailure("cannot copy the window from the screen");
  return image;
}

// A 24-bit BMP in the artefact folder, for a person to look at.
void Save(const WindowImage& image, const std::string& name) {
  const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> rows(stride * image.height);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint32_t pixel = image.pixels[static_cast<size_t>(y) * image.width + x];
      uint8_t* out = &rows[stride * y + 3 * x];
      out[0] = static_cast<uint8_t>(pixel);
      out[1] = static_cast<uint8_t>(pixel >> 8);
      out[2] = static_cast<uint8_t>(pixel >> 16);
    }
  }
  WriteBmp(BuildTreePath(ArtifactFolder() + "/" + name), image.width, -image.height, rows);  // top row first
}

Rgb Platform(int systemColour) {
  const COLORREF colour = GetSysColor(systemColour);
  return Rgb{GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

std::string Describe(Rgb rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb.red, rgb.green, rgb.blue);
  return text;
}

// A point of a control, or of the window's client area for ControlId::Window, in the window's image;
// negative coordinates count from the right or bottom edge.
POINT InWindow(const ZuzarSession& session, ControlId id, int x, int y) {
  const RECT window = ScreenRect(session.MainWindow());
  RECT area = {};
  if (id == ControlId::Window) {
    GetClientRect(session.MainWindow(), &area);
    MapWindowPoints(session.MainWindow(), HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
  } else {
    area = ScreenRect(session.Control(id));
  }
  return POINT{area.left - window.left + (x >= 0 ? x : area.right - area.left + x),
               area.top - window.top + (y >= 0 ? y : area.bottom - area.top + y)};
}

// A point of the caption band away from the icon, the title and the close button.
POINT InCaption(const ZuzarSession& session) {
  const HWND window = session.MainWindow();
  const RECT bounds = ScreenRect(window);
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const skin::Rect clientInWindow{origin.x - bounds.left, origin.y - bounds.top,
                                  origin.x - bounds.left + client.right, origin.y - bounds.top + client.bottom};
  const skin::CaptionParts parts =
      skin::LayoutCaption(bounds.right - bounds.left, clientInWindow, true, true, TheSkin());
  return POINT{parts.close.left - 10, parts.caption.top + 2};
}

Colour CaptionColour(const ZuzarSession& session) {
  return skin::FrameColour(GetForegroundWindow() == session.MainWindow());
}

struct Probe {
  const char* what;
  ControlId control;
  int x, y;
  Colour expected;
  int platformColour;  // what an unskinned window shows there
};

void ExpectProbes(const ZuzarSession& session, const WindowImage& image, const skin::Skin& skin,
                  std::initializer_list<Probe> probes) {
  for (const Probe& probe : probes) {
    SCOPED_TRACE(probe.what);
    const Rgb expected = skin[probe.expected];
    ASSERT_NE(expected, Platform(probe.platformColour)) << "the check would not tell the skin from the platform";
    EXPECT_EQ(Describe(image.At(InWindow(session, probe.control, probe.x, probe.y))), Describe(expected));
  }
}

void ExpectSkinnedCaption(const ZuzarSession& session, const WindowImage& image, const skin::Skin& skin) {
  const Rgb expected = skin[CaptionColour(session)];
  ASSERT_NE(expected, Platform(COLOR_ACTIVECAPTION));
  ASSERT_NE(expected, Platform(COLOR_INACTIVECAPTION));
  EXPECT_EQ(Describe(image.At(InCaption(session))), Describe(expected)) << "caption";
}

// The darkest pixel of a control, to tell drawn text from an empty surface.
int DarkestIn(const ZuzarSession& session, const WindowImage& image, ControlId id) {
  const RECT control = ScreenRect(session.Control(id));
  int darkest = 255;
  for (int y = 2; y < control.bottom - control.top - 2; ++y) {
    for (int x = 2; x < control.right - control.left - 2; ++x) {
      const Rgb rgb = image.At(InWindow(session, id, x, y));
      darkest = std::min(darkest, (rgb.red + rgb.green + rgb.blue) / 3);
    }
  }
  return darkest;
}

// A skin that differs from ours where the checks look: caption and push buttons.
std::vector<uint8_t> MarkedSkin() {
  std::vector<uint8_t> file = BuiltSkin();
  auto u16 = [&file](size_t at) { return static_cast<size_t>(file.at(at) | file.at(at + 1) << 8); };
  auto u32 = [&u16](size_t at) { return u16(at) | u16(at + 2) << 16; };
  const Rgb marker{0x8E, 0x2C, 0x2C};
  for (size_t section = 0; section < u16(skin::layout::kSectionCount); ++section) {
    const size_t entry = skin::layout::kHeaderSize + section * skin::layout::kSectionEntrySize;
    if (std::string(file.begin() + entry, file.begin() + entry + 4) != "COLR") continue;
    const size_t start = u32(entry + 4);
    for (size_t i = 0; i < u16(start); ++i) {
      const size_t colour = start + 4 + 6 * i;
      const auto key = static_cast<Colour>(u16(colour));
      if (key == Colour::FrameActive || key == Colour::FrameInactive || key == Colour::ButtonFace) {
        file[colour + 2] = marker.red;
        file[colour + 3] = marker.green;
        file[colour + 4] = marker.blue;
      }
    }
  }
  skin::SealSkinFile(file);
  return file;
}

ZuzarSession::Options InFolder(const std::string& folder) {
  ZuzarSession::Options options;
  options.programFolder = folder;
  return options;
}

TEST(SkinInstallation, FirstStartWritesBothFilesBesideTheProgramHiddenAndSystem) {
  ASSERT_GT(BuiltLibrary().size(), 2u);
  ASSERT_GT(BuiltSkin().size(), 4u);
  ASSERT_EQ(std::string(BuiltLibrary().begin(), BuiltLibrary().begin() + 2), "MZ");
  ASSERT_EQ(std::string(BuiltSkin().begin(), BuiltSkin().begin() + 4), ".SHE");

  // The session starts the program from a folder of its own, apart from the program's.
  ZuzarSession session;
  const std::string folder = session.ProgramFolder();
  EXPECT_EQ(MarksOf(LibraryIn(folder)), kHiddenAndSystem);
  EXPECT_EQ(MarksOf(SkinIn(folder)), kHiddenAndSystem);
  const std::vector<uint8_t> library = ReadAll(LibraryIn(folder));
  const std::vector<uint8_t> skin = ReadAll(SkinIn(folder));
  EXPECT_TRUE(library == BuiltLibrary()) << "jedata.dll: " << library.size() << " bytes";
  EXPECT_TRUE(skin == BuiltSkin()) << "皮肤.she: " << skin.size() << " bytes";
  // What was written is what the program carries, less the block's 8-byte header.
  const std::vector<uint8_t> program = ReadAll(session.ProgramCopy());
  EXPECT_TRUE(CarriesBlock(program, library));
  EXPECT_TRUE(CarriesBlock(program, skin));
  EXPECT_TRUE(LoadsEngineFrom(session, folder));
  EXPECT_TRUE(NamesIn(session.StartDirectory()).empty()) << "nothing lands in the start directory";

  PostMessageA(session.MainWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(session.WaitForExit(), 0u);
  EXPECT_EQ(MarksOf(LibraryIn(folder)), kHiddenAndSystem) << "closing leaves the files";
  EXPECT_EQ(MarksOf(SkinIn(folder)), kHiddenAndSystem);
}

TEST(SkinInstallation, ALaterStartWorksWithTheFilesTheFirstLeft) {
  TempFolder folder("zuzar-skin");
  CopyProgramInto(folder.path());
  {
    ZuzarSession first(InFolder(folder.path()));
    PostMessageA(first.MainWindow(), WM_CLOSE, 0, 0);
    ASSERT_EQ(first.WaitForExit(), 0u);
  }
  ZuzarSession second(InFolder(folder.path()));
  EXPECT_TRUE(ReadAll(LibraryIn(folder.path())) == BuiltLibrary());
  EXPECT_TRUE(ReadAll(SkinIn(folder.path())) == BuiltSkin());
  EXPECT_EQ(MarksOf(LibraryIn(folder.path())), kHiddenAndSystem);
  EXPECT_EQ(MarksOf(SkinIn(folder.path())), kHiddenAndSystem);
  EXPECT_TRUE(LoadsEngineFrom(second, folder.path()));
  ExpectSkinnedCaption(second, Capture(second.MainWindow()), TheSkin());
}

// What an earlier start, or anyone else, left beside the program decides what the engine gets: a
// copy that can be overwritten is replaced by the carried one; a copy whose write is refused (on
// Windows a hidden or system one; here one that another program holds open, as a running copy of
// zuzar holds its engine) is used as it is, and marked again.
TEST(SkinInstallation, WhatLiesBesideTheProgramDecidesWhatTheEngineGets) {
  struct Case {
    const char* name;
    std::vector<uint8_t> library;
    DWORD attributes;
    bool keptAsItWas;  // held open for reading, which lets the engine load and read but not the write
  };
  const std::vector<uint8_t> stale = {'M', 'Z', ' ', 's', 't', 'a', 'l', 'e'};
  const Case cases[] = {
      {"a stale copy, neither hidden nor system", stale, FILE_ATTRIBUTE_NORMAL, false},
      {"copies held open by another program", BuiltLibrary(), kHiddenAndSystem, true},
  };
  const std::vector<uint8_t> markedSkin = MarkedSkin();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder("zuzar-skin");
    CopyProgramInto(folder.path());
    WriteAll(LibraryIn(folder.path()), c.library);
    WriteAll(SkinIn(folder.path()), markedSkin);
    SetFileAttributesA(LibraryIn(folder.path()).c_str(), c.attributes);
    SetFileAttributesA(SkinIn(folder.path()).c_str(), c.attributes);
    std::vector<UniqueHandle> held;
    if (c.keptAsItWas) {
      for (const std::string& path : {LibraryIn(folder.path()), SkinIn(folder.path())}) {
        held.emplace_back(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.back());
      }
    }

    ZuzarSession session(InFolder(folder.path()));
    const WindowImage image = Capture(session.MainWindow());
    held.clear();
    EXPECT_TRUE(ReadAll(LibraryIn(folder.path())) == (c.keptAsItWas ? c.library : BuiltLibrary()));
    EXPECT_TRUE(ReadAll(SkinIn(folder.path())) == (c.keptAsItWas ? markedSkin : BuiltSkin()));
    EXPECT_EQ(MarksOf(LibraryIn(folder.path())), kHiddenAndSystem);
    EXPECT_EQ(MarksOf(SkinIn(folder.path())), kHiddenAndSystem);
    ExpectSkinnedCaption(session, image, c.keptAsItWas ? ReadTheSkin(markedSkin) : TheSkin());
  }
}

// Run by skin_read_only_folder.sh, which makes a folder holding only zuzar.exe immutable and names
// it here; skipped in the ordinary run.
TEST(SkinInstallation, ReadOnlyFolderWithoutCopiesEndsWithTheErrorBoxAlone) {
  const char* folder = std::getenv("ZUZAR_E2E_READ_ONLY_FOLDER");
  if (!folder || !*folder) GTEST_SKIP() << "needs the read-only folder that skin_read_only_folder.sh prepares";
  ASSERT_FALSE(CreateDirectoryA((std::string(folder) + "\\probe").c_str(), nullptr)) << "the folder is writable";

  ZuzarSession::Options options = InFolder(folder);
  options.waitForMainWindow = false;
  ZuzarSession session(options);
  HWND box = nullptr;
  WaitUntil(15000, "the error box", [&] {
    EXPECT_FALSE(session.MainWindowShown());
    const std::vector<HWND> dialogs = session.Dialogs();
    if (dialogs.empty()) return false;
    box = dialogs.front();
    return true;
  });
  Sleep(500);  // a second box would be up by now
  EXPECT_EQ(session.Dialogs().size(), 1u);
  EXPECT_EQ(ReadWindowText(box), "错误");
  EXPECT_EQ(session.MessageBoxText(box), kErrorText);
  EXPECT_FALSE(session.MainWindowShown());

  session.AnswerMessageBox(box, IDOK);
  WaitUntil(15000, "the end of the program", [&] {
    EXPECT_FALSE(session.MainWindowShown());
    return session.HasExited();
  });
  EXPECT_EQ(session.WaitForExit(), static_cast<DWORD>(-1));
  EXPECT_EQ(GetFileAttributesA(LibraryIn(folder).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA(SkinIn(folder).c_str()), INVALID_FILE_ATTRIBUTES);
}

// The window from its first show on, through the states a user sees, each left as a screenshot in
// the build tree: NoFile, FileHeld with the log filled, and a shredding run between two steps of the
// progress bar, while the program's thread sleeps.
TEST(SkinInstallation, TheWindowIsDrawnInTheSkinFromItsFirstShow) {
  SetCursorPos(0, 0);  // no button is hot
  ZuzarSession::Options options;
  options.waitForMainWindow = false;
  ZuzarSession session(options);
  WaitUntil(15000, "the main window", [&] {
    if (session.HasExited()) throw SessionFailure("the program ended");
    return session.MainWindowShown();
  });
  // The engine is in the process by the time the window can first be seen: the created event ran
  // before the first show.
  EXPECT_TRUE(LoadsEngineFrom(session, session.ProgramFolder()));
  session.WaitForMainWindow();
  const skin::Skin& skin = TheSkin();

  const WindowImage noFile = Capture(session.MainWindow());
  Save(noFile, "skin-nofile.bmp");
  ExpectSkinnedCaption(session, noFile, skin);
  ExpectProbes(session, noFile, skin,
               {
                   {"client area", ControlId::Window, 20, 120, Colour::WindowBackground, COLOR_BTNFACE},
                   {"标签1 background", ControlId::标签1, -3, 8, Colour::WindowBackground, COLOR_BTNFACE},
                   {"按钮1 face", ControlId::按钮1, 8, 12, Colour::ButtonFace, COLOR_BTNFACE},
                   {"按钮1 border", ControlId::按钮1, 0, 12, Colour::ButtonBorder, COLOR_3DDKSHADOW},
                   {"按钮2 disabled face", ControlId::按钮2, 8, 16, Colour::ButtonDisabledFace, COLOR_BTNFACE},
               });

  TempFolder files("zuzar-skin-victim");
  const std::string victim = files.path() + "\\victim.txt";
  WriteAll(victim, std::vector<uint8_t>(4096, 'x'));
  session.Click(ControlId::按钮1);
  session.ChooseFileInOpenDialog(session.WaitForDialog(), victim);
  WaitUntil(15000, "FileHeld", [&] { return session.IsEnabled(ControlId::按钮2); });
  session.WaitUntilNoDialog();
  WaitUntil(5000, "the log", [&] { return !session.Text(ControlId::编辑框2).empty(); });
  Sleep(200);
  const WindowImage fileHeld = Capture(session.MainWindow());
  Save(fileHeld, "skin-fileheld.bmp");
  ExpectSkinnedCaption(session, fileHeld, skin);
  ExpectProbes(session, fileHeld, skin,
               {
                   {"按钮1 disabled face", ControlId::按钮1, 8, 12, Colour::ButtonDisabledFace, COLOR_BTNFACE},
                   {"按钮2 face", ControlId::按钮2, 8, 16, Colour::ButtonFace, COLOR_BTNFACE},
               });
  EXPECT_LT(DarkestIn(session, fileHeld, ControlId::编辑框2), 100) << "the log's lines are drawn";

  // During the run the thread sleeps between the steps; the frames that show the bar part-way are
  // kept, each that differs from the one before.
  session.Click(ControlId::按钮2);
  const HWND question = session.WaitForDialog();
  session.AnswerMessageBox(question, IDYES);
  const POINT barStart = InWindow(session, ControlId::进度条1, 4, 8);
  const POINT barEnd = InWindow(session, ControlId::进度条1, -5, 8);
  std::vector<WindowImage> partWay;
  const ULONGLONG end = GetTickCount64() + 3000;
  while (GetTickCount64() < end) {
    WindowImage frame = Capture(session.MainWindow());
    const bool started = frame.At(barStart) == skin[Colour::ProgressBar];
    const bool finished = frame.At(barEnd) == skin[Colour::ProgressBar];
    if (started && !finished && (partWay.empty() || !(partWay.back() == frame))) {
      partWay.push_back(std::move(frame));
    }
    Sleep(5);
  }
  ASSERT_FALSE(partWay.empty()) << "no frame shows the bar part-way";
  const WindowImage& shredding = partWay[partWay.size() / 2];
  Save(shredding, "skin-shredding.bmp");
  ExpectSkinnedCaption(session, shredding, skin);
  ExpectProbes(session, shredding, skin,
               {
                   {"bar done", ControlId::进度条1, 4, 8, Colour::ProgressBar, COLOR_HIGHLIGHT},
                   {"bar to do", ControlId::进度条1, -5, 8, Colour::ProgressTrack, COLOR_BTNFACE},
                   {"按钮2 disabled face", ControlId::按钮2, 8, 16, Colour::ButtonDisabledFace, COLOR_BTNFACE},
               });
  WaitUntil(15000, "the end of the run", [&] { return session.IsEnabled(ControlId::按钮1); });
}

}  // namespace
}  // namespace zuzar::e2e
