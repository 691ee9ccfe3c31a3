#include "skin/skin_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "tests/skin/skin_fixture.h"

namespace zuzar::skin {
namespace {

using testing::Get32;
using testing::GeneratedSkin;
using testing::Protected;
using testing::Put16;
using testing::Put32;
using testing::Put64;
using testing::SectionEntry;
using testing::SectionStart;

ReadResult Read(const std::vector<uint8_t>& file, std::string_view password = "") {
  return ReadSkin(file.data(), file.size(), password);
}

// The source the generator read, as name -> value text, and its image rows.
struct SkinSource {
  std::map<std::string, std::string> values;
  std::vector<std::string> closeGlyphRows;
};

SkinSource ReadSource() {
  std::ifstream in(testing::HostPath(ZUZAR_SKIN_SOURCE));
  SkinSource source;
  std::string line;
  int imageRowsLeft = 0;
  while (std::getline(in, line)) {
    if (imageRowsLeft > 0) {
      source.closeGlyphRows.push_back(line);
      --imageRowsLeft;
      continue;
    }
    std::istringstream words(line);
    std::string name, equals, value;
    words >> name >> equals >> value;
    if (name == "image") {
      imageRowsLeft = std::stoi(line.substr(line.rfind(' ') + 1));
    } else if (equals == "=") {
      source.values[name] = value;
    }
  }
  return source;
}

std::string HexOf(Rgb rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb.red, rgb.green, rgb.blue);
  return text;
}

TEST(SkinFile, GeneratedSkinReadsBackAsItsSource) {
  const ReadResult read = Read(GeneratedSkin());
  ASSERT_EQ(read.error, ReadError::None) << DescribeError(read.error);
  ASSERT_TRUE(read.skin);
  const SkinSource source = ReadSource();
  for (size_t key = 1; key <= kColourCount; ++key) {
    const auto colour = static_cast<Colour>(key);
    const std::string name(ColourName(colour));
    ASSERT_TRUE(source.values.count(name)) << name;
    EXPECT_EQ(HexOf((*read.skin)[colour]), source.values.at(name)) << name;
  }
  for (size_t key = 1; key <= kMetricCount; ++key) {
    const auto metric = static_cast<Metric>(key);
    const std::string name(MetricName(metric));
    ASSERT_TRUE(source.values.count(name)) << name;
    EXPECT_EQ((*read.skin)[metric], std::stoi(source.values.at(name))) << name;
  }
  ASSERT_TRUE(read.skin->closeGlyph);
  const AlphaMask& glyph = *read.skin->closeGlyph;
  ASSERT_EQ(static_cast<size_t>(glyph.height), source.closeGlyphRows.size());
  const std::string coverage = ".:-=+*#%&@";
  for (int y = 0; y < glyph.height; ++y) {
    ASSERT_EQ(source.closeGlyphRows[y].size(), static_cast<size_t>(glyph.width));
    for (int x = 0; x < glyph.width; ++x) {
      const auto level = static_cast<int>(coverage.find(source.closeGlyphRows[y][x]));
      EXPECT_EQ(glyph.alpha[y * glyph.width + x], (level * 255 * 2 + 9) / 18) << x << "," << y;
    }
  }
}

TEST(SkinFile, EveryTruncationIsRefused) {
  const std::vector<uint8_t> file = GeneratedSkin();
  ASSERT_FALSE(file.empty());
  for (size_t length = 0; length < file.size(); ++length) {
    const std::vector<uint8_t> prefix(file.begin(), file.begin() + length);
    const ReadResult read = Read(prefix);
    EXPECT_FALSE(read.skin) << "prefix of " << length;
    EXPECT_NE(read.error, ReadError::None);
  }
}

// With size and checksum made to fit, a cut file gets past the header and has to be caught by the
// table and section checks, wherever the cut falls.
TEST(SkinFile, EveryTruncationWithAFittingHeaderIsRefused) {
  const std::vector<uint8_t> file = GeneratedSkin();
  for (size_t length = 0; length < file.size(); ++length) {
    std::vector<uint8_t> prefix(file.begin(), file.begin() + length);
    SealSkinFile(prefix);
    const ReadResult read = Read(prefix);
    EXPECT_FALSE(read.skin) << "prefix of " << length;
    EXPECT_NE(read.error, ReadError::None);
  }
}

TEST(SkinFile, NullDataIsRefused) { EXPECT_EQ(ReadSkin(nullptr, 0, "").error, ReadError::TooShort); }

struct Damage {
  const char* what;
  std::function<void(std::vector<uint8_t>&)> apply;
  ReadError expected;
  bool reseal = true;  // make size and checksum fit again, so that the damage itself is what is found
};

void SetSectionField(std::vector<uint8_t>& file, std::string_view tag, size_t field, uint32_t value) {
  Put32(file, SectionEntry(file, tag) + field, value);
}

void SetColourEntry(std::vector<uint8_t>& file, size_t index, size_t field, uint8_t value) {
  file.at(SectionStart(file, "COLR") + 4 + index * 6 + field) = value;
}

void SetMetricEntry(std::vector<uint8_t>& file, size_t index, size_t field, uint32_t value) {
  Put32(file, SectionStart(file, "METR") + 4 + index * 8 + field, value);
}

void SetImageEntry(std::vector<uint8_t>& file, size_t field, uint32_t value) {
  const size_t entry = SectionStart(file, "IMAG") + 4;
  if (field < 8) {
    Put16(file, entry + field, static_cast<uint16_t>(value));
  } else {
    Put32(file, entry + field, value);
  }
}

const std::vector<Damage>& Damages() {
  static const std::vector<Damage> damages = {
      {"wrong magic", [](auto& f) { f[1] = 's'; }, ReadError::BadMagic},
      {"newer version", [](auto& f) { Put16(f, layout::kVersion, kFormatVersion + 1); }, ReadError::UnsupportedVersion},
      {"version 0", [](auto& f) { Put16(f, layout::kVersion, 0); }, ReadError::UnsupportedVersion},
      {"stored size one more", [](auto& f) { Put32(f, layout::kFileSize, Get32(f, layout::kFileSize) + 1); },
       ReadError::SizeMismatch, false},
      {"one byte more than stored", [](auto& f) { f.push_back(0); }, ReadError::SizeMismatch, false},
      {"a flipped bit in a colour", [](auto& f) { f[SectionStart(f, "COLR") + 6] ^= 1; }, ReadError::BadChecksum,
       false},
      {"a flipped bit in the hash", [](auto& f) { f[layout::kPasswordHash] ^= 0x80; }, ReadError::BadChecksum, false},
      {"unknown flag", [](auto& f) { Put32(f, layout::kFlags, 2); }, ReadError::BadHeader},
      {"hash without password flag", [](auto& f) { Put64(f, layout::kPasswordHash, 1); }, ReadError::BadHeader},
      {"65 sections", [](auto& f) { Put16(f, layout::kSectionCount, 65); }, ReadError::BadSectionTable},
      {"more sections than the file holds", [](auto& f) { Put16(f, layout::kSectionCount, 40); },
       ReadError::TooShort},
      {"section offset past the end", [](auto& f) { SetSectionField(f, "METR", 4, static_cast<uint32_t>(f.size()) + 1); },
       ReadError::BadSectionTable},
      {"section size past the end", [](auto& f) { SetSectionField(f, "IMAG", 8, static_cast<uint32_t>(f.size())); },
       ReadError::BadSectionTable},
      {"section range that wraps", [](auto& f) {
         SetSectionField(f, "COLR", 4, 0xFFFFFFF0u);
         SetSectionField(f, "COLR", 8, 0x20);
       },
       ReadError::BadSectionTable},
      {"section inside the header", [](auto& f) { SetSectionField(f, "COLR", 4, 8); }, ReadError::BadSectionTable},
      {"overlapping sections", [](auto& f) { SetSectionField(f, "METR", 4, SectionStart(f, "COLR") + 6); },
       ReadError::BadSectionTable},
      {"repeated tag", [](auto& f) { std::memcpy(&f[SectionEntry(f, "METR")], "COLR", 4); },
       ReadError::BadSectionTable},
      {"colour count past the section", [](auto& f) { Put16(f, SectionStart(f, "COLR"), kColourCount + 1); },
       ReadError::BadSection},
      {"colour count short of the section", [](auto& f) { Put16(f, SectionStart(f, "COLR"), kColourCount - 1); },
       ReadError::BadSection},
      {"colour key 0", [](auto& f) { SetColourEntry(f, 0, 0, 0); }, ReadError::BadSection},
      {"unknown colour key", [](auto& f) { SetColourEntry(f, 0, 0, kColourCount + 1); }, ReadError::BadSection},
      {"repeated colour key", [](auto& f) { SetColourEntry(f, 1, 0, 1); }, ReadError::BadSection},
      {"colour padding set", [](auto& f) { SetColourEntry(f, 3, 5, 1); }, ReadError::BadSection},
      {"no colour section", [](auto& f) { std::memcpy(&f[SectionEntry(f, "COLR")], "XXXX", 4); },
       ReadError::MissingColour},
      {"no metric section", [](auto& f) { std::memcpy(&f[SectionEntry(f, "METR")], "XXXX", 4); },
       ReadError::MissingMetric},
      {"metric below its range", [](auto& f) { SetMetricEntry(f, 1, 4, 99); }, ReadError::MetricOutOfRange},
      {"negative metric", [](auto& f) { SetMetricEntry(f, 0, 4, 0xFFFFFFFFu); }, ReadError::MetricOutOfRange},
      {"metric above its range", [](auto& f) { SetMetricEntry(f, 4, 4, 65); }, ReadError::MetricOutOfRange},
      {"metric padding set", [](auto& f) { SetMetricEntry(f, 2, 0, 0x00010003u); }, ReadError::BadSection},
      {"image count past the section", [](auto& f) { Put16(f, SectionStart(f, "IMAG"), 8); }, ReadError::BadSection},
      {"unknown image key", [](auto& f) { SetImageEntry(f, 0, 2); }, ReadError::BadSection},
      {"image width 0", [](auto& f) { SetImageEntry(f, 2, 0); }, ReadError::BadImage},
      {"image wider than allowed", [](auto& f) { SetImageEntry(f, 2, kMaxImageSide + 1); }, ReadError::BadImage},
      {"image data size not width x height", [](auto& f) { SetImageEntry(f, 12, 99); }, ReadError::BadImage},
      {"image data past the section", [](auto& f) { SetImageEntry(f, 8, 100); }, ReadError::BadImage},
      {"image data offset that wraps", [](auto& f) { SetImageEntry(f, 8, 0xFFFFFFFFu); }, ReadError::BadImage},
      {"image data inside its entry table", [](auto& f) { SetImageEntry(f, 8, 4); }, ReadError::BadImage},
      {"an unknown section is skipped", [](auto& f) { std::memcpy(&f[SectionEntry(f, "IMAG")], "XTRA", 4); },
       ReadError::None},
  };
  return damages;
}

TEST(SkinFile, DamagedFilesAreRefusedForTheirReason) {
  for (const Damage& damage : Damages()) {
    std::vector<uint8_t> file = GeneratedSkin();
    damage.apply(file);
    if (damage.reseal) SealSkinFile(file);
    const ReadResult read = Read(file);
    EXPECT_EQ(read.error, damage.expected)
        << damage.what << ": " << DescribeError(read.error) << " instead of " << DescribeError(damage.expected);
    EXPECT_EQ(read.skin.has_value(), damage.expected == ReadError::None) << damage.what;
  }
}

TEST(SkinFile, AnUnknownSectionLeavesTheImageOut) {
  std::vector<uint8_t> file = GeneratedSkin();
  std::memcpy(&file[SectionEntry(file, "IMAG")], "XTRA", 4);
  SealSkinFile(file);
  const ReadResult read = Read(file);
  ASSERT_TRUE(read.skin);
  EXPECT_FALSE(read.skin->closeGlyph);
}

TEST(SkinFile, PasswordMustMatchWhenTheFileHasOne) {
  const std::vector<uint8_t> open = GeneratedSkin();
  const std::vector<uint8_t> locked = Protected(open, "\xC3\xDC\xC2\xEB");  // "密码" in GBK
  struct Case {
    const std::vector<uint8_t>* file;
    std::string_view password;
    ReadError expected;
  } cases[] = {
      {&locked, "\xC3\xDC\xC2\xEB", ReadError::None},
      {&locked, "", ReadError::WrongPassword},
      {&locked, "\xC3\xDC\xC2", ReadError::WrongPassword},
      {&locked, "\xC3\xDC\xC2\xEB ", ReadError::WrongPassword},
      {&open, "", ReadError::None},
      {&open, "anything", ReadError::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(*c.file, c.password).error, c.expected) << "password of " << c.password.size() << " bytes";
  }
}

TEST(SkinFile, ChecksumAndHashMatchTheirReferences) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0xCBF43926u);
  EXPECT_NE(PasswordHash(""), 0u);
  EXPECT_NE(PasswordHash("a"), PasswordHash("b"));
}

}  // namespace
}  // namespace zuzar::skin
