#pragma once
// GBK byte strings. Lengths, counts and positions are bytes; positions are 1-based; a search that
// finds nothing gives -1.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>

namespace zuzar {

// A NUL-terminated GBK byte string that owns its bytes. The default value is the null text, which
// stands for the empty text and holds no block; Text::Copy always allocates, so an allocated text
// can be empty too (ConcatText of empty pieces). Running out of memory is fatal (ReportOutOfMemory).
class Text {
 public:
  Text() = default;
  // A new block holding the bytes of `bytes` up to its first NUL, then a NUL.
  static Text Copy(std::string_view bytes);

  bool IsNull() const { return !block_; }
  // Never null: the null text reads as "".
  const char* c_str() const { return block_ ? block_.get() : ""; }
  int32_t size() const { return size_; }
  std::string_view view() const { return {c_str(), static_cast<size_t>(size_)}; }
  operator std::string_view() const { return view(); }

 private:
  friend Text ConcatText(std::initializer_list<std::string_view> pieces);
  // A block of length + 1 bytes with the NUL already at its end; the caller fills the rest.
  static Text Allocate(int64_t length);
  char* data() { return block_.get(); }

  struct FreeBlock {
    void operator()(char* block) const;
  };
  std::unique_ptr<char[], FreeBlock> block_;
  int32_t size_ = 0;
};

// Bytes before the first NUL.
int32_t TextLength(std::string_view text);
// The first min(count, length) bytes; null when count <= 0 or the result would be empty.
Text TextLeft(std::string_view text, int32_t count);
// The last min(count, length) bytes; null when count <= 0 or the result would be empty.
Text TextRight(std::string_view text, int32_t count);
// 1-based position of the last occurrence of `sought` in the searched region, or -1. The search
// walks GBK characters, so a trail byte is never taken as the start of a match. `start` omitted
// searches the whole text; given, only bytes 1 .. start-1.
int32_t FindTextReverse(std::string_view text, std::string_view sought,
                        std::optional<int32_t> start, bool ignoreCase);
// The pieces one after the other; never null, even when every piece is empty.
Text ConcatText(std::initializer_list<std::string_view> pieces);
// Drops the fraction (toward zero) through a 64-bit integer whose low 32 bits are the result.
int32_t ToInteger(double value);

}  // namespace zuzar
