#include "skin/skin_resources_win32.h"

#include <algorithm>

#include "skin/skin_look.h"

namespace zuzar::skin {
namespace {

Font MakeCaptionFont(const Skin& skin) {
  LOGFONTA font{};
  if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font) == 0) return Font();
  if (skin[Metric::CaptionFontHeight] != 0) font.lfHeight = -skin[Metric::CaptionFontHeight];
  font.lfWeight = skin[Metric::CaptionFontWeight];
  return Font(CreateFontIndirectA(&font));
}

}  // namespace

COLORREF ToColorRef(Rgb rgb) { return RGB(rgb.red, rgb.green, rgb.blue); }

HFONT FontOf(HWND window) {
  const auto own = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  return own != nullptr ? own : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SkinResources::SkinResources(const Skin& skin)
    : skin_(skin), captionFont_(MakeCaptionFont(skin)), closeGlyph_(CloseGlyphMask(skin)) {
  for (size_t i = 0; i < kColourCount; ++i) brushes_[i] = Brush(CreateSolidBrush(ToColorRef(skin.colours[i])));
}

std::shared_ptr<const SkinResources> SkinResources::Create(const Skin& skin) {
  const auto resources = std::make_shared<const SkinResources>(skin);
  const bool complete = resources->captionFont_ &&
                        std::all_of(resources->brushes_.begin(), resources->brushes_.end(),
                                    [](const Brush& brush) { return static_cast<bool>(brush); });
  return complete ? resources : nullptr;
}

COLORREF SkinResources::ColourOf(Colour colour) const { return ToColorRef(skin_[colour]); }

}  // namespace zuzar::skin
