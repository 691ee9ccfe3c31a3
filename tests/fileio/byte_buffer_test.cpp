#include "fileio/byte_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace zuzar {
namespace {

std::vector<uint8_t> BlockOf(ByteBufferView buffer) {
  return {buffer.block(), buffer.block() + 8 + buffer.size()};
}

TEST(ByteBufferTest, BlankBytesHaveTheCountedLayout) {
  const ByteBuffer blank = MakeBlankBytes(3);
  EXPECT_EQ(BlockOf(blank), (std::vector<uint8_t>{1, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(blank.size(), 3);
}

TEST(ByteBufferTest, NoBytesGiveNoBlock) {
  for (int32_t count : {0, -5}) {
    EXPECT_TRUE(MakeBlankBytes(count).IsNull()) << count;
    EXPECT_TRUE(ByteBuffer::Copy(reinterpret_cast<const uint8_t*>("x"), count).IsNull()) << count;
  }
}

TEST(ByteBufferTest, CopyHoldsTheBytesAfterALittleEndianCount) {
  std::vector<uint8_t> bytes(300);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 13);
  const ByteBuffer copy = ByteBuffer::Copy(bytes.data(), 300);
  const std::vector<uint8_t> block = BlockOf(copy);
  EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 8),
            (std::vector<uint8_t>{1, 0, 0, 0, 0x2C, 0x01, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(block.begin() + 8, block.end()), bytes);
}

TEST(ByteBufferTest, EmptyBlockAndNoBlockAreBothEmpty) {
  const ByteBufferView constant = EmptyByteBuffer();
  ASSERT_NE(constant.block(), nullptr);
  EXPECT_EQ(BlockOf(constant), (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(constant.empty());
  EXPECT_TRUE(ByteBufferView().empty());
  EXPECT_EQ(ByteBufferView().size(), 0);
  EXPECT_EQ(ByteBufferView().data(), nullptr);
}

TEST(ByteBufferTest, AViewReadsAStoredBlock) {
  static const uint8_t kStored[] = {1, 0, 0, 0, 2, 0, 0, 0, 'o', 'k'};
  const ByteBufferView view(kStored);
  ASSERT_EQ(view.size(), 2);
  EXPECT_EQ(std::memcmp(view.data(), "ok", 2), 0);
}

}  // namespace
}  // namespace zuzar
