#include "skin/skin_look.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace zuzar::skin {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

WindowRole RoleOfChild(const WindowFacts& facts) {
  if (SameName(facts.className, "Button")) return WindowRole::PushButton;
  if (SameName(facts.className, "msctls_progress32")) return WindowRole::ProgressBar;
  if (SameName(facts.className, "#32770")) return WindowRole::Panel;
  if (SameName(facts.className, "Edit")) {
    // A combo box's own edit has no edge of its own and takes its colours from the combo box.
    const bool inCombo = SameName(facts.parentClassName, "ComboBox") || SameName(facts.parentClassName, "ComboBoxEx32");
    return inCombo ? WindowRole::None : WindowRole::Edit;
  }
  if (facts.programClass && !facts.classHasBackground) return WindowRole::ProgramLabel;
  return WindowRole::None;
}

uint8_t Mix(uint8_t ground, uint8_t ink, uint8_t alpha) {
  return static_cast<uint8_t>((ground * (255 - alpha) + ink * alpha + 127) / 255);
}

}  // namespace

WindowRole RoleOf(const WindowFacts& facts) {
  if (facts.messageOnly) return WindowRole::None;
  if (facts.child) return RoleOfChild(facts);
  if (SameName(facts.className, "#32770") || facts.programClass) return WindowRole::TopLevel;
  return WindowRole::None;
}

bool PaintsFrame(const FrameFacts& facts) {
  return facts.caption && !facts.menuBar && !facts.minimiseOrMaximiseBox && !facts.helpButton && !facts.toolWindow &&
         !facts.iconic;
}

CaptionParts LayoutCaption(int windowWidth, const Rect& clientInWindow, bool hasIcon, bool hasClose, const Skin& skin) {
  CaptionParts parts;
  const int border = std::max(0, clientInWindow.left);
  parts.caption = Rect{border, border, windowWidth - border, clientInWindow.top};
  if (parts.caption.Empty()) return CaptionParts{};
  const Rect& band = parts.caption;
  const int indent = skin[Metric::CaptionIndent];
  if (hasClose) {
    const int width = std::min(skin[Metric::CloseButtonWidth], band.Width() / 2);
    parts.close = Rect{band.right - width, band.top, band.right, band.bottom};
  }
  int textLeft = band.left + indent;
  const int iconSize = std::min(skin[Metric::CaptionIconSize], band.Height());
  if (hasIcon && iconSize > 0) {
    const int top = band.top + (band.Height() - iconSize) / 2;
    parts.icon = Rect{band.left + indent, top, band.left + indent + iconSize, top + iconSize};
    textLeft = parts.icon.right + indent;
  }
  const int textRight = (hasClose ? parts.close.left : band.right) - indent;
  parts.text = Rect{textLeft, band.top, std::max(textLeft, textRight), band.bottom};
  return parts;
}

CaptionHit HitCaption(const CaptionParts& parts, int x, int y) {
  if (parts.close.Contains(x, y)) return CaptionHit::Close;
  if (parts.icon.Contains(x, y)) return CaptionHit::Icon;
  if (parts.caption.Contains(x, y)) return CaptionHit::Caption;
  return CaptionHit::Elsewhere;
}

Colour FrameColour(bool active) { return active ? Colour::FrameActive : Colour::FrameInactive; }

Colour CaptionTextColour(bool active) { return active ? Colour::CaptionTextActive : Colour::CaptionTextInactive; }

CloseLook CloseLookFor(CloseState state, bool active) {
  switch (state) {
    case CloseState::Hot: return CloseLook{Colour::CloseHotFace, Colour::CloseHotGlyph};
    case CloseState::Pressed: return CloseLook{Colour::ClosePressedFace, Colour::CloseHotGlyph};
    case CloseState::Disabled: return CloseLook{FrameColour(active), Colour::CloseDisabledGlyph};
    case CloseState::Normal: break;
  }
  return CloseLook{FrameColour(active), CaptionTextColour(active)};
}

ButtonLook ButtonLookFor(const Skin& skin, const ButtonState& state) {
  if (!state.enabled) {
    return ButtonLook{Colour::ButtonDisabledFace, Colour::ButtonDisabledBorder, Colour::ButtonDisabledText, 1, 0};
  }
  ButtonLook look{Colour::ButtonFace, Colour::ButtonBorder, Colour::ButtonText, 1, 0};
  if (state.pressed) {
    look.face = Colour::ButtonPressedFace;
    look.border = Colour::ButtonPressedBorder;
    look.textShift = skin[Metric::ButtonPressedShift];
  } else if (state.hot) {
    look.face = Colour::ButtonHotFace;
    look.border = Colour::ButtonHotBorder;
  } else if (state.isDefault) {
    look.border = Colour::ButtonFocusBorder;
  }
  if (state.focused) {
    look.border = Colour::ButtonFocusBorder;
    look.borderWidth = skin[Metric::ButtonFocusWidth];
  }
  return look;
}

EditLook EditLookFor(const EditState& state) {
  if (!state.enabled) return EditLook{Colour::EditDisabledBackground, Colour::EditDisabledText, Colour::EditBorder};
  return EditLook{state.readOnly ? Colour::EditReadOnlyBackground : Colour::EditBackground, Colour::EditText,
                  state.focused ? Colour::EditFocusBorder : Colour::EditBorder};
}

std::vector<Rect> ProgressBlocks(const Rect& client, int32_t low, int32_t high, int32_t position, const Skin& skin) {
  const int padding = skin[Metric::ProgressPadding];
  const Rect track{client.left + padding, client.top + padding, client.right - padding, client.bottom - padding};
  if (high <= low || track.Empty()) return {};
  const int64_t done = std::clamp<int64_t>(position, low, high) - low;
  const auto filled = static_cast<int>(done * track.Width() / (static_cast<int64_t>(high) - low));
  const int end = track.left + filled;
  if (filled <= 0) return {};
  const int segment = skin[Metric::ProgressSegmentWidth];
  if (segment == 0) return {Rect{track.left, track.top, end, track.bottom}};
  std::vector<Rect> blocks;
  for (int x = track.left; x < end; x += segment + skin[Metric::ProgressSegmentGap]) {
    blocks.push_back(Rect{x, track.top, std::min(x + segment, track.right), track.bottom});
  }
  return blocks;
}

AlphaMask CloseGlyphMask(const Skin& skin) {
  return skin.closeGlyph ? *skin.closeGlyph : DrawnCross(skin[Metric::CloseGlyphSize]);
}

AlphaMask DrawnCross(int size) {
  // Two strokes 1.5 px wide from corner to corner, each pixel covered by 8 x 8 samples.
  constexpr int kSamples = 8;
  constexpr double kHalfStroke = 0.75;
  AlphaMask mask{size, size, std::vector<uint8_t>(static_cast<size_t>(size) * static_cast<size_t>(size))};
  const double inset = 0.5;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int covered = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double px = x + (sx + 0.5) / kSamples;
          const double py = y + (sy + 0.5) / kSamples;
          const bool inside = px >= inset && px <= size - inset && py >= inset && py <= size - inset;
          const double distance = std::min(std::abs(px - py), std::abs(px + py - size)) / std::sqrt(2.0);
          covered += inside && distance <= kHalfStroke ? 1 : 0;
        }
      }
      mask.alpha[static_cast<size_t>(y * size + x)] = static_cast<uint8_t>(covered * 255 / (kSamples * kSamples));
    }
  }
  return mask;
}

std::vector<uint32_t> TintMask(const AlphaMask& mask, Rgb ink, Rgb ground) {
  std::vector<uint32_t> pixels;
  pixels.reserve(mask.alpha.size());
  for (const uint8_t alpha : mask.alpha) {
    const uint32_t red = Mix(ground.red, ink.red, alpha);
    const uint32_t green = Mix(ground.green, ink.green, alpha);
    const uint32_t blue = Mix(ground.blue, ink.blue, alpha);
    pixels.push_back(red << 16 | green << 8 | blue);
  }
  return pixels;
}

}  // namespace zuzar::skin
