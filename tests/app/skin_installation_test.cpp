// The skin installation over the real file layer, in a scratch directory made current, with a fake
// library loader whose SkinH_AttachEx looks at the disk at the moment it is called.
//
// Natively a backslash is an ordinary byte of a file name, so "<dir>\jedata.dll" is a file beside
// the directory, named "<dir name>\jedata.dll"; under Wine it lies inside the directory. The tests
// only ever use the paths the installation itself builds, so they hold on both. Linux has no hidden
// or system attribute: there the files stay writable (not read-only), and nothing refuses to
// overwrite them; the Windows build checks the attributes themselves.

#include "app/skin_installation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "app/embedded_bytes.h"
#include "fileio/byte_buffer.h"
#include "fileio/file_numbers.h"
#include "fileio/file_system.h"
#include "tests/app/fakes.h"
#include "text/fatal.h"

namespace zuzar {
namespace {

using ::testing::ElementsAre;
using testing::FakeLibraryLoader;
using testing::ProgramEnded;

std::string ContentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

std::string AsString(ByteBufferView block) {
  return block.empty() ? std::string() : std::string(reinterpret_cast<const char*>(block.data()), block.size());
}

// What a file carries of the hidden and system marks: its attribute bits on Windows; natively only
// whether it is read-only, the one bit Linux can carry. "marked" is what the installation leaves.
std::string MarksOf(const std::string& path) {
#if defined(_WIN32)
  // Wine shows every file with the archive bit, whatever was set.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  constexpr DWORD kLooked = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kLooked) == (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
    return "marked";
  }
  return "attributes " + std::to_string(attributes);
#else
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return "missing";
  return (status.st_mode & S_IWUSR) != 0 ? "marked" : "read-only";
#endif
}

// What the engine's entry sees when the installation calls it.
struct AttachCall {
  std::string skinPath;
  std::string password;
  std::string libraryOnDisk;
  std::string skinOnDisk;
  std::string libraryMarks;
  std::string skinMarks;
};

std::vector<AttachCall> attachCalls;
std::string libraryPathForAttach;

int32_t RecordingAttach(const char* skinPath, const char* password) {
  attachCalls.push_back(AttachCall{skinPath, password, ContentOf(libraryPathForAttach), ContentOf(skinPath),
                                   MarksOf(libraryPathForAttach), MarksOf(skinPath)});
  return 1;
}

void* AttachAddress() { return reinterpret_cast<void*>(&RecordingAttach); }

// Blocks in the stored layout; the content stands out from whatever an earlier start left.
class Block {
 public:
  explicit Block(const std::string& content)
      : buffer_(ByteBuffer::Copy(reinterpret_cast<const uint8_t*>(content.data()),
                                 static_cast<int32_t>(content.size()))) {}
  ByteBufferView view() const { return buffer_.view(); }

 private:
  ByteBuffer buffer_;
};

const std::string kLibrary = "MZ library of this start";
const std::string kSkin = ".SHE skin of this start";

class SkinInstallationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    root_ = std::filesystem::temp_directory_path() / ("zuzar-skin-" + std::to_string(stamp));
    std::filesystem::create_directories(root_ / "program");
    previousDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(root_ / "program");
    directory_ = std::string(GetCurrentDir().view());
    libraryPathForAttach = LibraryPath();
    attachCalls.clear();
  }

  void TearDown() override {
    CloseAllFiles();
    std::filesystem::current_path(previousDirectory_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  std::string LibraryPath() const { return directory_ + "\\jedata.dll"; }
  std::string SkinPath() const { return directory_ + "\\皮肤.she"; }

  // A loader that finds the engine exactly where the installation writes it; a fresh table, as at
  // every start of the program.
  void Install(const CarriedSkin& carried) {
    loader_.calls.clear();
    loader_.AddLibrary(LibraryPath(), {{"SkinH_AttachEx", AttachAddress()}});
    DllCommandTable table(loader_, directory_, directory_ + "\\", ProgramDllCommands());
    InstallSkin(table, carried);
    loaderCallsDuringInstall_ = loader_.calls;  // before the table lets the library go
  }

  FakeLibraryLoader loader_;
  std::vector<std::string> loaderCallsDuringInstall_;
  std::string directory_;

 private:
  std::filesystem::path root_;
  std::filesystem::path previousDirectory_;
  testing::FatalReportThrows fatalReportThrows_;
};

TEST_F(SkinInstallationTest, WritesAndMarksBothFilesThenHandsTheSkinToTheEngine) {
  const Block library(kLibrary), skin(kSkin);
  Install(CarriedSkin{library.view(), skin.view()});

  EXPECT_THAT(loaderCallsDuringInstall_, ElementsAre("load " + LibraryPath(), "find SkinH_AttachEx in " + LibraryPath()));
  ASSERT_EQ(attachCalls.size(), 1u);
  const AttachCall& call = attachCalls[0];
  EXPECT_EQ(call.skinPath, SkinPath());
  EXPECT_EQ(call.password, "");
  // Steps 1 to 4 are all done when the engine is called.
  EXPECT_EQ(call.libraryOnDisk, kLibrary);
  EXPECT_EQ(call.skinOnDisk, kSkin);
  EXPECT_EQ(call.libraryMarks, "marked");
  EXPECT_EQ(call.skinMarks, "marked");
  // The paths are the current directory's: the name's GBK bytes come right after it.
  EXPECT_EQ(SkinPath(), directory_ + "\\\xC6\xA4\xB7\xF4.she");
}

// What the disk holds before a start decides what the engine gets. A write is refused only for a
// file that someone holds open (on Windows also for the hidden and system files of an earlier
// start, which Wine and Linux do not refuse); every other file is replaced by the carried one.
TEST_F(SkinInstallationTest, AnEarlierCopyIsReplacedUnlessItsWriteIsRefused) {
  struct Case {
    const char* name;
    bool earlierCopy;
    bool heldOpen;
    std::string libraryAfter;
    std::string skinAfter;
  };
  const Case cases[] = {
      {"none", false, false, kLibrary, kSkin},
      {"a stale copy", true, false, kLibrary, kSkin},
      {"a copy held open by another opener", true, true, "MZ stale", ".SHE stale"},
  };
  const Block library(kLibrary), skin(kSkin);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    attachCalls.clear();
    std::filesystem::remove(LibraryPath());
    std::filesystem::remove(SkinPath());
    if (c.earlierCopy) {
      WriteFile(LibraryPath(), "MZ stale");
      WriteFile(SkinPath(), ".SHE stale");
    }
    // Held for reading with nobody else let in, as a running copy of the program holds its engine.
    const FileNumber heldLibrary = c.heldOpen ? OpenFile(LibraryPath().c_str(), 1, 4) : 0;
    const FileNumber heldSkin = c.heldOpen ? OpenFile(SkinPath().c_str(), 1, 4) : 0;

    Install(CarriedSkin{library.view(), skin.view()});
    CloseFile(heldLibrary);
    CloseFile(heldSkin);

    ASSERT_EQ(attachCalls.size(), 1u);
    EXPECT_EQ(attachCalls[0].skinPath, SkinPath());
    EXPECT_EQ(ContentOf(LibraryPath()), c.libraryAfter);
    EXPECT_EQ(ContentOf(SkinPath()), c.skinAfter);
    // The marks are set whether or not the write went through.
    EXPECT_EQ(MarksOf(LibraryPath()), "marked");
    EXPECT_EQ(MarksOf(SkinPath()), "marked");
  }
}

TEST_F(SkinInstallationTest, ASecondStartLeavesTheFilesAsTheFirstWroteThem) {
  const Block library(kLibrary), skin(kSkin);
  Install(CarriedSkin{library.view(), skin.view()});
  Install(CarriedSkin{library.view(), skin.view()});

  ASSERT_EQ(attachCalls.size(), 2u);
  EXPECT_EQ(attachCalls[1].skinPath, SkinPath());
  EXPECT_EQ(ContentOf(LibraryPath()), kLibrary);
  EXPECT_EQ(ContentOf(SkinPath()), kSkin);
  EXPECT_EQ(MarksOf(LibraryPath()), "marked");
  EXPECT_EQ(MarksOf(SkinPath()), "marked");
}

TEST_F(SkinInstallationTest, AnEngineThatCannotBeLoadedIsFatalAfterTheFilesAreWritten) {
  const Block library(kLibrary), skin(kSkin);
  FakeLibraryLoader nothingLoads;
  DllCommandTable table(nothingLoads, directory_, directory_ + "\\", ProgramDllCommands());
  try {
    InstallSkin(table, CarriedSkin{library.view(), skin.view()});
    ADD_FAILURE() << "InstallSkin returned";
  } catch (const ProgramEnded& ended) {
    EXPECT_EQ(ended.message, "无法找到指定DLL库文件“jedata.dll”中的输出命令“SkinH_AttachEx”");
    EXPECT_EQ(ended.code, 0);
  }
  EXPECT_THAT(nothingLoads.calls, ElementsAre("load " + LibraryPath(), "load " + LibraryPath(), "load jedata.dll"));
  EXPECT_TRUE(attachCalls.empty());
  EXPECT_EQ(ContentOf(LibraryPath()), kLibrary);
  EXPECT_EQ(ContentOf(SkinPath()), kSkin);
}

// The built files, by the path the build gives (UTF-8 natively; the ANSI code page under Wine).
std::string BuiltFile(const char* unixPath, const char* windowsPath) {
#if defined(_WIN32)
  (void)unixPath;
  return std::string("Z:") + windowsPath;
#else
  (void)windowsPath;
  return unixPath;
#endif
}

TEST_F(SkinInstallationTest, TheCreatedEventWritesTheBlocksThisBuildMade) {
  for (const ByteBufferView block : {SkinLibraryBytes(), SkinFileBytes()}) {
    uint32_t header[2];
    std::memcpy(header, block.block(), sizeof header);
    EXPECT_EQ(header[0], 1u);
    EXPECT_EQ(static_cast<int32_t>(header[1]), block.size());
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block.block()) % 4, 0u);
  }
  const std::string builtSkin = ContentOf(BuiltFile(reinterpret_cast<const char*>(u8"" ZUZAR_TEST_SKIN_FILE),
                                                    ZUZAR_TEST_SKIN_FILE));
  ASSERT_NE(builtSkin, "<missing>");
  EXPECT_EQ(AsString(SkinFileBytes()), builtSkin);
  EXPECT_EQ(AsString(SkinFileBytes()).substr(0, 4), ".SHE");
#if defined(ZUZAR_TEST_SKIN_LIBRARY)
  const std::string builtLibrary = ContentOf(BuiltFile(ZUZAR_TEST_SKIN_LIBRARY, ZUZAR_TEST_SKIN_LIBRARY));
  ASSERT_NE(builtLibrary, "<missing>");
  EXPECT_EQ(AsString(SkinLibraryBytes()), builtLibrary);
  EXPECT_EQ(AsString(SkinLibraryBytes()).substr(0, 2), "MZ");
#else
  // No engine is built natively: the program carries an empty block in its place.
  EXPECT_EQ(SkinLibraryBytes().size(), 0);
#endif

  loader_.AddLibrary(LibraryPath(), {{"SkinH_AttachEx", AttachAddress()}});
  DllCommandTable table(loader_, directory_, directory_ + "\\", ProgramDllCommands());
  OnMainWindowCreated(table);
  ASSERT_EQ(attachCalls.size(), 1u);
  EXPECT_EQ(attachCalls[0].libraryOnDisk, AsString(SkinLibraryBytes()));
  EXPECT_EQ(attachCalls[0].skinOnDisk, builtSkin);
}

}  // namespace
}  // namespace zuzar
