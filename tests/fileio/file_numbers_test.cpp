#include "fileio/file_numbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/fileio/scratch_dir.h"

namespace zuzar {
namespace {

using test::AsString;
using test::Bytes;
using test::Pattern;
using test::RestOf;

class FileNumbersTest : public test::ScratchDir {};

struct OpenCase {
  std::optional<int32_t> mode;
  std::optional<int32_t> share;
  bool opens;
};

TEST_F(FileNumbersTest, ModeAndShareOmittedDifferFromZero) {
  const std::string path = MakeFile("f", "content");
  const OpenCase cases[] = {
      {std::nullopt, std::nullopt, true}, {std::nullopt, 4, true}, {0, std::nullopt, false},
      {std::nullopt, 0, false},           {7, 1, false},           {-1, 1, false},
      {3, 5, false},                      {1, 1, true},            {2, 2, true},
      {3, 3, true},                       {5, 4, true},            {6, 1, true},
  };
  for (const OpenCase& c : cases) {
    const FileNumber file = OpenFile(path.c_str(), c.mode, c.share);
    EXPECT_EQ(file != 0, c.opens) << "mode " << c.mode.value_or(-99) << " share "
                                  << c.share.value_or(-99);
    CloseFile(file);
  }
  EXPECT_EQ(ContentOf(path), "content");
}

TEST_F(FileNumbersTest, RefusedOpensGiveZero) {
  const std::string missing = Path("missing");
  EXPECT_EQ(OpenFile(""), 0);
  EXPECT_EQ(OpenFile(nullptr), 0);
  for (int32_t mode : {1, 2, 3}) EXPECT_EQ(OpenFile(missing.c_str(), mode), 0) << mode;
  for (int32_t mode : {1, 3}) EXPECT_EQ(OpenFile(Dir().c_str(), mode), 0) << mode;
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(FileNumbersTest, ExclusiveOpenKeepsTheContentAndShutsOutEveryOtherOpen) {
  const std::string path = MakeFile("held", "0123456789");
  const FileNumber held = OpenFile(path.c_str(), std::nullopt, 4);
  ASSERT_NE(held, 0);
  EXPECT_EQ(GetFileLength(held), 10);
  for (int32_t share = 1; share <= 4; ++share) {
    for (int32_t mode : {1, 3}) {
      EXPECT_EQ(OpenFile(path.c_str(), mode, share), 0) << "mode " << mode << " share " << share;
    }
  }
  EXPECT_EQ(RestOf(held), "0123456789");
  CloseFile(held);
  const FileNumber again = OpenFile(path.c_str(), 1, 1);
  EXPECT_NE(again, 0);
}

TEST_F(FileNumbersTest, SharedOpensCoexist) {
  const std::string path = MakeFile("shared", "abc");
  const FileNumber first = OpenFile(path.c_str());
  const FileNumber second = OpenFile(path.c_str());
  ASSERT_NE(first, 0);
  ASSERT_NE(second, 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(RestOf(second), "abc");
}

TEST_F(FileNumbersTest, CreatingModes) {
  const std::string existing = MakeFile("existing", std::string(100, 'x'));
  const FileNumber rewritten = OpenFile(existing.c_str(), 4);
  EXPECT_EQ(GetFileLength(rewritten), 0);

  for (int32_t mode : {4, 5, 6}) {
    const std::string fresh = Path("new" + std::to_string(mode));
    const FileNumber file = OpenFile(fresh.c_str(), mode);
    EXPECT_NE(file, 0) << mode;
    EXPECT_TRUE(std::filesystem::exists(fresh)) << mode;
  }
  // Modes 5 and 6 keep the content and start at 0, not at the end.
  for (int32_t mode : {5, 6}) {
    const std::string kept = MakeFile("kept" + std::to_string(mode), "abcdef");
    const FileNumber file = OpenFile(kept.c_str(), mode);
    EXPECT_EQ(GetFileLength(file), 6) << mode;
    ASSERT_TRUE(WriteBytes(file, {Bytes("XY")})) << mode;
    CloseFile(file);
    EXPECT_EQ(ContentOf(kept), "XYcdef") << mode;
  }
}

TEST_F(FileNumbersTest, UnknownNumbersFailQuietly) {
  const FileNumber closed = OpenMemoryFile();
  CloseFile(closed);
  for (FileNumber file : {0, -3, 123456, closed}) {
    EXPECT_EQ(GetFileLength(file), -1) << file;
    EXPECT_EQ(GetFileLength64(file), -1) << file;
    EXPECT_FALSE(SeekToStart(file)) << file;
    EXPECT_TRUE(ReadBytes(file, 5).IsNull()) << file;
    EXPECT_FALSE(WriteBytes(file, {Bytes("x")})) << file;
    EXPECT_FALSE(DeleteData(file, 1)) << file;
    EXPECT_FALSE(OverwriteWithZeros(file, nullptr)) << file;
    CloseFile(file);
  }
}

TEST_F(FileNumbersTest, CloseFileTwiceDoesNothingTheSecondTime) {
  const std::string path = MakeFile("f", "abc");
  const FileNumber file = OpenFile(path.c_str(), std::nullopt, 4);
  const FileNumber other = OpenMemoryFile();
  CloseFile(file);
  CloseFile(file);
  EXPECT_EQ(GetFileLength(file), -1);
  EXPECT_EQ(GetFileLength(other), 0);
  EXPECT_NE(OpenFile(path.c_str(), std::nullopt, 4), 0);
}

TEST_F(FileNumbersTest, NumbersArePositiveUniqueAndNotHandedOnAtOnce) {
  std::set<FileNumber> open;
  for (int i = 0; i < 20; ++i) {
    const FileNumber file = OpenMemoryFile();
    EXPECT_GT(file, 0);
    EXPECT_TRUE(open.insert(file).second) << file;
  }
  const FileNumber closed = *open.begin();
  CloseFile(closed);
  // A stale number must not reach the file opened next.
  EXPECT_NE(OpenMemoryFile(), closed);
  EXPECT_EQ(GetFileLength(closed), -1);
}

TEST_F(FileNumbersTest, CloseAllFilesReleasesEveryFile) {
  const std::string path = MakeFile("f", "abc");
  const FileNumber disk = OpenFile(path.c_str(), std::nullopt, 4);
  const FileNumber memory = OpenMemoryFile();
  CloseAllFiles();
  EXPECT_EQ(GetFileLength(disk), -1);
  EXPECT_EQ(GetFileLength(memory), -1);
  EXPECT_NE(OpenFile(path.c_str(), std::nullopt, 4), 0);
}

TEST_F(FileNumbersTest, ReadBytesOnTheEdges) {
  const std::string path = MakeFile("f", "abcdef");
  const FileNumber file = OpenFile(path.c_str());
  EXPECT_TRUE(ReadBytes(file, 0).IsNull());
  EXPECT_TRUE(ReadBytes(file, -1).IsNull());
  EXPECT_EQ(AsString(ReadBytes(file, 2)), "ab");
  EXPECT_EQ(AsString(ReadBytes(file, 100)), "cdef");
  EXPECT_TRUE(ReadBytes(file, 1).IsNull());
  EXPECT_TRUE(ReadBytes(0, 0).IsNull());
}

TEST_F(FileNumbersTest, ReadBytesOnAWriteOnlyFileLeavesThePositionAtTheEnd) {
  const std::string path = MakeFile("f", "abcdef");
  const FileNumber file = OpenFile(path.c_str(), 2);
  EXPECT_TRUE(ReadBytes(file, 3).IsNull());
  ASSERT_TRUE(WriteBytes(file, {Bytes("Z")}));
  CloseFile(file);
  EXPECT_EQ(ContentOf(path), "abcdefZ");
}

TEST_F(FileNumbersTest, WriteBytesSkipsEmptyBuffersAndKeepsOrder) {
  const FileNumber file = OpenMemoryFile();
  EXPECT_TRUE(WriteBytes(file, {EmptyByteBuffer()}));
  EXPECT_TRUE(WriteBytes(file, {ByteBufferView()}));
  EXPECT_EQ(GetFileLength(file), 0);
  EXPECT_TRUE(WriteBytes(file, {Bytes("AB"), ByteBuffer(), Bytes("CD")}));
  EXPECT_TRUE(WriteBytes(file, {Bytes("E")}));
  ASSERT_TRUE(SeekToStart(file));
  EXPECT_EQ(RestOf(file), "ABCDE");
}

TEST_F(FileNumbersTest, WriteBytesOnAReadOnlyOpenFailsAndKeepsThePosition) {
  const std::string path = MakeFile("f", "abcdef");
  const FileNumber file = OpenFile(path.c_str(), 1);
  EXPECT_EQ(AsString(ReadBytes(file, 2)), "ab");
  EXPECT_FALSE(WriteBytes(file, {Bytes("XY")}));
  EXPECT_EQ(RestOf(file), "cdef");
  CloseFile(file);
  EXPECT_EQ(ContentOf(path), "abcdef");
}

TEST_F(FileNumbersTest, MemoryFileGivesBackWhatWasWritten) {
  const FileNumber file = OpenMemoryFile();
  ASSERT_NE(file, 0);
  EXPECT_EQ(GetFileLength(file), 0);
  const std::string bytes = Pattern(1500);
  ASSERT_TRUE(WriteBytes(file, {Bytes(bytes.substr(0, 10)), Bytes(bytes.substr(10))}));
  EXPECT_EQ(GetFileLength(file), 1500);
  ASSERT_TRUE(SeekToStart(file));
  EXPECT_EQ(AsString(ReadBytes(file, GetFileLength(file))), bytes);
}

// DeleteData behaves alike on both kinds of file.
enum class Kind { kDisk, kMemory };

struct DeleteCase {
  const char* name;
  std::string content;
  int32_t position;  // reached by reading this many bytes first
  int32_t count;
  std::string left;
  int32_t positionAfter;
};

class DeleteDataTest : public test::ScratchDir,
                       public ::testing::WithParamInterface<std::pair<Kind, DeleteCase>> {
 protected:
  FileNumber FileHolding(const std::string& content) {
    if (GetParam().first == Kind::kMemory) {
      const FileNumber file = OpenMemoryFile();
      WriteBytes(file, {Bytes(content)});
      SeekToStart(file);
      return file;
    }
    return OpenFile(MakeFile("f", content).c_str(), std::nullopt, 4);
  }
};

TEST_P(DeleteDataTest, RemovesBytesAtThePositionAndPullsTheRestUp) {
  const DeleteCase& c = GetParam().second;
  const FileNumber file = FileHolding(c.content);
  if (c.position > 0) {
    ASSERT_EQ(ReadBytes(file, c.position).size(), c.position);
  }

  EXPECT_TRUE(DeleteData(file, c.count));
  EXPECT_EQ(GetFileLength(file), static_cast<int32_t>(c.left.size()));
  EXPECT_EQ(RestOf(file), c.left.substr(c.positionAfter));
  ASSERT_TRUE(SeekToStart(file));
  EXPECT_EQ(RestOf(file), c.left);
}

const std::string kTenThousand = Pattern(10000);

const DeleteCase kDeleteCases[] = {
    {"MiddleOfEight", "ABCDEFGH", 2, 3, "ABFGH", 5},
    {"MoreThanRemains", "0123456789", 4, 100, "0123", 4},
    {"WholeFile", "0123456789", 0, 10, "", 0},
    {"NothingWithZero", "0123456789", 2, 0, "0123456789", 2},
    {"NothingWithNegative", "0123456789", 2, -5, "0123456789", 2},
    {"ThreePieces", kTenThousand, 0, 1, kTenThousand.substr(1), 9999},
    {"EmptyFile", "", 0, 5, "", 0},
};

std::vector<std::pair<Kind, DeleteCase>> AllDeleteCases() {
  std::vector<std::pair<Kind, DeleteCase>> all;
  for (Kind kind : {Kind::kDisk, Kind::kMemory}) {
    for (const DeleteCase& c : kDeleteCases) all.emplace_back(kind, c);
  }
  return all;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteDataTest, ::testing::ValuesIn(AllDeleteCases()),
    [](const ::testing::TestParamInfo<std::pair<Kind, DeleteCase>>& param) {
      return std::string(param.param.first == Kind::kDisk ? "Disk" : "Memory") +
             param.param.second.name;
    });

class OverwriteTest : public test::ScratchDir {
 protected:
  struct Call {
    int64_t written;
    int64_t total;
  };
  std::vector<Call> calls_;
  std::function<void(int64_t, int64_t)> Recorder() {
    return [this](int64_t written, int64_t total) { calls_.push_back({written, total}); };
  }
};

TEST_F(OverwriteTest, ZeroesEveryByteInPlaceAndReturnsToTheStart) {
  const int32_t length = 2 * (1 << 20) + 12345;  // longer than the block, not a multiple of it
  const std::string path = MakeFile("f", Pattern(length));
  const FileNumber file = OpenFile(path.c_str(), std::nullopt, 4);
  ASSERT_EQ(ReadBytes(file, 7).size(), 7);

  ASSERT_TRUE(OverwriteWithZeros(file, Recorder()));
  EXPECT_EQ(GetFileLength64(file), length);
  EXPECT_EQ(RestOf(file), std::string(length, '\0'));  // read from position 0
  CloseFile(file);
  EXPECT_EQ(ContentOf(path), std::string(length, '\0'));

  ASSERT_EQ(calls_.size(), 3u);
  int64_t previous = 0;
  for (const Call& call : calls_) {
    EXPECT_GT(call.written, previous);
    EXPECT_EQ(call.total, length);
    previous = call.written;
  }
  EXPECT_EQ(calls_.back().written, length);
}

TEST_F(OverwriteTest, WorksOnMemoryFilesAndEmptyFiles) {
  const FileNumber memory = OpenMemoryFile();
  WriteBytes(memory, {Bytes("secret")});
  ASSERT_TRUE(OverwriteWithZeros(memory, Recorder()));
  EXPECT_EQ(RestOf(memory), std::string(6, '\0'));
  ASSERT_EQ(calls_.size(), 1u);

  calls_.clear();
  const FileNumber empty = OpenFile(MakeFile("empty", "").c_str());
  EXPECT_TRUE(OverwriteWithZeros(empty, Recorder()));
  EXPECT_TRUE(OverwriteWithZeros(empty, nullptr));
  EXPECT_TRUE(calls_.empty());
  EXPECT_EQ(GetFileLength(empty), 0);
}

TEST_F(OverwriteTest, FailsOnAReadOnlyOpenAndLeavesTheFile) {
  const std::string path = MakeFile("f", "secret");
  const FileNumber file = OpenFile(path.c_str(), 1);
  EXPECT_FALSE(OverwriteWithZeros(file, Recorder()));
  EXPECT_EQ(RestOf(file), "secret");
  CloseFile(file);
  EXPECT_EQ(ContentOf(path), "secret");
}

struct LengthCase {
  int64_t size;
  int32_t length;
};

// Lengths that do not fit a signed 32-bit value give -1 instead of a wrapped number.
TEST_F(FileNumbersTest, HugeFilesHaveNo32BitLength) {
  const LengthCase cases[] = {
      {INT32_MAX, INT32_MAX},
      {int64_t{1} << 31, -1},
      {int64_t{3} << 30, -1},
      {(int64_t{1} << 32) + 1, -1},
  };
  for (const LengthCase& c : cases) {
    const std::string path = Path("sparse" + std::to_string(c.size));
    if (!test::MakeSparseFile(path, c.size)) GTEST_SKIP() << "no sparse files here";
    const FileNumber file = OpenFile(path.c_str(), std::nullopt, 4);
    ASSERT_NE(file, 0);
    EXPECT_EQ(GetFileLength(file), c.length) << c.size;
    EXPECT_EQ(GetFileLength64(file), c.size);
    EXPECT_EQ(ReadBytes(file, 4).size(), 4) << "positions near the start still work";
    CloseFile(file);
    std::filesystem::remove(path);
  }
}

}  // namespace
}  // namespace zuzar
