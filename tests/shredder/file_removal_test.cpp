#include "shredder/file_removal.h"

#include <string>

#include "tests/shredder/workbench_fixture.h"

namespace zuzar::testing {
namespace {

class FileRemovalTest : public WorkbenchTest {
 protected:
  RandomSource Counter() {
    return [this] { return randomCounter++; };
  }
};

bool DeclineSilently(const char*) { return true; }

TEST_F(FileRemovalTest, RandomSiblingKeepsTheDirectoryAndTheByteLength) {
  struct Case {
    const char* path;
    const char* directory;
    size_t nameLength;
  };
  const Case cases[] = {
      {"C:\\data\\report.doc", "C:\\data\\", 10},
      {"C:\\嘰嘰.txt", "C:\\", 8},  // a trail byte 0x5C is no separator
      {"dir/a.txt", "dir/", 5},
      {"report.doc", "", 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const Text sibling = MakeRandomSibling(c.path, Counter());
    const std::string_view text = sibling.view();
    ASSERT_EQ(text.size(), std::string_view(c.path).size());
    EXPECT_EQ(text.substr(0, std::string_view(c.directory).size()), c.directory);
    const std::string_view name = text.substr(std::string_view(c.directory).size());
    ASSERT_EQ(name.size(), c.nameLength);
    EXPECT_NE(std::string_view("0123456789").find(name[0]), std::string_view::npos)
        << "a leading digit keeps device names such as NUL away";
    EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789"), std::string_view::npos);
  }
  EXPECT_TRUE(MakeRandomSibling("C:\\", Counter()).IsNull()) << "no name, nothing to rename";
}

TEST_F(FileRemovalTest, RandomSiblingPassesOverANameInUse) {
  const Text first = MakeRandomSibling("victim.txt", Counter());
  MakeFile(first.c_str(), 1);
  randomCounter = 0;

  const Text second = MakeRandomSibling("victim.txt", Counter());

  EXPECT_NE(second.view(), first.view());
  EXPECT_FALSE(FileExistsAt(second.c_str()));
}

TEST_F(FileRemovalTest, RemovesTheFileAndLeavesNoName) {
  MakeFile("victim.txt", 3);

  EXPECT_TRUE(RemoveFileByName("victim.txt", Counter()));
  EXPECT_TRUE(ScratchNames().empty());
}

TEST_F(FileRemovalTest, RefusedDeletionRenamesTheFileBack) {
  MakeFile("victim.txt", 3);

  EXPECT_FALSE(RemoveFileByName("victim.txt", Counter(), DeclineSilently));
  EXPECT_EQ(ScratchNames(), Journal{"victim.txt"});
  EXPECT_EQ(ReadFile("victim.txt"), "xxx");
}

TEST_F(FileRemovalTest, WithoutAFreeNameTheOriginalNameIsDeleted) {
  const RandomSource stuck = [] { return 0u; };
  const Text blocker = MakeRandomSibling("victim.txt", stuck);
  MakeFile(blocker.c_str(), 1);
  MakeFile("victim.txt", 3);

  EXPECT_TRUE(RemoveFileByName("victim.txt", stuck));
  EXPECT_EQ(ScratchNames(), Journal{std::string(blocker.view())});
}

}  // namespace
}  // namespace zuzar::testing
