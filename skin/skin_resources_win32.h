#pragma once
// A validated skin with the GDI objects made from it. Shared by every window it skins: the last
// window (or the thread that attached it) to let go deletes the brushes and the font.

#include <windows.h>

#include <array>
#include <memory>

#include "skin/gdi_win32.h"
#include "skin/skin_file.h"

namespace zuzar::skin {

class SkinResources {
 public:
  // Null when the system refuses a brush or the font.
  static std::shared_ptr<const SkinResources> Create(const Skin& skin);
  explicit SkinResources(const Skin& skin);

  const Skin& skin() const { return skin_; }
  COLORREF ColourOf(Colour colour) const;
  HBRUSH BrushOf(Colour colour) const { return brushes_[Index(colour)].get(); }
  HFONT CaptionFont() const { return captionFont_.get(); }
  const AlphaMask& CloseGlyph() const { return closeGlyph_; }

 private:
  static size_t Index(Colour colour) { return static_cast<size_t>(colour) - 1; }

  Skin skin_;
  std::array<Brush, kColourCount> brushes_;
  Font captionFont_;
  AlphaMask closeGlyph_;
};

COLORREF ToColorRef(Rgb rgb);

// The font a control draws its text with: its own, or the stock GUI font.
HFONT FontOf(HWND window);

}  // namespace zuzar::skin
