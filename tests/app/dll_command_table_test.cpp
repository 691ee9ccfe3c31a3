#include "app/dll_command_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/app/fakes.h"
#include "text/fatal.h"

namespace zuzar {
namespace {

using ::testing::ElementsAre;
using testing::FakeLibraryLoader;
using testing::ProgramEnded;

int32_t lastResult = 0;
std::string lastArguments;

int32_t RecordingAttach(const char* path, const char* password) {
  lastArguments = std::string(path) + "|" + password;
  return ++lastResult;
}

void* AttachAddress() { return reinterpret_cast<void*>(&RecordingAttach); }

// Turns the fatal report into an exception for the length of a test.
class DllCommandTableTest : public ::testing::Test {
 protected:
  testing::FatalReportThrows fatalReportThrows_;
  FakeLibraryLoader loader;
};

TEST(LibrarySearchPaths, ProgramDirectoryTwiceThenTheBareName) {
  EXPECT_THAT(LibrarySearchPaths("jedata.dll", "C:\\tools", "C:\\tools\\"),
              ElementsAre("C:\\tools\\jedata.dll", "C:\\tools\\jedata.dll", "jedata.dll"));
  // A program started from a drive root: "C:" and "C:\".
  EXPECT_THAT(LibrarySearchPaths("jedata.dll", "C:", "C:\\"),
              ElementsAre("C:\\jedata.dll", "C:\\jedata.dll", "jedata.dll"));
  // No directory at all: the first candidate is rooted, the second is the bare name.
  EXPECT_THAT(LibrarySearchPaths("jedata.dll", "", ""), ElementsAre("\\jedata.dll", "jedata.dll", "jedata.dll"));
}

TEST(LibrarySearchPaths, NameWithDriveIsTakenAsItIs) {
  EXPECT_THAT(LibrarySearchPaths("D:\\lib\\x.dll", "C:\\tools", "C:\\tools\\"), ElementsAre("D:\\lib\\x.dll"));
}

TEST(DllCommands, TheProgramDeclaresTheSkinAttachOnly) {
  const std::vector<DllCommand> commands = ProgramDllCommands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[kSkinHAttachEx].library, "jedata.dll");
  EXPECT_EQ(commands[kSkinHAttachEx].exportName, "SkinH_AttachEx");
  // The GBK bytes of the message, quotes included (A1 B0 and A1 B1).
  EXPECT_EQ(MissingDllCommandMessage(commands[0]),
            "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8" "DLL" "\xBF\xE2\xCE\xC4\xBC\xFE"
            "\xA1\xB0" "jedata.dll" "\xA1\xB1\xD6\xD0\xB5\xC4\xCA\xE4\xB3\xF6\xC3\xFC\xC1\xEE"
            "\xA1\xB0" "SkinH_AttachEx" "\xA1\xB1");
}

TEST_F(DllCommandTableTest, FirstCallLoadsFromTheProgramDirectoryAndCalls) {
  loader.AddLibrary("C:\\app\\jedata.dll", {{"SkinH_AttachEx", AttachAddress()}});
  DllCommandTable table(loader, "C:\\app", "C:\\app\\", ProgramDllCommands());

  lastResult = 0;
  EXPECT_EQ(CallDllCommand(table, kSkinHAttachEx, "C:\\app\\skin.she", ""), 1);
  EXPECT_EQ(lastArguments, "C:\\app\\skin.she|");
  EXPECT_THAT(loader.calls, ElementsAre("load C:\\app\\jedata.dll", "find SkinH_AttachEx in C:\\app\\jedata.dll"));
}

TEST_F(DllCommandTableTest, SecondCallUsesTheStoredFunction) {
  loader.AddLibrary("C:\\app\\jedata.dll", {{"SkinH_AttachEx", AttachAddress()}});
  DllCommandTable table(loader, "C:\\app", "C:\\app\\", ProgramDllCommands());

  lastResult = 0;
  CallDllCommand(table, kSkinHAttachEx, "a", "b");
  loader.calls.clear();
  EXPECT_EQ(CallDllCommand(table, kSkinHAttachEx, "c", "d"), 2);
  EXPECT_EQ(lastArguments, "c|d");
  EXPECT_THAT(loader.calls, ::testing::IsEmpty());
}

TEST_F(DllCommandTableTest, FallsBackToTheBareNameForTheSystemSearch) {
  loader.AddLibrary("jedata.dll", {{"SkinH_AttachEx", AttachAddress()}});
  DllCommandTable table(loader, "C:\\app", "C:\\app\\", ProgramDllCommands());

  EXPECT_EQ(table.Resolve(kSkinHAttachEx), AttachAddress());
  EXPECT_THAT(loader.calls, ElementsAre("load C:\\app\\jedata.dll", "load C:\\app\\jedata.dll", "load jedata.dll",
                                        "find SkinH_AttachEx in jedata.dll"));
}

TEST_F(DllCommandTableTest, ReleaseAllFreesTheModuleAndTheNextCallLoadsAgain) {
  loader.AddLibrary("C:\\app\\jedata.dll", {{"SkinH_AttachEx", AttachAddress()}});
  DllCommandTable table(loader, "C:\\app", "C:\\app\\", ProgramDllCommands());
  table.Resolve(kSkinHAttachEx);

  table.ReleaseAll();
  EXPECT_EQ(loader.StillLoaded(), 0u);
  EXPECT_EQ(loader.calls.back(), "release C:\\app\\jedata.dll");

  table.ReleaseAll();  // nothing left to release
  EXPECT_EQ(loader.calls.back(), "release C:\\app\\jedata.dll");
  loader.calls.clear();
  table.Resolve(kSkinHAttachEx);
  EXPECT_EQ(loader.calls.front(), "load C:\\app\\jedata.dll");
}

TEST_F(DllCommandTableTest, TheTableReleasesItsModulesWhenItGoes) {
  loader.AddLibrary("C:\\app\\jedata.dll", {{"SkinH_AttachEx", AttachAddress()}});
  {
    DllCommandTable table(loader, "C:\\app", "C:\\app\\", ProgramDllCommands());
    table.Resolve(kSkinHAttachEx);
  }
  EXPECT_EQ(loader.StillLoaded(), 0u);
}

TEST_F(DllCommandTableTest, MissingLibraryOrExportIsFatalAndLeavesNothingLoaded) {
  struct Case {
    const char* name;
    bool libraryExists;
  };
  for (const Case& c : {Case{"no library", false}, Case{"library without the export", true}}) {
    SCOPED_TRACE(c.name);
    FakeLibraryLoader fresh;
    if (c.libraryExists) fresh.AddLibrary("C:\\app\\jedata.dll", {{"SkinH_Attach", AttachAddress()}});
    DllCommandTable table(fresh, "C:\\app", "C:\\app\\", ProgramDllCommands());
    try {
      table.Resolve(kSkinHAttachEx);
      ADD_FAILURE() << "Resolve returned";
    } catch (const ProgramEnded& ended) {
      EXPECT_EQ(ended.message, MissingDllCommandMessage(ProgramDllCommands()[0]));
      EXPECT_EQ(ended.code, 0);
    }
    EXPECT_EQ(fresh.StillLoaded(), 0u);
  }
}

}  // namespace
}  // namespace zuzar
