// The program's icon file as the generator writes it: twelve bitmap images of the listed sizes and
// depths, each a well-formed icon DIB whose transparent corners are masked.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "ui/icon_picking.h"

namespace zuzar {
namespace {

std::vector<uint8_t> ReadIconFile() {
  std::ifstream in(ZUZAR_ICON_FILE, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return b.at(at) | b.at(at + 1) << 8; }
uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

struct Expected {
  uint32_t size;
  uint32_t bits;
};

TEST(IconFile, DirectoryListsTheTwelveImages) {
  const std::vector<uint8_t> ico = ReadIconFile();
  ASSERT_GE(ico.size(), 6u + 12 * 16);
  EXPECT_EQ(U16(ico, 0), 0u);
  EXPECT_EQ(U16(ico, 2), 1u);  // an icon, not a cursor
  ASSERT_EQ(U16(ico, 4), 12u);

  const Expected layout[] = {{32, 1},  {16, 4},  {32, 4},  {48, 4},   {16, 8},   {32, 8},
                             {48, 8},  {16, 32}, {32, 32}, {48, 32}, {128, 32}, {256, 32}};
  size_t expectedOffset = 6 + 12 * 16;
  for (size_t i = 0; i < 12; ++i) {
    SCOPED_TRACE(i);
    const size_t entry = 6 + 16 * i;
    const uint32_t size = layout[i].size, bits = layout[i].bits;
    EXPECT_EQ(ico[entry], size % 256);
    EXPECT_EQ(ico[entry + 1], size % 256);
    EXPECT_EQ(ico[entry + 2], bits < 8 ? 1u << bits : 0u);  // colour count: 2, 16, or 0 for 256 and more
    EXPECT_EQ(U16(ico, entry + 4), 1u);
    EXPECT_EQ(U16(ico, entry + 6), bits);
    const uint32_t bytes = U32(ico, entry + 8), offset = U32(ico, entry + 12);
    EXPECT_EQ(offset, expectedOffset);
    expectedOffset += bytes;

    // A DIB, never a PNG: BITMAPINFOHEADER with the doubled height of XOR image plus AND mask.
    ASSERT_LE(offset + bytes, ico.size());
    EXPECT_EQ(U32(ico, offset), 40u);
    EXPECT_EQ(U32(ico, offset + 4), size);
    EXPECT_EQ(U32(ico, offset + 8), 2 * size);
    EXPECT_EQ(U16(ico, offset + 14), bits);
    EXPECT_EQ(U32(ico, offset + 16), 0u);  // BI_RGB
    const uint32_t paletteBytes = bits < 32 ? 4u << bits : 0u;
    const uint32_t xorRow = (size * bits + 31) / 32 * 4, andRow = (size + 31) / 32 * 4;
    EXPECT_EQ(bytes, 40 + paletteBytes + size * (xorRow + andRow));

    // The top-left corner is transparent in the artwork: its AND bit (first bit of the last mask
    // row, rows being stored bottom-up) is set.
    const size_t mask = offset + 40 + paletteBytes + size * xorRow;
    EXPECT_EQ(ico[mask + (size - 1) * andRow] & 0x80, 0x80);
    // The middle of the machine's body is opaque.
    const size_t bodyRow = size - 1 - size * 60 / 100;
    EXPECT_EQ(ico[mask + bodyRow * andRow + size / 2 / 8] & (0x80 >> (size / 2 % 8)), 0);
  }
  EXPECT_EQ(expectedOffset, ico.size());
}

// The window's rule takes the first image with 16 or more colours of the wanted width: in our file
// those are the 16-colour images, whose bitmaps hold colour and mask one above the other.
TEST(IconFile, TheWindowShowsTheSixteenColourImages) {
  const std::vector<uint8_t> ico = ReadIconFile();
  struct Case {
    int32_t wanted;
    size_t entry;
  };
  for (const Case& c : {Case{kLargeIconWidth, 2}, Case{kSmallIconWidth, 1}}) {
    SCOPED_TRACE(c.wanted);
    const std::optional<IconImage> image = PickIconImage(ico.data(), ico.size(), c.wanted);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->offset, U32(ico, 6 + 16 * c.entry + 12));
    EXPECT_EQ(image->size, U32(ico, 6 + 16 * c.entry + 8));
    EXPECT_EQ(image->width, c.wanted);
    EXPECT_EQ(image->height, c.wanted);
    EXPECT_EQ(U16(ico, image->offset + 14), 4u);
  }
}

}  // namespace
}  // namespace zuzar
