#include "ui/icon_picking.h"

namespace zuzar {

namespace {

constexpr size_t kDirectoryHeaderSize = 6;
constexpr size_t kDirectoryEntrySize = 16;
constexpr size_t kBitmapHeaderSize = 40;
constexpr uint16_t kIconResourceType = 1;

uint16_t ReadU16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }
uint32_t ReadU32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
         static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

struct DirectoryEntry {
  int32_t width;  // a width byte of 0 means 256
  int32_t height;
  uint8_t colourCount;
  uint32_t imageSize;
  uint32_t imageOffset;
};

DirectoryEntry ReadEntry(const uint8_t* file, uint16_t index) {
  const uint8_t* entry = file + kDirectoryHeaderSize + index * kDirectoryEntrySize;
  return {entry[0] == 0 ? 256 : entry[0], entry[1] == 0 ? 256 : entry[1], entry[2], ReadU32(entry + 8),
          ReadU32(entry + 12)};
}

std::optional<IconImage> ImageOf(const DirectoryEntry& entry, const uint8_t* file, size_t size) {
  if (entry.imageOffset > size || entry.imageSize > size - entry.imageOffset) return std::nullopt;
  IconImage image{entry.imageOffset, entry.imageSize, entry.width, entry.height};
  const uint8_t* bitmap = file + entry.imageOffset;
  // An image stored as PNG has no bitmap header; its size is the directory's.
  if (entry.imageSize >= kBitmapHeaderSize && ReadU32(bitmap) == kBitmapHeaderSize) {
    image.width = static_cast<int32_t>(ReadU32(bitmap + 4));
    image.height = static_cast<int32_t>(ReadU32(bitmap + 8)) / 2;
  }
  return image;
}

}  // namespace

std::optional<IconImage> PickIconImage(const uint8_t* file, size_t size, int32_t wantedWidth) {
  if (file == nullptr || size < kDirectoryHeaderSize) return std::nullopt;
  if (ReadU16(file) != 0 || ReadU16(file + 2) != kIconResourceType) return std::nullopt;
  const uint16_t count = ReadU16(file + 4);
  if (count == 0 || size < kDirectoryHeaderSize + count * kDirectoryEntrySize) return std::nullopt;
  for (uint16_t index = 0; index < count; ++index) {
    const DirectoryEntry entry = ReadEntry(file, index);
    if (entry.colourCount >= 16 && entry.width == wantedWidth) return ImageOf(entry, file, size);
  }
  return ImageOf(ReadEntry(file, static_cast<uint16_t>(count - 1)), file, size);
}

}  // namespace zuzar
