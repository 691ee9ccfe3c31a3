#include "skin/skin_file.h"

#include <algorithm>

namespace zuzar::skin {
namespace {

constexpr std::array<std::string_view, kColourCount> kColourNames = {
    "window_background",
    "text",
    "frame_active",
    "frame_inactive",
    "frame_outline",
    "caption_text_active",
    "caption_text_inactive",
    "close_hot_face",
    "close_pressed_face",
    "close_hot_glyph",
    "close_disabled_glyph",
    "button_face",
    "button_border",
    "button_text",
    "button_hot_face",
    "button_hot_border",
    "button_pressed_face",
    "button_pressed_border",
    "button_disabled_face",
    "button_disabled_border",
    "button_disabled_text",
    "button_focus_border",
    "edit_background",
    "edit_text",
    "edit_readonly_background",
    "edit_disabled_background",
    "edit_disabled_text",
    "edit_border",
    "edit_focus_border",
    "progress_track",
    "progress_border",
    "progress_bar",
};

struct MetricInfo {
  std::string_view name;
  MetricRange range;
};

constexpr std::array<MetricInfo, kMetricCount> kMetrics = {{
    {"caption_font_height", {0, 72}},
    {"caption_font_weight", {100, 900}},
    {"caption_indent", {0, 32}},
    {"caption_icon_size", {0, 32}},
    {"close_button_width", {16, 64}},
    {"close_glyph_size", {4, 32}},
    {"button_corner_radius", {0, 16}},
    {"button_focus_width", {1, 4}},
    {"button_pressed_shift", {0, 2}},
    {"progress_segment_width", {0, 64}},
    {"progress_segment_gap", {0, 16}},
    {"progress_padding", {0, 8}},
}};

constexpr uint8_t kMagic[4] = {'.', 'S', 'H', 'E'};
constexpr uint32_t kColoursTag = 0x524C4F43;  // "COLR" as stored, little-endian
constexpr uint32_t kMetricsTag = 0x5254454D;  // "METR"
constexpr uint32_t kImagesTag = 0x47414D49;   // "IMAG"

constexpr size_t kSectionPrologue = 4;  // u16 count, u16 reserved
constexpr size_t kColourEntrySize = 6;
constexpr size_t kMetricEntrySize = 8;
constexpr size_t kImageEntrySize = 16;

// A bounded view: every read checks its range first, so no input can lead it astray.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t size() const { return size_; }
  bool Has(size_t offset, size_t count) const { return offset <= size_ && count <= size_ - offset; }
  Bytes Slice(size_t offset, size_t count) const { return Bytes(data_ + offset, count); }
  const uint8_t* At(size_t offset) const { return data_ + offset; }

  uint8_t U8(size_t offset) const { return data_[offset]; }
  uint16_t U16(size_t offset) const { return static_cast<uint16_t>(data_[offset] | data_[offset + 1] << 8); }
  uint32_t U32(size_t offset) const {
    return static_cast<uint32_t>(U16(offset)) | static_cast<uint32_t>(U16(offset + 2)) << 16;
  }
  uint64_t U64(size_t offset) const {
    return static_cast<uint64_t>(U32(offset)) | static_cast<uint64_t>(U32(offset + 4)) << 32;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

struct Section {
  uint32_t tag;
  uint32_t offset;
  uint32_t size;
};

// The checksum field itself counts as four zero bytes.
uint32_t FileChecksum(Bytes file) {
  constexpr uint8_t kZeros[4] = {};
  uint32_t crc = Crc32(file.At(0), layout::kChecksum);
  crc = Crc32(kZeros, sizeof kZeros, crc);
  const size_t rest = layout::kChecksum + 4;
  return Crc32(file.At(rest), file.size() - rest, crc);
}

ReadError CheckHeader(Bytes file, std::string_view password) {
  if (!file.Has(0, layout::kHeaderSize)) return ReadError::TooShort;
  if (!std::equal(std::begin(kMagic), std::end(kMagic), file.At(layout::kMagic))) return ReadError::BadMagic;
  const uint16_t version = file.U16(layout::kVersion);
  if (version == 0 || version > kFormatVersion) return ReadError::UnsupportedVersion;
  if (file.U32(layout::kFileSize) != file.size()) return ReadError::SizeMismatch;
  if (file.U32(layout::kChecksum) != FileChecksum(file)) return ReadError::BadChecksum;
  const uint32_t flags = file.U32(layout::kFlags);
  const uint64_t hash = file.U64(layout::kPasswordHash);
  if ((flags & ~layout::kPasswordFlag) != 0) return ReadError::BadHeader;
  if ((flags & layout::kPasswordFlag) == 0) return hash == 0 ? ReadError::None : ReadError::BadHeader;
  return hash == PasswordHash(password) ? ReadError::None : ReadError::WrongPassword;
}

bool Overlap(const Section& a, const Section& b) {
  return a.offset < b.offset + b.size && b.offset < a.offset + a.size;
}

ReadError ReadSectionTable(Bytes file, std::vector<Section>& sections) {
  const size_t count = file.U16(layout::kSectionCount);
  if (count > layout::kMaxSections) return ReadError::BadSectionTable;
  const size_t tableEnd = layout::kHeaderSize + count * layout::kSectionEntrySize;
  if (!file.Has(0, tableEnd)) return ReadError::TooShort;
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = layout::kHeaderSize + i * layout::kSectionEntrySize;
    const Section section{file.U32(entry), file.U32(entry + 4), file.U32(entry + 8)};
    if (section.offset < tableEnd || !file.Has(section.offset, section.size)) return ReadError::BadSectionTable;
    for (const Section& earlier : sections) {
      if (earlier.tag == section.tag || Overlap(earlier, section)) return ReadError::BadSectionTable;
    }
    sections.push_back(section);
  }
  return ReadError::None;
}

// Checks a section's prologue and that its entries fill exactly the room before its end (or, for
// images, lie inside it); gives the entry count.
std::optional<size_t> EntryCount(Bytes section, size_t entrySize, bool exact) {
  if (!section.Has(0, kSectionPrologue) || section.U16(2) != 0) return std::nullopt;
  const size_t count = section.U16(0);
  const size_t needed = kSectionPrologue + count * entrySize;
  if (exact ? needed != section.size() : !section.Has(0, needed)) return std::nullopt;
  return count;
}

template <size_t N>
bool ValidKey(uint16_t key) {
  return key >= 1 && key <= N;
}

ReadError ReadColours(Bytes section, Skin& skin) {
  const auto count = EntryCount(section, kColourEntrySize, true);
  if (!count) return ReadError::BadSection;
  std::array<bool, kColourCount> seen{};
  for (size_t i = 0; i < *count; ++i) {
    const size_t entry = kSectionPrologue + i * kColourEntrySize;
    const uint16_t key = section.U16(entry);
    if (!ValidKey<kColourCount>(key) || seen[key - 1] || section.U8(entry + 5) != 0) return ReadError::BadSection;
    seen[key - 1] = true;
    skin.colours[key - 1] = Rgb{section.U8(entry + 2), section.U8(entry + 3), section.U8(entry + 4)};
  }
  const bool all = std::all_of(seen.begin(), seen.end(), [](bool s) { return s; });
  return all ? ReadError::None : ReadError::MissingColour;
}

ReadError ReadMetrics(Bytes section, Skin& skin) {
  const auto count = EntryCount(section, kMetricEntrySize, true);
  if (!count) return ReadError::BadSection;
  std::array<bool, kMetricCount> seen{};
  for (size_t i = 0; i < *count; ++i) {
    const size_t entry = kSectionPrologue + i * kMetricEntrySize;
    const uint16_t key = section.U16(entry);
    if (!ValidKey<kMetricCount>(key) || seen[key - 1] || section.U16(entry + 2) != 0) return ReadError::BadSection;
    seen[key - 1] = true;
    const auto value = static_cast<int32_t>(section.U32(entry + 4));
    const MetricRange range = kMetrics[key - 1].range;
    if (value < range.min || value > range.max) return ReadError::MetricOutOfRange;
    skin.metrics[key - 1] = value;
  }
  const bool all = std::all_of(seen.begin(), seen.end(), [](bool s) { return s; });
  return all ? ReadError::None : ReadError::MissingMetric;
}

ReadError ReadImages(Bytes section, Skin& skin) {
  const auto count = EntryCount(section, kImageEntrySize, false);
  if (!count) return ReadError::BadSection;
  const size_t dataStart = kSectionPrologue + *count * kImageEntrySize;
  for (size_t i = 0; i < *count; ++i) {
    const size_t entry = kSectionPrologue + i * kImageEntrySize;
    const uint16_t key = section.U16(entry);
    if (key != static_cast<uint16_t>(ImageKey::CloseGlyph) || skin.closeGlyph) return ReadError::BadSection;
    const int width = section.U16(entry + 2);
    const int height = section.U16(entry + 4);
    const size_t offset = section.U32(entry + 8);
    const size_t size = section.U32(entry + 12);
    if (section.U16(entry + 6) != 0) return ReadError::BadSection;
    if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide) return ReadError::BadImage;
    if (size != static_cast<size_t>(width) * static_cast<size_t>(height)) return ReadError::BadImage;
    if (offset < dataStart || !section.Has(offset, size)) return ReadError::BadImage;
    skin.closeGlyph = AlphaMask{width, height, std::vector<uint8_t>(section.At(offset), section.At(offset) + size)};
  }
  return ReadError::None;
}

ReadError ReadSections(Bytes file, const std::vector<Section>& sections, Skin& skin) {
  bool haveColours = false;
  bool haveMetrics = false;
  for (const Section& s : sections) {
    const Bytes body = file.Slice(s.offset, s.size);
    ReadError error = ReadError::None;
    if (s.tag == kColoursTag) {
      error = ReadColours(body, skin);
      haveColours = true;
    } else if (s.tag == kMetricsTag) {
      error = ReadMetrics(body, skin);
      haveMetrics = true;
    } else if (s.tag == kImagesTag) {
      error = ReadImages(body, skin);
    }
    if (error != ReadError::None) return error;
  }
  if (!haveColours) return ReadError::MissingColour;
  if (!haveMetrics) return ReadError::MissingMetric;
  return ReadError::None;
}

ReadResult Refuse(ReadError error) { return ReadResult{std::nullopt, error}; }

}  // namespace

std::string_view ColourName(Colour colour) {
  const auto index = static_cast<size_t>(colour);
  return index >= 1 && index <= kColourCount ? kColourNames[index - 1] : std::string_view();
}

std::string_view MetricName(Metric metric) {
  const auto index = static_cast<size_t>(metric);
  return index >= 1 && index <= kMetricCount ? kMetrics[index - 1].name : std::string_view();
}

MetricRange RangeOf(Metric metric) {
  const auto index = static_cast<size_t>(metric);
  return index >= 1 && index <= kMetricCount ? kMetrics[index - 1].range : MetricRange{0, 0};
}

ReadResult ReadSkin(const uint8_t* data, size_t size, std::string_view password) {
  if (data == nullptr) return Refuse(ReadError::TooShort);
  const Bytes file(data, size);
  if (const ReadError error = CheckHeader(file, password); error != ReadError::None) return Refuse(error);
  std::vector<Section> sections;
  if (const ReadError error = ReadSectionTable(file, sections); error != ReadError::None) return Refuse(error);
  Skin skin;
  if (const ReadError error = ReadSections(file, sections, skin); error != ReadError::None) return Refuse(error);
  return ReadResult{std::move(skin), ReadError::None};
}

std::string_view DescribeError(ReadError error) {
  switch (error) {
    case ReadError::None: return "valid";
    case ReadError::TooShort: return "too short";
    case ReadError::BadMagic: return "not a skin file";
    case ReadError::UnsupportedVersion: return "unsupported version";
    case ReadError::SizeMismatch: return "size mismatch";
    case ReadError::BadChecksum: return "checksum mismatch";
    case ReadError::BadHeader: return "bad header";
    case ReadError::WrongPassword: return "wrong password";
    case ReadError::BadSectionTable: return "bad section table";
    case ReadError::BadSection: return "bad section";
    case ReadError::MissingColour: return "missing colour";
    case ReadError::MissingMetric: return "missing metric";
    case ReadError::MetricOutOfRange: return "metric out of range";
    case ReadError::BadImage: return "bad image";
  }
  return "unknown";
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

uint64_t PasswordHash(std::string_view password) {
  constexpr std::string_view kPrefix = "jedata.she password:";
  uint64_t hash = 0xCBF29CE484222325ull;
  const auto mix = [&hash](std::string_view bytes) {
    for (const char c : bytes) {
      hash ^= static_cast<uint8_t>(c);
      hash *= 0x100000001B3ull;
    }
  };
  mix(kPrefix);
  mix(password);
  return hash;
}

void SealSkinFile(std::vector<uint8_t>& file) {
  if (file.size() < layout::kHeaderSize) return;
  const auto put32 = [&file](size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) file[offset + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  put32(layout::kFileSize, static_cast<uint32_t>(file.size()));
  put32(layout::kChecksum, FileChecksum(Bytes(file.data(), file.size())));
}

}  // namespace zuzar::skin
