#include "ui/icon_picking.h"

#include <gtest/gtest.h>

#include "tests/ui/icon_file_builder.h"

namespace zuzar {
namespace {

using testing::IconFile;
using testing::IconShape;

size_t OffsetOfImage(const std::vector<uint8_t>& file, size_t index) {
  const uint8_t* entry = file.data() + 6 + 16 * index;
  return entry[12] | entry[13] << 8 | entry[14] << 16 | static_cast<size_t>(entry[15]) << 24;
}

TEST(PickIconImage, TakesTheSixteenColourImagesOfTheProgramsIcon) {
  const std::vector<uint8_t> file = IconFile(testing::ProgramIconImages());

  const auto large = PickIconImage(file.data(), file.size(), kLargeIconWidth);
  const auto small = PickIconImage(file.data(), file.size(), kSmallIconWidth);

  ASSERT_TRUE(large && small);
  EXPECT_EQ(large->offset, OffsetOfImage(file, 2)) << "not the two-colour 32×32 image before it";
  EXPECT_EQ(large->width, 32);
  EXPECT_EQ(large->height, 32);
  EXPECT_EQ(small->offset, OffsetOfImage(file, 1));
  EXPECT_EQ(small->height, 16);
}

TEST(PickIconImage, TakesTheLastImageWhenNoneQualifies) {
  const std::vector<uint8_t> file = IconFile({{32, 32, 32}, {16, 16, 8}, {48, 48, 4}});
  const auto picked = PickIconImage(file.data(), file.size(), kLargeIconWidth);
  ASSERT_TRUE(picked);
  EXPECT_EQ(picked->offset, OffsetOfImage(file, 2));
  EXPECT_EQ(picked->width, 48);
}

TEST(PickIconImage, MakesTheIconAtTheBitmapsOwnSize) {
  std::vector<uint8_t> file = IconFile({{32, 32, 4}});
  file[6] = 32;
  testing::PutU32(file, OffsetOfImage(file, 0) + 8, 40);  // a bitmap 20 high, whatever the directory says
  const auto picked = PickIconImage(file.data(), file.size(), kLargeIconWidth);
  ASSERT_TRUE(picked);
  EXPECT_EQ(picked->height, 20);
}

TEST(PickIconImage, RefusesWhatIsNotAnIconFile) {
  const std::vector<uint8_t> good = IconFile({{16, 16, 4}});
  auto with = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> bad = good;
    bad[at] = value;
    return bad;
  };
  const std::vector<std::vector<uint8_t>> bad = {
      {},
      std::vector<uint8_t>(good.begin(), good.begin() + 10),  // directory cut short
      with(2, 2),                                              // a cursor file
      with(4, 0),                                              // no images
      with(15, 0xFF),                                          // image larger than the file
      with(21, 0x7F),                                          // image offset past the end
  };
  for (const auto& file : bad) EXPECT_FALSE(PickIconImage(file.data(), file.size(), kSmallIconWidth));
  EXPECT_FALSE(PickIconImage(nullptr, 0, kSmallIconWidth));
}

}  // namespace
}  // namespace zuzar
