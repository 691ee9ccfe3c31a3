#include "text/text.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "text/fatal.h"
#include "text/text_block.h"

namespace zuzar {
namespace {

bool IsLeadByte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

// Only A to Z fold: GBK trail bytes in that range are folded too, other bytes never.
char FoldAsciiCase(char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte;
}

// memcpy that accepts the null data of an empty view.
char* CopyBytes(char* out, std::string_view bytes) {
  if (!bytes.empty()) std::memcpy(out, bytes.data(), bytes.size());
  return out + bytes.size();
}

bool SpansMatch(const char* at, std::string_view sought, bool ignoreCase) {
  if (!ignoreCase) return std::memcmp(at, sought.data(), sought.size()) == 0;
  for (size_t i = 0; i < sought.size(); ++i) {
    if (FoldAsciiCase(at[i]) != FoldAsciiCase(sought[i])) return false;
  }
  return true;
}

// How many leading bytes of `text` a search with `start` looks at.
int32_t SearchedRegion(int32_t length, std::optional<int32_t> start) {
  if (!start) return length;
  const int64_t beforeStart = std::max<int64_t>(int64_t{*start} - 1, 0);
  return static_cast<int32_t>(std::min<int64_t>(length, beforeStart));
}

}  // namespace

char* AllocateTextBlock(int64_t bytes) {
  if (bytes > INT32_MAX) ReportOutOfMemory(bytes);
  void* block = std::malloc(static_cast<size_t>(bytes));
  if (!block) ReportOutOfMemory(bytes);
  return static_cast<char*>(block);
}

void Text::FreeBlock::operator()(char* block) const { std::free(block); }

Text Text::Allocate(int64_t length) {
  Text text;
  text.block_.reset(AllocateTextBlock(length + 1));
  text.block_[length] = '\0';
  text.size_ = static_cast<int32_t>(length);
  return text;
}

Text Text::Copy(std::string_view bytes) {
  const size_t end = bytes.find('\0');
  const std::string_view copied = bytes.substr(0, end);
  Text text = Allocate(static_cast<int64_t>(copied.size()));
  CopyBytes(text.data(), copied);
  return text;
}

int32_t TextLength(std::string_view text) {
  const size_t end = std::min(text.find('\0'), text.size());
  return static_cast<int32_t>(std::min<size_t>(end, INT32_MAX));
}

Text TextLeft(std::string_view text, int32_t count) {
  if (count <= 0) return Text();
  const int32_t taken = std::min(count, TextLength(text));
  if (taken == 0) return Text();
  return Text::Copy(text.substr(0, static_cast<size_t>(taken)));
}

Text TextRight(std::string_view text, int32_t count) {
  if (count <= 0) return Text();
  const int32_t length = TextLength(text);
  const int32_t taken = std::min(count, length);
  if (taken == 0) return Text();
  return Text::Copy(text.substr(static_cast<size_t>(length - taken)));
}

int32_t FindTextReverse(std::string_view text, std::string_view sought,
                        std::optional<int32_t> start, bool ignoreCase) {
  const int32_t length = TextLength(text);
  const int32_t region = SearchedRegion(length, start);
  const int32_t soughtLength = TextLength(sought);
  if (soughtLength == 0) return region > 0 ? 1 : -1;
  if (region < soughtLength) return -1;

  const std::string_view needle = sought.substr(0, static_cast<size_t>(soughtLength));
  int32_t found = -1;
  int32_t cursor = 0;
  int32_t remaining = region;
  while (remaining >= soughtLength) {
    if (SpansMatch(text.data() + cursor, needle, ignoreCase)) found = cursor + 1;
    if (IsLeadByte(text[static_cast<size_t>(cursor)])) {
      // A lead byte whose trail byte is the terminator: a character cut at the end of the text.
      if (cursor + 1 >= length) break;
      cursor += 2;
      remaining -= 2;
    } else {
      cursor += 1;
      remaining -= 1;
    }
  }
  return found;
}

Text ConcatText(std::initializer_list<std::string_view> pieces) {
  int64_t total = 0;
  for (const std::string_view piece : pieces) total += TextLength(piece);
  Text joined = Text::Allocate(total);
  char* out = joined.data();
  for (const std::string_view piece : pieces) {
    out = CopyBytes(out, piece.substr(0, static_cast<size_t>(TextLength(piece))));
  }
  return joined;
}

int32_t ToInteger(double value) {
  // Outside the 64-bit range (NaN included) the conversion instruction yields 0x8000000000000000,
  // whose low 32 bits are 0; give that result without the undefined cast.
  constexpr double kInt64Limit = 9223372036854775808.0;  // 2^63
  if (!(value >= -kInt64Limit && value < kInt64Limit)) return 0;
  const auto whole = static_cast<uint64_t>(static_cast<int64_t>(value));
  return static_cast<int32_t>(static_cast<uint32_t>(whole & 0xFFFFFFFFu));
}

}  // namespace zuzar
