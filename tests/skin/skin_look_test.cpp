#include "skin/skin_look.h"

#include <gtest/gtest.h>

namespace zuzar::skin {
namespace {

Skin TestSkin() {
  Skin skin;
  for (size_t i = 0; i < kColourCount; ++i) skin.colours[i] = Rgb{static_cast<uint8_t>(i), 0, 0};
  const auto set = [&skin](Metric metric, int32_t value) { skin.metrics[static_cast<size_t>(metric) - 1] = value; };
  set(Metric::CaptionIndent, 6);
  set(Metric::CaptionIconSize, 16);
  set(Metric::CloseButtonWidth, 34);
  set(Metric::CloseGlyphSize, 10);
  set(Metric::ButtonFocusWidth, 2);
  set(Metric::ButtonPressedShift, 1);
  set(Metric::ProgressSegmentWidth, 10);
  set(Metric::ProgressSegmentGap, 2);
  set(Metric::ProgressPadding, 2);
  return skin;
}

TEST(SkinLook, RolesFollowClassAndPlace) {
  struct Case {
    const char* what;
    WindowFacts facts;
    WindowRole expected;
  } cases[] = {
      {"program window", {"ZuzarWindow", "", false, false, true, true}, WindowRole::TopLevel},
      {"program window without brush", {"ZuzarWindow", "", false, false, true, false}, WindowRole::TopLevel},
      {"message box", {"#32770", "", false, false, false, true}, WindowRole::TopLevel},
      {"message-only program window", {"ZuzarWindow", "", false, true, true, true}, WindowRole::None},
      {"another module's top-level window", {"tooltips_class32", "", false, false, false, false}, WindowRole::None},
      {"button", {"Button", "ZuzarWindow", true, false, false, true}, WindowRole::PushButton},
      {"button, class name in capitals", {"BUTTON", "ZuzarWindow", true, false, false, true}, WindowRole::PushButton},
      {"edit box", {"Edit", "ZuzarWindow", true, false, false, true}, WindowRole::Edit},
      {"a combo box's edit", {"Edit", "ComboBox", true, false, false, true}, WindowRole::None},
      {"progress bar", {"msctls_progress32", "ZuzarWindow", true, false, false, true}, WindowRole::ProgressBar},
      {"child dialog", {"#32770", "#32770", true, false, false, true}, WindowRole::Panel},
      {"program label", {"ZuzarLabel", "ZuzarWindow", true, false, true, false}, WindowRole::ProgramLabel},
      {"program child with its own brush", {"ZuzarPanel", "ZuzarWindow", true, false, true, true}, WindowRole::None},
      {"static control", {"Static", "#32770", true, false, false, true}, WindowRole::None},
      {"list view", {"SysListView32", "#32770", true, false, false, false}, WindowRole::None},
  };
  for (const Case& c : cases) EXPECT_EQ(RoleOf(c.facts), c.expected) << c.what;
}

TEST(SkinLook, FramesWithMoreThanACloseButtonKeepThePlatformFrame) {
  FrameFacts plain;
  plain.caption = true;
  EXPECT_TRUE(PaintsFrame(plain));
  struct Case {
    const char* what;
    bool FrameFacts::*flag;
  } cases[] = {
      {"menu bar", &FrameFacts::menuBar},
      {"minimise or maximise box", &FrameFacts::minimiseOrMaximiseBox},
      {"help button", &FrameFacts::helpButton},
      {"tool window", &FrameFacts::toolWindow},
      {"minimised", &FrameFacts::iconic},
  };
  for (const Case& c : cases) {
    FrameFacts facts = plain;
    facts.*c.flag = true;
    EXPECT_FALSE(PaintsFrame(facts)) << c.what;
  }
  EXPECT_FALSE(PaintsFrame(FrameFacts{})) << "no caption";
}

// A 475-pixel-wide window with a 3-pixel frame and a caption of 19 pixels.
const Rect kClient{3, 22, 472, 318};

TEST(SkinLook, CaptionPartsLieBetweenBorderAndClientArea) {
  const CaptionParts parts = LayoutCaption(475, kClient, true, true, TestSkin());
  EXPECT_EQ(parts.caption, (Rect{3, 3, 472, 22}));
  EXPECT_EQ(parts.close, (Rect{438, 3, 472, 22}));
  EXPECT_EQ(parts.icon, (Rect{9, 4, 25, 20}));
  EXPECT_EQ(parts.text, (Rect{31, 3, 432, 22}));
}

TEST(SkinLook, CaptionWithoutIconOrCloseButton) {
  const CaptionParts parts = LayoutCaption(475, kClient, false, false, TestSkin());
  EXPECT_TRUE(parts.icon.Empty());
  EXPECT_TRUE(parts.close.Empty());
  EXPECT_EQ(parts.text, (Rect{9, 3, 466, 22}));
}

TEST(SkinLook, NarrowAndMissingCaptions) {
  const CaptionParts narrow = LayoutCaption(40, Rect{3, 22, 37, 60}, true, true, TestSkin());
  EXPECT_EQ(narrow.close, (Rect{20, 3, 37, 22})) << "the close button takes at most half the band";
  EXPECT_GE(narrow.text.Width(), 0);
  const CaptionParts none = LayoutCaption(475, Rect{3, 3, 472, 318}, true, true, TestSkin());
  EXPECT_TRUE(none.caption.Empty());
  EXPECT_TRUE(none.close.Empty());
  EXPECT_TRUE(none.icon.Empty());
}

TEST(SkinLook, CaptionHitsNameTheParts) {
  const CaptionParts parts = LayoutCaption(475, kClient, true, true, TestSkin());
  EXPECT_EQ(HitCaption(parts, 455, 12), CaptionHit::Close);
  EXPECT_EQ(HitCaption(parts, 438, 3), CaptionHit::Close);
  EXPECT_EQ(HitCaption(parts, 437, 12), CaptionHit::Caption);
  EXPECT_EQ(HitCaption(parts, 12, 12), CaptionHit::Icon);
  EXPECT_EQ(HitCaption(parts, 200, 12), CaptionHit::Caption);
  EXPECT_EQ(HitCaption(parts, 200, 22), CaptionHit::Elsewhere);
  EXPECT_EQ(HitCaption(parts, 472, 12), CaptionHit::Elsewhere);
}

TEST(SkinLook, CloseButtonStates) {
  struct Case {
    CloseState state;
    bool active;
    Colour face;
    Colour glyph;
  } cases[] = {
      {CloseState::Normal, true, Colour::FrameActive, Colour::CaptionTextActive},
      {CloseState::Normal, false, Colour::FrameInactive, Colour::CaptionTextInactive},
      {CloseState::Hot, false, Colour::CloseHotFace, Colour::CloseHotGlyph},
      {CloseState::Pressed, true, Colour::ClosePressedFace, Colour::CloseHotGlyph},
      {CloseState::Disabled, true, Colour::FrameActive, Colour::CloseDisabledGlyph},
  };
  for (const Case& c : cases) {
    const CloseLook look = CloseLookFor(c.state, c.active);
    EXPECT_EQ(look.face, c.face) << static_cast<int>(c.state) << " active " << c.active;
    EXPECT_EQ(look.glyph, c.glyph) << static_cast<int>(c.state) << " active " << c.active;
  }
}

TEST(SkinLook, ButtonStates) {
  struct Case {
    const char* what;
    ButtonState state;
    ButtonLook expected;
  } cases[] = {
      {"normal", {true, false, false, false, false},
       {Colour::ButtonFace, Colour::ButtonBorder, Colour::ButtonText, 1, 0}},
      {"hot", {true, false, true, false, false},
       {Colour::ButtonHotFace, Colour::ButtonHotBorder, Colour::ButtonText, 1, 0}},
      {"pressed beats hot", {true, true, true, false, false},
       {Colour::ButtonPressedFace, Colour::ButtonPressedBorder, Colour::ButtonText, 1, 1}},
      {"focused", {true, false, false, true, false},
       {Colour::ButtonFace, Colour::ButtonFocusBorder, Colour::ButtonText, 2, 0}},
      {"hot and focused", {true, false, true, true, false},
       {Colour::ButtonHotFace, Colour::ButtonFocusBorder, Colour::ButtonText, 2, 0}},
      {"default", {true, false, false, false, true},
       {Colour::ButtonFace, Colour::ButtonFocusBorder, Colour::ButtonText, 1, 0}},
      {"disabled beats every other state", {false, true, true, true, true},
       {Colour::ButtonDisabledFace, Colour::ButtonDisabledBorder, Colour::ButtonDisabledText, 1, 0}},
  };
  const Skin skin = TestSkin();
  for (const Case& c : cases) {
    const ButtonLook look = ButtonLookFor(skin, c.state);
    EXPECT_EQ(look.face, c.expected.face) << c.what;
    EXPECT_EQ(look.border, c.expected.border) << c.what;
    EXPECT_EQ(look.text, c.expected.text) << c.what;
    EXPECT_EQ(look.borderWidth, c.expected.borderWidth) << c.what;
    EXPECT_EQ(look.textShift, c.expected.textShift) << c.what;
  }
}

TEST(SkinLook, EditStates) {
  struct Case {
    const char* what;
    EditState state;
    EditLook expected;
  } cases[] = {
      {"editable", {true, false, false}, {Colour::EditBackground, Colour::EditText, Colour::EditBorder}},
      {"focused", {true, false, true}, {Colour::EditBackground, Colour::EditText, Colour::EditFocusBorder}},
      {"read-only", {true, true, false}, {Colour::EditReadOnlyBackground, Colour::EditText, Colour::EditBorder}},
      {"disabled", {false, false, true}, {Colour::EditDisabledBackground, Colour::EditDisabledText, Colour::EditBorder}},
  };
  for (const Case& c : cases) {
    const EditLook look = EditLookFor(c.state);
    EXPECT_EQ(look.background, c.expected.background) << c.what;
    EXPECT_EQ(look.text, c.expected.text) << c.what;
    EXPECT_EQ(look.border, c.expected.border) << c.what;
  }
}

TEST(SkinLook, ProgressBlocks) {
  const Skin segmented = TestSkin();
  Skin smooth = TestSkin();
  smooth.metrics[static_cast<size_t>(Metric::ProgressSegmentWidth) - 1] = 0;
  const Rect bar{0, 0, 104, 16};  // a 100-pixel track inside 2 pixels of padding
  struct Case {
    const char* what;
    const Skin* skin;
    int32_t low, high, position;
    std::vector<Rect> expected;
  } cases[] = {
      {"empty", &segmented, 0, 100, 0, {}},
      {"a fifth", &segmented, 0, 100, 20, {{2, 2, 12, 14}, {14, 2, 24, 14}}},
      {"a started segment is drawn whole", &segmented, 0, 100, 13, {{2, 2, 12, 14}, {14, 2, 24, 14}}},
      {"full, last segment cut at the end", &segmented, 0, 100, 100,
       {{2, 2, 12, 14}, {14, 2, 24, 14}, {26, 2, 36, 14}, {38, 2, 48, 14}, {50, 2, 60, 14},
        {62, 2, 72, 14}, {74, 2, 84, 14}, {86, 2, 96, 14}, {98, 2, 102, 14}}},
      {"past the end counts as full", &smooth, 0, 100, 250, {{2, 2, 102, 14}}},
      {"before the start counts as empty", &smooth, 10, 20, -5, {}},
      {"range not starting at 0", &smooth, 100, 200, 150, {{2, 2, 52, 14}}},
      {"empty range", &smooth, 50, 50, 50, {}},
      {"reversed range", &smooth, 100, 0, 50, {}},
      {"widest range", &smooth, INT32_MIN, INT32_MAX, 0, {{2, 2, 52, 14}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgressBlocks(bar, c.low, c.high, c.position, *c.skin), c.expected) << c.what;
  }
  EXPECT_TRUE(ProgressBlocks(Rect{0, 0, 4, 4}, 0, 100, 100, segmented).empty()) << "no room inside the padding";
}

TEST(SkinLook, TintMaskBlendsInkOverGround) {
  const AlphaMask mask{3, 1, {0, 255, 128}};
  const std::vector<uint32_t> pixels = TintMask(mask, Rgb{255, 255, 255}, Rgb{0, 0x40, 0x80});
  EXPECT_EQ(pixels, (std::vector<uint32_t>{0x004080, 0xFFFFFF, 0x80A0C0}));
}

TEST(SkinLook, DrawnCrossIsASymmetricX) {
  const AlphaMask cross = DrawnCross(10);
  ASSERT_EQ(cross.alpha.size(), 100u);
  const auto at = [&cross](int x, int y) { return cross.alpha[static_cast<size_t>(y * 10 + x)]; };
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      EXPECT_EQ(at(x, y), at(9 - x, y)) << x << "," << y;
      EXPECT_EQ(at(x, y), at(y, x)) << x << "," << y;
    }
  }
  EXPECT_EQ(at(4, 4), 255);
  EXPECT_EQ(at(1, 1), 255);
  EXPECT_EQ(at(5, 0), 0);
  EXPECT_EQ(at(0, 5), 0);
}

TEST(SkinLook, TheSkinsOwnGlyphWinsOverTheDrawnCross) {
  Skin skin = TestSkin();
  EXPECT_EQ(CloseGlyphMask(skin).width, 10);
  skin.closeGlyph = AlphaMask{2, 2, {1, 2, 3, 4}};
  EXPECT_EQ(CloseGlyphMask(skin).alpha, (std::vector<uint8_t>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace zuzar::skin
