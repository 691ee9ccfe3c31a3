#include "fileio/memory_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zuzar {
namespace {

struct GrowthCase {
  std::vector<int32_t> writes;  // sizes written one after the other
  uint32_t capacity;
};

TEST(MemoryFileTest, CapacityGrowsInWholeStepsOf1024) {
  const GrowthCase cases[] = {
      {{}, 0},          {{10}, 1024},         {{10, 1490}, 2048},
      {{1024}, 1024},   {{1024, 1}, 2048},    {{5000}, 5120},
      {{1, 3000}, 3072},
  };
  for (const GrowthCase& c : cases) {
    MemoryFile file;
    int32_t total = 0;
    for (int32_t size : c.writes) {
      file.Write(std::vector<uint8_t>(size, 'x').data(), size);
      total += size;
    }
    EXPECT_EQ(file.capacity(), c.capacity) << "after " << total << " bytes";
    EXPECT_EQ(file.GetLength(), total);
  }
}

TEST(MemoryFileTest, CapacityNeverShrinks) {
  MemoryFile file;
  file.Write(std::vector<uint8_t>(1500, 'x').data(), 1500);
  file.SetLength(0);
  EXPECT_EQ(file.capacity(), 2048u);
  EXPECT_EQ(file.GetLength(), 0);
}

TEST(MemoryFileTest, SeekMayPassTheLengthButNotTheStart) {
  MemoryFile file;
  file.Write(reinterpret_cast<const uint8_t*>("abc"), 3);
  EXPECT_EQ(file.Seek(10, SeekOrigin::kStart), 10);
  EXPECT_EQ(file.Read(nullptr, 5), 0);
  EXPECT_THROW(file.Seek(-11, SeekOrigin::kCurrent), FileError);
  EXPECT_EQ(file.GetPosition(), 10);
  EXPECT_EQ(file.Seek(-1, SeekOrigin::kEnd), 2);
}

TEST(MemoryFileTest, WritingPastTheLengthFillsTheGapWithZeros) {
  MemoryFile file;
  file.Write(reinterpret_cast<const uint8_t*>("ab"), 2);
  file.Seek(5, SeekOrigin::kStart);
  file.Write(reinterpret_cast<const uint8_t*>("z"), 1);
  file.Seek(0, SeekOrigin::kStart);
  uint8_t bytes[6];
  ASSERT_EQ(file.Read(bytes, 10), 6);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 6), std::string("ab\0\0\0z", 6));
}

TEST(MemoryFileTest, ItCannotGrowBeyondSigned32BitPositions) {
  MemoryFile file;
  file.Seek(INT32_MAX, SeekOrigin::kStart);
  EXPECT_THROW(file.Write(reinterpret_cast<const uint8_t*>("x"), 1), FileError);
  EXPECT_EQ(file.GetLength(), 0);
}

}  // namespace
}  // namespace zuzar
