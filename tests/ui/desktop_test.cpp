#include "ui/desktop.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "text/text.h"
#include "ui/scripted_desktop.h"

namespace zuzar {
namespace {

TEST(MessageBoxFlagWord, AddsTaskModalUnlessSystemModalIsAsked) {
  EXPECT_EQ(MessageBoxFlagWord(36), 0x2024u);
  EXPECT_EQ(MessageBoxFlagWord(0), 0x2000u);
  EXPECT_EQ(MessageBoxFlagWord(0x1024), 0x1024u);
  EXPECT_EQ(MessageBoxFlagWord(0x3024), 0x3024u);
}

TEST(MessageBoxResult, CountsTheButtonsFromZero) {
  const struct {
    int32_t windows, result;
  } cases[] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 6}, {0, 0}, {8, 0}, {11, 0}, {-1, 0}};
  for (const auto& c : cases) EXPECT_EQ(MessageBoxResult(c.windows), c.result) << c.windows;
}

TEST(SleepDuration, NegativePausesNeverReachSleepAsInfinite) {
  EXPECT_EQ(SleepDuration(50), 50u);
  EXPECT_EQ(SleepDuration(0), 0u);
  EXPECT_EQ(SleepDuration(-1), 0u);
  EXPECT_EQ(SleepDuration(INT_MIN), 0u);
  EXPECT_EQ(SleepDuration(INT_MAX), static_cast<uint32_t>(INT_MAX));
}

TEST(ShowMessageBox, TheConfirmationOfTheShredderIsATaskModalYesNoQuestion) {
  ScriptedDesktop desktop;
  desktop.QueueAnswer(ScriptedDesktop::kIdYes);
  desktop.QueueAnswer(ScriptedDesktop::kIdNo);

  EXPECT_EQ(ShowMessageBox(desktop, "该操作不可恢复，确定继续吗？", 36, "询问:"), 5);
  EXPECT_EQ(ShowMessageBox(desktop, "该操作不可恢复，确定继续吗？", 36), 6);

  ASSERT_EQ(desktop.Boxes().size(), 2u);
  EXPECT_EQ(desktop.Boxes()[0].caption, "询问:");
  EXPECT_EQ(desktop.Boxes()[0].flags, 0x2024u);
  EXPECT_EQ(desktop.Boxes()[1].caption, "信息：");
  EXPECT_EQ(desktop.Boxes()[1].text, "该操作不可恢复，确定继续吗？");
}

TEST(ShowMessageBox, ABoxThatCouldNotBeShownAnswersZeroAndNullTextsShowEmpty) {
  ScriptedDesktop desktop;
  EXPECT_EQ(ShowMessageBox(desktop, Text(), 0, Text().view()), 0);
  ASSERT_EQ(desktop.Boxes().size(), 1u);
  EXPECT_EQ(desktop.Boxes()[0].text, "");
  EXPECT_EQ(desktop.Boxes()[0].caption, "") << "a given title is used even when empty";
  EXPECT_EQ(desktop.Boxes()[0].flags, 0x2000u);
}

TEST(SleepMs, PassesTheClampedPause) {
  ScriptedDesktop desktop;
  SleepMs(desktop, 1000);
  SleepMs(desktop, -1);
  EXPECT_EQ(desktop.Pauses(), (std::vector<uint32_t>{1000, 0}));
}

TEST(OpenWebAddress, OpensTheAddressUnderTheBrowserWindowIfThereIsOne) {
  ScriptedDesktop desktop;
  OpenWebAddress(desktop, "https://example.org/x");
  int browser = 0;
  desktop.SetBrowserWindow(&browser);
  OpenWebAddress(desktop);

  ASSERT_EQ(desktop.Opened().size(), 2u);
  EXPECT_EQ(desktop.Opened()[0].address, "https://example.org/x");
  EXPECT_EQ(desktop.Opened()[0].parent, nullptr);
  EXPECT_EQ(desktop.Opened()[1].address, kForumAddress);
  EXPECT_EQ(desktop.Opened()[1].parent, &browser);
  EXPECT_EQ(desktop.WindowsSearched(),
            (std::vector<std::string>{"Microsoft Internet Explorer", "Microsoft Internet Explorer"}));
}

}  // namespace
}  // namespace zuzar
