#pragma once
// Small but well-formed icon files for tests: every image a bitmap (header, palette, colour rows,
// mask rows) of one colour.

#include <cstdint>
#include <vector>

namespace zuzar::testing {

struct IconShape {
  int width;
  int height;
  int bitsPerPixel;  // 1, 4, 8 or 32
};

inline void PutU16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}

inline void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  PutU16(out, at, value & 0xFFFF);
  PutU16(out, at + 2, value >> 16);
}

inline std::vector<uint8_t> IconBitmap(const IconShape& shape) {
  const size_t paletteSize = shape.bitsPerPixel <= 8 ? (size_t{1} << shape.bitsPerPixel) * 4 : 0;
  const size_t colourRow = ((shape.width * shape.bitsPerPixel + 31) / 32) * 4;
  const size_t maskRow = ((shape.width + 31) / 32) * 4;
  std::vector<uint8_t> bitmap(40 + paletteSize + (colourRow + maskRow) * shape.height, 0);
  PutU32(bitmap, 0, 40);
  PutU32(bitmap, 4, static_cast<uint32_t>(shape.width));
  PutU32(bitmap, 8, static_cast<uint32_t>(shape.height * 2));
  PutU16(bitmap, 12, 1);
  PutU16(bitmap, 14, static_cast<uint32_t>(shape.bitsPerPixel));
  if (paletteSize > 0) bitmap[40 + 4 + 1] = 0x80;  // colour 1 is green; pixels use colour 0 = black
  return bitmap;
}

// The directory lists the images in the order given; the colour-count byte is 2, 16, 0 (256) or 0.
inline std::vector<uint8_t> IconFile(const std::vector<IconShape>& shapes) {
  std::vector<uint8_t> file(6 + 16 * shapes.size(), 0);
  PutU16(file, 2, 1);
  PutU16(file, 4, static_cast<uint32_t>(shapes.size()));
  for (size_t i = 0; i < shapes.size(); ++i) {
    const IconShape& shape = shapes[i];
    const std::vector<uint8_t> bitmap = IconBitmap(shape);
    const size_t entry = 6 + 16 * i;
    file[entry] = static_cast<uint8_t>(shape.width);  // 256 wraps to 0, as the format wants
    file[entry + 1] = static_cast<uint8_t>(shape.height);
    file[entry + 2] = shape.bitsPerPixel == 1 ? 2 : shape.bitsPerPixel == 4 ? 16 : 0;
    PutU16(file, entry + 4, 1);
    PutU16(file, entry + 6, static_cast<uint32_t>(shape.bitsPerPixel));
    PutU32(file, entry + 8, static_cast<uint32_t>(bitmap.size()));
    PutU32(file, entry + 12, static_cast<uint32_t>(file.size()));
    file.insert(file.end(), bitmap.begin(), bitmap.end());
  }
  return file;
}

// The twelve images of the program's icon, in the order its file lists them.
inline std::vector<IconShape> ProgramIconImages() {
  return {{32, 32, 1},  {16, 16, 4},  {32, 32, 4},   {48, 48, 4},   {16, 16, 8},   {32, 32, 8},
          {48, 48, 8},  {16, 16, 32}, {32, 32, 32},  {48, 48, 32},  {128, 128, 32}, {256, 256, 32}};
}

}  // namespace zuzar::testing
