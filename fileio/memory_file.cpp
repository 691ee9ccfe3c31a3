#include "fileio/memory_file.h"

#include <algorithm>
#include <cstring>

namespace zuzar {

int32_t MemoryFile::Seek(int32_t offset, SeekOrigin origin) {
  int64_t base = 0;
  if (origin == SeekOrigin::kCurrent) base = position_;
  if (origin == SeekOrigin::kEnd) base = length_;
  const int64_t target = base + offset;
  // Positions past the length are allowed; negative ones, or ones beyond 32-bit, are not.
  if (target < 0 || target > INT32_MAX) throw FileError{};
  position_ = static_cast<uint32_t>(target);
  return static_cast<int32_t>(position_);
}

int32_t MemoryFile::GetLength() { return static_cast<int32_t>(length_); }

void MemoryFile::SetLength(int32_t length) {
  if (length < 0) throw FileError{};
  GrowTo(length);
  ZeroGapUpTo(static_cast<uint32_t>(length));
  position_ = std::min(position_, static_cast<uint32_t>(length));
  length_ = static_cast<uint32_t>(length);
}

int32_t MemoryFile::Read(uint8_t* dest, int32_t count) {
  if (count <= 0 || position_ >= length_) return 0;
  const uint32_t n = std::min(static_cast<uint32_t>(count), length_ - position_);
  std::memcpy(dest, buffer_.get() + position_, n);
  position_ += n;
  return static_cast<int32_t>(n);
}

void MemoryFile::Write(const uint8_t* src, int32_t count) {
  if (count <= 0) return;
  const int64_t end = static_cast<int64_t>(position_) + count;
  GrowTo(end);
  ZeroGapUpTo(position_);
  std::memcpy(buffer_.get() + position_, src, static_cast<size_t>(count));
  position_ = static_cast<uint32_t>(end);
  length_ = std::max(length_, position_);
}

void MemoryFile::Close() {
  buffer_.reset();
  position_ = capacity_ = length_ = 0;
}

void MemoryFile::GrowTo(int64_t needed) {
  if (needed <= capacity_) return;
  // A memory file must stay addressable by 32-bit signed positions.
  if (needed > INT32_MAX) throw FileError{};
  const int64_t steps = (needed - capacity_ + kGrowthStep - 1) / kGrowthStep;
  const int64_t capacity = capacity_ + steps * kGrowthStep;
  void* grown = std::realloc(buffer_.get(), static_cast<size_t>(capacity));
  if (!grown) throw FileError{};
  // realloc has taken over the old block: hand ownership to the new one without freeing.
  (void)buffer_.release();
  buffer_.reset(static_cast<uint8_t*>(grown));
  capacity_ = static_cast<uint32_t>(capacity);
}

void MemoryFile::ZeroGapUpTo(uint32_t end) {
  if (end > length_) std::memset(buffer_.get() + length_, 0, end - length_);
}

}  // namespace zuzar
