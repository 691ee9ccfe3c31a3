#pragma once
// Which image of a Windows icon file (.ico) the window shows as its large and its small icon.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace zuzar {

// One image of the file: its bytes, and the size the icon is made at.
struct IconImage {
  size_t offset;
  size_t size;
  int32_t width;
  int32_t height;
};

constexpr int32_t kLargeIconWidth = 32;
constexpr int32_t kSmallIconWidth = 16;

// Walks the file's directory in order and takes the first entry with a colour-count byte of 16 or
// more and the wanted width; when none qualifies, the last entry. The icon is made at the image's
// own width and half its bitmap height (the bitmap holds the colour and the mask one above the
// other). Nothing when the file is not an icon file or the entry's image lies outside it.
std::optional<IconImage> PickIconImage(const uint8_t* file, size_t size, int32_t wantedWidth);

}  // namespace zuzar
