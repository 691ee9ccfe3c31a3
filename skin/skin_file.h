#pragma once
// The skin file "*.she": reading and validating it. Portable C++ (no windows.h), so the reader runs
// natively under the sanitizers and a fuzzer. The layout is described in skin/FORMAT.md; the
// generator tools/skingen/skingen.py writes it.
//
// The reader never reads outside the bytes it is given and answers every input with a skin or a
// reason for refusing it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace zuzar::skin {

inline constexpr uint16_t kFormatVersion = 1;

// Where the header fields lie, for tools and tests that build or damage files on purpose.
namespace layout {
inline constexpr size_t kMagic = 0;          // ".SHE"
inline constexpr size_t kVersion = 4;        // u16
inline constexpr size_t kSectionCount = 6;   // u16
inline constexpr size_t kFlags = 8;          // u32, bit 0: password
inline constexpr size_t kFileSize = 12;      // u32
inline constexpr size_t kPasswordHash = 16;  // u64
inline constexpr size_t kChecksum = 24;      // u32, CRC-32 of the file with this field as zero
inline constexpr size_t kHeaderSize = 28;
inline constexpr size_t kSectionEntrySize = 12;  // u32 tag, u32 offset, u32 size
inline constexpr size_t kMaxSections = 64;
inline constexpr uint32_t kPasswordFlag = 1;
}  // namespace layout

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(Rgb a, Rgb b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }
  friend bool operator!=(Rgb a, Rgb b) { return !(a == b); }
};

// Colour keys as stored in the file. Every one of them must be present.
enum class Colour : uint16_t {
  WindowBackground = 1,
  Text,
  FrameActive,
  FrameInactive,
  FrameOutline,
  CaptionTextActive,
  CaptionTextInactive,
  CloseHotFace,
  ClosePressedFace,
  CloseHotGlyph,
  CloseDisabledGlyph,
  ButtonFace,
  ButtonBorder,
  ButtonText,
  ButtonHotFace,
  ButtonHotBorder,
  ButtonPressedFace,
  ButtonPressedBorder,
  ButtonDisabledFace,
  ButtonDisabledBorder,
  ButtonDisabledText,
  ButtonFocusBorder,
  EditBackground,
  EditText,
  EditReadOnlyBackground,
  EditDisabledBackground,
  EditDisabledText,
  EditBorder,
  EditFocusBorder,
  ProgressTrack,
  ProgressBorder,
  ProgressBar,
};
inline constexpr size_t kColourCount = static_cast<size_t>(Colour::ProgressBar);

// Metric keys, in pixels unless said otherwise. Every one must be present and within its range.
enum class Metric : uint16_t {
  CaptionFontHeight = 1,  // 0: the height of the window's own GUI font
  CaptionFontWeight,      // 100..900, as LOGFONT's lfWeight
  CaptionIndent,
  CaptionIconSize,  // 0: no icon in the caption
  CloseButtonWidth,
  CloseGlyphSize,  // the drawn cross, when the file has no close-glyph image
  ButtonCornerRadius,
  ButtonFocusWidth,
  ButtonPressedShift,
  ProgressSegmentWidth,  // 0: one smooth bar
  ProgressSegmentGap,
  ProgressPadding,
};
inline constexpr size_t kMetricCount = static_cast<size_t>(Metric::ProgressPadding);

// Optional images; each is an 8-bit coverage mask that the engine tints with a colour.
enum class ImageKey : uint16_t {
  CloseGlyph = 1,
};
inline constexpr int kMaxImageSide = 64;

struct AlphaMask {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> alpha;  // row by row, top row first; 0 transparent, 255 opaque
};

struct MetricRange {
  int32_t min;
  int32_t max;
};

std::string_view ColourName(Colour colour);
std::string_view MetricName(Metric metric);
MetricRange RangeOf(Metric metric);

struct Skin {
  std::array<Rgb, kColourCount> colours{};
  std::array<int32_t, kMetricCount> metrics{};
  std::optional<AlphaMask> closeGlyph;

  Rgb operator[](Colour colour) const { return colours[static_cast<size_t>(colour) - 1]; }
  int32_t operator[](Metric metric) const { return metrics[static_cast<size_t>(metric) - 1]; }
};

enum class ReadError {
  None,
  TooShort,            // fewer bytes than the header and its section table
  BadMagic,            // does not begin with ".SHE"
  UnsupportedVersion,  // version 0, or newer than this reader
  SizeMismatch,        // the stored file size is not the number of bytes given
  BadChecksum,         // damaged on the way
  BadHeader,           // unknown flag bits, or a hash without the password flag
  WrongPassword,
  BadSectionTable,     // too many sections, one outside the file, overlapping or repeated
  BadSection,          // a section whose inner counts, offsets or keys do not fit
  MissingColour,
  MissingMetric,
  MetricOutOfRange,
  BadImage,
};

struct ReadResult {
  std::optional<Skin> skin;  // set exactly when error is None
  ReadError error = ReadError::None;
};

// Validates and decodes a whole skin file. A protected file needs its password (the bytes as given,
// GBK for the program); an unprotected file accepts any password.
ReadResult ReadSkin(const uint8_t* data, size_t size, std::string_view password);

std::string_view DescribeError(ReadError error);

// CRC-32 as zlib computes it; continue a running value by passing it back in.
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

// The stored password hash: 64-bit FNV-1a over a fixed prefix and the password's bytes.
uint64_t PasswordHash(std::string_view password);

// Stores the file size and the checksum of a file whose other bytes are final. Files shorter than
// the header are left alone.
void SealSkinFile(std::vector<uint8_t>& file);

}  // namespace zuzar::skin
