#include "fileio/file_system.h"

#include <gtest/gtest.h>

#include <string>

#include "fileio/file_numbers.h"
#include "tests/fileio/scratch_dir.h"

namespace zuzar {
namespace {

using test::Bytes;

class FileSystemTest : public test::ScratchDir {};

TEST_F(FileSystemTest, WriteToFileCreatesOrReplacesTheWholeFile) {
  const std::string path = Path("out");
  EXPECT_TRUE(WriteToFile(path.c_str(), {Bytes("12345")}));
  EXPECT_EQ(ContentOf(path), "12345");
  EXPECT_TRUE(WriteToFile(path.c_str(), {Bytes("ab")}));
  EXPECT_EQ(ContentOf(path), "ab");
  EXPECT_TRUE(WriteToFile(path.c_str(), {Bytes("abc"), EmptyByteBuffer(), Bytes("defg")}));
  EXPECT_EQ(ContentOf(path), "abcdefg");
  EXPECT_TRUE(WriteToFile(path.c_str(), {ByteBufferView(), EmptyByteBuffer()}));
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(ContentOf(path), "");
  EXPECT_TRUE(WriteToFile(path.c_str(), {}));
}

TEST_F(FileSystemTest, WriteToFileRefusals) {
  EXPECT_FALSE(WriteToFile("", {Bytes("x")}));
  EXPECT_FALSE(WriteToFile(nullptr, {Bytes("x")}));
  EXPECT_FALSE(WriteToFile(Path("missing/out").c_str(), {Bytes("x")}));

  const std::string held = MakeFile("held", "keep");
  const FileNumber file = OpenFile(held.c_str(), std::nullopt, 4);
  ASSERT_NE(file, 0);
  EXPECT_FALSE(WriteToFile(held.c_str(), {Bytes("x")}));
  CloseFile(file);
  EXPECT_EQ(ContentOf(held), "keep");
}

TEST_F(FileSystemTest, DeleteFileAtRefusesHeldMissingAndReadOnlyFiles) {
  const std::string path = MakeFile("f", "abc");
  const FileNumber file = OpenFile(path.c_str(), std::nullopt, 4);
  EXPECT_FALSE(DeleteFileAt(path.c_str()));
  EXPECT_TRUE(FileExistsAt(path.c_str()));
  CloseFile(file);
  EXPECT_TRUE(DeleteFileAt(path.c_str()));
  EXPECT_FALSE(FileExistsAt(path.c_str()));

  EXPECT_FALSE(DeleteFileAt(path.c_str()));
  EXPECT_FALSE(DeleteFileAt(""));
  EXPECT_FALSE(DeleteFileAt(Dir().c_str()));

  const std::string readOnly = MakeFile("ro", "abc");
  ASSERT_TRUE(SetFileAttrs(readOnly.c_str(), 1));
  EXPECT_FALSE(DeleteFileAt(readOnly.c_str()));
  ASSERT_TRUE(SetFileAttrs(readOnly.c_str(), 0));
  EXPECT_TRUE(DeleteFileAt(readOnly.c_str()));
}

TEST_F(FileSystemTest, SetFileAttrsOnAMissingFileFails) {
  EXPECT_FALSE(SetFileAttrs(Path("missing").c_str(), 6));
  EXPECT_FALSE(SetFileAttrs("", 6));
}

TEST_F(FileSystemTest, RenameFileAtNeverReplacesAndRefusesHeldFiles) {
  const std::string from = MakeFile("from", "abc");
  const std::string taken = MakeFile("taken", "xyz");
  EXPECT_FALSE(RenameFileAt(from.c_str(), taken.c_str()));
  EXPECT_EQ(ContentOf(taken), "xyz");

  const FileNumber file = OpenFile(from.c_str(), std::nullopt, 4);
  EXPECT_FALSE(RenameFileAt(from.c_str(), Path("to").c_str()));
  CloseFile(file);

  EXPECT_TRUE(RenameFileAt(from.c_str(), Path("to").c_str()));
  EXPECT_FALSE(FileExistsAt(from.c_str()));
  EXPECT_EQ(ContentOf(Path("to")), "abc");
  EXPECT_FALSE(RenameFileAt(Path("missing").c_str(), Path("other").c_str()));
  EXPECT_FALSE(RenameFileAt("", Path("other").c_str()));
}

TEST_F(FileSystemTest, FileExistsAt) {
  EXPECT_TRUE(FileExistsAt(MakeFile("f", "").c_str()));
  EXPECT_TRUE(FileExistsAt(Dir().c_str()));
  EXPECT_FALSE(FileExistsAt(Path("missing").c_str()));
  EXPECT_FALSE(FileExistsAt(""));
}

// The chosen file's name reaches the platform as GBK bytes and must come back to the same file.
TEST_F(FileSystemTest, GbkNamesPassUnchanged) {
  const std::string path = Path("粉碎测试.txt");
  ASSERT_TRUE(WriteToFile(path.c_str(), {Bytes("abc")}));
  const FileNumber file = OpenFile(path.c_str(), std::nullopt, 4);
  EXPECT_EQ(GetFileLength(file), 3);
  CloseFile(file);
  const std::string renamed = Path("已改名.txt");
  EXPECT_TRUE(RenameFileAt(path.c_str(), renamed.c_str()));
  EXPECT_TRUE(FileExistsAt(renamed.c_str()));
  EXPECT_TRUE(DeleteFileAt(renamed.c_str()));
  EXPECT_FALSE(FileExistsAt(renamed.c_str()));
}

class CurrentDirTest : public test::ScratchDir {
 protected:
  void SetUp() override {
    ScratchDir::SetUp();
    saved_ = std::filesystem::current_path();
  }
  void TearDown() override {
    std::filesystem::current_path(saved_);
    ScratchDir::TearDown();
  }

 private:
  std::filesystem::path saved_;
};

TEST_F(CurrentDirTest, GivesThePathWithoutATrailingSeparator) {
  std::filesystem::current_path(Dir());
  const Text dir = GetCurrentDir();
  EXPECT_EQ(std::string(dir.view()), std::filesystem::current_path().string());
  ASSERT_GT(dir.size(), 1);
  EXPECT_NE(dir.view().back(), '\\');
  EXPECT_NE(dir.view().back(), '/');
}

TEST_F(CurrentDirTest, GivesTheEmptyTextWhenThePathDoesNotFitIn260Bytes) {
  std::filesystem::path deep = Dir();
  while (deep.string().size() < 270) deep /= std::string(40, 'd');
  std::error_code error;
  std::filesystem::create_directories(deep, error);
  std::filesystem::current_path(deep, error);
  if (error) GTEST_SKIP() << "the platform keeps no current directory this long";
  EXPECT_TRUE(GetCurrentDir().IsNull());
}

}  // namespace
}  // namespace zuzar
