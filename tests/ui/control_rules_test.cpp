#include "ui/control_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/layout.h"

namespace zuzar {
namespace {

using namespace std::string_literals;

const DialogSettings& OpenDialogOfTheLayout() {
  return std::get<DialogSettings>(LayoutRecord(ControlId::通用对话框1).settings);
}

TEST(OpenDialogFlagWord, ThePathDialogOfTheWindowAsksForAnExistingFile) {
  // Explorer style, sizing, hide read-only, file and path must exist, prompt before overwrite.
  EXPECT_EQ(OpenDialogFlagWord(OpenDialogOfTheLayout()), 0x881806u);
}

TEST(OpenDialogFlagWord, EachOptionAddsItsOwnBit) {
  const uint32_t none = OpenDialogFlagWord(DialogSettings{});
  EXPECT_EQ(none, 0x880004u) << "hide read-only, explorer and sizing are always there";
  struct Case {
    bool DialogSettings::*option;
    uint32_t bit;
  };
  const Case cases[] = {{&DialogSettings::promptToCreate, 0x2000},
                        {&DialogSettings::fileMustExist, 0x1000},
                        {&DialogSettings::promptBeforeOverwrite, 0x2},
                        {&DialogSettings::pathMustExist, 0x800},
                        {&DialogSettings::keepCurrentDirectory, 0x8}};
  for (const Case& c : cases) {
    DialogSettings settings{};
    settings.*c.option = true;
    EXPECT_EQ(OpenDialogFlagWord(settings), none | c.bit);
  }
}

TEST(DialogFilterList, TurnsSeparatorsIntoNulsAndEndsInADoubleNul) {
  const struct {
    std::string filter, list;
  } cases[] = {
      {"所有文件(*.*)|*.*", "所有文件(*.*)\0*.*\0\0"s},
      {"文本|*.txt|全部|*.*||", "文本\0*.txt\0全部\0*.*\0\0"s},
      {"a|*.a| \t\r\n", "a\0*.a\0\0\0"s},
      {"a|*.a  ", "a\0*.a\0\0"s},
      {"", ""},
      {" \t\r\n", ""},
      // 0x817C is one GBK character whose trail byte is the code of "|": not a separator.
      {"x\x81|y|*.y", "x\x81|y\0*.y\0\0"s},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DialogFilterList(c.filter), c.list) << c.filter;
  }
}

TEST(DialogFilterIndex, CountsFromOneWhenThereIsAFilter) {
  EXPECT_EQ(DialogFilterIndex(0, true), 1);
  EXPECT_EQ(DialogFilterIndex(2, true), 3);
  EXPECT_EQ(DialogFilterIndex(-4, true), 1);
  EXPECT_EQ(DialogFilterIndex(2, false), 0);
}

TEST(DialogFileBuffer, StartsFromTheLastNameCutToFitWithItsNul) {
  EXPECT_EQ(std::string(DialogFileBuffer("C:\\a.txt").data()), "C:\\a.txt");
  EXPECT_EQ(std::string(DialogFileBuffer("").data()), "");
  const auto buffer = DialogFileBuffer(std::string(300, 'x'));
  EXPECT_EQ(std::string(buffer.data()), std::string(259, 'x'));
}

TEST(OneLineEditBox, IsAtLeastOneLineAndTwoEdgesHigh) {
  EXPECT_EQ(OneLineBoxHeight(24, 13, 2), 24) << "the path box keeps its height with the default font";
  EXPECT_EQ(OneLineBoxHeight(12, 13, 2), 17);
}

TEST(OneLineEditBox, ShowsItsLineInTheMiddleRoundingDown) {
  const struct {
    RowSpan area;
    int32_t line;
    int32_t top, bottom;
  } cases[] = {
      {{0, 20}, 13, 3, 16},   // 7 spare: 3 above, 4 below
      {{2, 22}, 14, 5, 19},   // 6 spare: 3 and 3
      {{0, 13}, 13, 0, 13},   // no spare
      {{0, 10}, 13, 0, 10},   // too low already: left alone
      {{0, 20}, 0, 0, 20},    // no measured line: left alone
  };
  for (const auto& c : cases) {
    const RowSpan rows = CentredLineRows(c.area, c.line);
    EXPECT_EQ(rows.top, c.top);
    EXPECT_EQ(rows.bottom, c.bottom);
  }
}

}  // namespace
}  // namespace zuzar
