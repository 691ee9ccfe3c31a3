#pragma once
// A file that lives in memory: its bytes exist only while it is open.

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "fileio/file_object.h"

namespace zuzar {

class MemoryFile final : public FileObject {
 public:
  // Capacity grows in whole steps of this size and never shrinks while the file is open.
  static constexpr uint32_t kGrowthStep = 1024;

  int32_t GetPosition() override { return static_cast<int32_t>(position_); }
  int32_t Seek(int32_t offset, SeekOrigin origin) override;
  int32_t GetLength() override;
  void SetLength(int32_t length) override;
  int32_t Read(uint8_t* dest, int32_t count) override;
  void Write(const uint8_t* src, int32_t count) override;
  void Close() override;
  int64_t GetLength64() override { return length_; }
  void Flush() override {}

  uint32_t capacity() const { return capacity_; }

 private:
  struct FreeBuffer {
    void operator()(uint8_t* buffer) const { std::free(buffer); }
  };
  void GrowTo(int64_t needed);
  // Zeroes the bytes between the length and `end`, so that no stale memory becomes content.
  void ZeroGapUpTo(uint32_t end);

  uint32_t position_ = 0;
  uint32_t capacity_ = 0;
  uint32_t length_ = 0;
  std::unique_ptr<uint8_t, FreeBuffer> buffer_;
};

}  // namespace zuzar
