#pragma once
// Counted byte blocks laid out as u32 dimension count (always 1), u32 element count N, then the N
// bytes, little-endian. Blocks stored in the program (EmbeddedBytes) have the same layout, so a
// stored block can be passed wherever a buffer is taken. The empty buffer is no block at all; a
// block with N = 0 counts as empty too.

#include <cstdint>
#include <memory>

namespace zuzar {

// A non-owning look at a block with the layout above, or at no block (empty).
class ByteBufferView {
 public:
  ByteBufferView() = default;
  explicit ByteBufferView(const void* block) : block_(static_cast<const uint8_t*>(block)) {}

  const uint8_t* block() const { return block_; }
  // N, or 0 for no block.
  int32_t size() const;
  const uint8_t* data() const { return block_ ? block_ + 8 : nullptr; }
  bool empty() const { return size() <= 0; }

 private:
  const uint8_t* block_ = nullptr;
};

// An owned block with the layout above, or null. Operations that return buffers return null rather
// than a block with N = 0. Running out of memory is fatal (ReportOutOfMemory with N + 8).
class ByteBuffer {
 public:
  ByteBuffer() = default;
  // A new block holding a copy of `count` bytes; null when count <= 0.
  static ByteBuffer Copy(const uint8_t* bytes, int32_t count);
  // A new block of `count` zero bytes; null when count <= 0.
  static ByteBuffer Zeros(int32_t count);

  bool IsNull() const { return !block_; }
  const uint8_t* block() const { return block_.get(); }
  int32_t size() const { return view().size(); }
  const uint8_t* data() const { return view().data(); }
  ByteBufferView view() const { return ByteBufferView(block_.get()); }
  operator ByteBufferView() const { return view(); }

 private:
  struct FreeBlock {
    void operator()(uint8_t* block) const;
  };
  std::unique_ptr<uint8_t[], FreeBlock> block_;
};

// A buffer of N zero bytes; null when N <= 0.
ByteBuffer MakeBlankBytes(int32_t count);

// The program's constant empty block (1, 0), passed in place of a null buffer.
ByteBufferView EmptyByteBuffer();

}  // namespace zuzar
