#pragma once
// What the engine draws, decided without drawing: which windows it takes over, where the caption's
// parts lie, which colours a control gets in each state, and the pixels of the tinted glyphs. The
// Windows layer only measures windows, asks this, and paints the answer.

#include <cstdint>
#include <string_view>
#include <vector>

#include "skin/skin_file.h"

namespace zuzar::skin {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
};

// What the engine does with a window, fixed when it first sees the window.
enum class WindowRole {
  None,         // left as the platform draws it
  TopLevel,     // caption, frame, client background, and the colours its controls ask for
  Panel,        // a child dialog: client background and the colours its controls ask for
  PushButton,
  Edit,         // edge; its colours come from the parent's answer
  ProgressBar,
  ProgramLabel, // a child of the program's own class that paints its own background and text
};

struct WindowFacts {
  std::string_view className;
  std::string_view parentClassName;
  bool child = false;
  bool messageOnly = false;
  bool programClass = false;        // the class was registered by the program's executable
  bool classHasBackground = false;  // the class erases with a brush of its own
};

WindowRole RoleOf(const WindowFacts& facts);

// Whether the engine paints a top-level window's frame and caption. It does for the frames it can
// draw completely: a caption with at most a close button, no menu bar, no help button.
struct FrameFacts {
  bool caption = false;
  bool menuBar = false;
  bool minimiseOrMaximiseBox = false;
  bool helpButton = false;
  bool toolWindow = false;
  bool iconic = false;
};

bool PaintsFrame(const FrameFacts& facts);

// The caption band and its parts, in window coordinates. The platform's frame metrics are kept:
// the band is what lies between the top border and the client area, so every window keeps the
// client size its program computed.
struct CaptionParts {
  Rect caption;
  Rect icon;   // empty without an icon
  Rect text;
  Rect close;  // empty without a close button
};

CaptionParts LayoutCaption(int windowWidth, const Rect& clientInWindow, bool hasIcon, bool hasClose, const Skin& skin);

enum class CaptionHit { Elsewhere, Icon, Close, Caption };
CaptionHit HitCaption(const CaptionParts& parts, int x, int y);

enum class CloseState { Normal, Hot, Pressed, Disabled };

// Looks name the skin's colour keys; the painter turns them into colours and brushes.
struct CloseLook {
  Colour face;  // the caption's own colour unless the button is hot or pressed
  Colour glyph;
};

Colour FrameColour(bool active);
Colour CaptionTextColour(bool active);
CloseLook CloseLookFor(CloseState state, bool active);

struct ButtonState {
  bool enabled = true;
  bool pressed = false;
  bool hot = false;
  bool focused = false;
  bool isDefault = false;
};

struct ButtonLook {
  Colour face;
  Colour border;
  Colour text;
  int borderWidth = 1;
  int textShift = 0;
};

ButtonLook ButtonLookFor(const Skin& skin, const ButtonState& state);

struct EditState {
  bool enabled = true;
  bool readOnly = false;
  bool focused = false;
};

struct EditLook {
  Colour background;
  Colour text;
  Colour border;
};

EditLook EditLookFor(const EditState& state);

// The filled blocks of a horizontal progress bar, in its client coordinates: whole segments up to
// the position (the last one cut at the end of the track), or one smooth block when the skin's
// segment width is 0. Positions outside the range count as its ends; an empty range fills nothing.
std::vector<Rect> ProgressBlocks(const Rect& client, int32_t low, int32_t high, int32_t position, const Skin& skin);

// The close glyph's coverage: the skin's image, or a drawn cross of the skin's glyph size.
AlphaMask CloseGlyphMask(const Skin& skin);
AlphaMask DrawnCross(int size);

// Pixels 0x00RRGGBB, top row first: the mask's ink laid over a plain ground.
std::vector<uint32_t> TintMask(const AlphaMask& mask, Rgb ink, Rgb ground);

}  // namespace zuzar::skin
