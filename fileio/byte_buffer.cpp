#include "fileio/byte_buffer.h"

#include <cstdlib>
#include <cstring>

#include "text/fatal.h"

namespace zuzar {
namespace {

constexpr size_t kHeaderSize = 8;

uint32_t ReadU32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
         static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

void WriteU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// A zero-filled block of count + 8 bytes with its header written; out of memory is fatal.
uint8_t* AllocateBlock(int32_t count) {
  const size_t bytes = static_cast<size_t>(count) + kHeaderSize;
  auto* block = static_cast<uint8_t*>(std::calloc(bytes, 1));
  if (!block) ReportOutOfMemory(static_cast<int64_t>(bytes));
  WriteU32(block, 1);
  WriteU32(block + 4, static_cast<uint32_t>(count));
  return block;
}

}  // namespace

int32_t ByteBufferView::size() const {
  if (!block_) return 0;
  const uint32_t count = ReadU32(block_ + 4);
  // A count that does not fit the signed sizes of the file layer cannot come from a real block.
  return count > static_cast<uint32_t>(INT32_MAX) ? 0 : static_cast<int32_t>(count);
}

void ByteBuffer::FreeBlock::operator()(uint8_t* block) const { std::free(block); }

ByteBuffer ByteBuffer::Copy(const uint8_t* bytes, int32_t count) {
  ByteBuffer buffer = Zeros(count);
  if (!buffer.IsNull()) std::memcpy(buffer.block_.get() + kHeaderSize, bytes, count);
  return buffer;
}

ByteBuffer ByteBuffer::Zeros(int32_t count) {
  ByteBuffer buffer;
  if (count > 0) buffer.block_.reset(AllocateBlock(count));
  return buffer;
}

ByteBuffer MakeBlankBytes(int32_t count) { return ByteBuffer::Zeros(count); }

ByteBufferView EmptyByteBuffer() {
  static const uint8_t kEmptyBlock[kHeaderSize] = {1, 0, 0, 0, 0, 0, 0, 0};
  return ByteBufferView(kEmptyBlock);
}

}  // namespace zuzar
