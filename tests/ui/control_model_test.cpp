#include "ui/control_model.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/ui/fatal_catcher.h"
#include "ui/layout.h"

namespace zuzar {
namespace {

class ControlModelTest : public ::testing::Test {
 protected:
  // Records every content change of a box together with the text the handler sees at that moment.
  void RecordChangesOf(ControlId box) {
    events.SetEventTable(box, {{kEditContentChanged, [this, box] {
                                  log += "changed:" + std::string(model.Content(box)) + ";";
                                }}});
  }

  EventDispatcher events;
  ControlModel model{events};
  std::string log;
};

TEST_F(ControlModelTest, StartsInTheFirstStatesOfTheLayout) {
  EXPECT_FALSE(model.IsDisabled(ControlId::按钮1));
  EXPECT_FALSE(model.IsDisabled(ControlId::编辑框1));
  EXPECT_TRUE(model.IsDisabled(ControlId::按钮2));
  EXPECT_TRUE(model.IsDisabled(ControlId::按钮3));
  EXPECT_EQ(model.FlagWord(ControlId::按钮4), 5u);
  EXPECT_EQ(model.FlagWord(ControlId::通用对话框1), 0u);
  EXPECT_EQ(model.Content(ControlId::编辑框2), "");
  EXPECT_EQ(model.StoredPosition(ControlId::进度条1), 0);
  EXPECT_TRUE(model.GetProperty(ControlId::通用对话框1, Property::FileName).TakeText().IsNull());
}

TEST_F(ControlModelTest, DisabledWritesSetAndClearTheFlagBit) {
  model.SetProperty(ControlId::按钮2, Property::Disabled, false);
  model.SetProperty(ControlId::按钮1, Property::Disabled, int32_t{5});
  model.SetProperty(ControlId::按钮1, Property::Disabled, true);  // the same value again

  EXPECT_EQ(model.FlagWord(ControlId::按钮2), 5u);
  EXPECT_EQ(model.FlagWord(ControlId::按钮1), 7u);
  EXPECT_TRUE(model.GetProperty(ControlId::按钮1, Property::Disabled).AsBool());
}

TEST_F(ControlModelTest, AContentWriteRaisesOneEventAfterTheTextIsInPlace) {
  RecordChangesOf(ControlId::编辑框1);

  model.SetProperty(ControlId::编辑框1, Property::Content, "C:\\数据\\a.doc");
  model.SetProperty(ControlId::编辑框1, Property::Content, "C:\\数据\\a.doc");
  model.SetProperty(ControlId::编辑框1, Property::Content, Text());
  model.SetProperty(ControlId::编辑框1, Property::Content, "");

  EXPECT_EQ(log, "changed:C:\\数据\\a.doc;changed:C:\\数据\\a.doc;changed:;changed:;");
  EXPECT_EQ(model.GetProperty(ControlId::编辑框1, Property::Content).AsText(), "");
}

TEST_F(ControlModelTest, AppendTextRaisesOneEventPerPieceAndAddsNoLineEnd) {
  RecordChangesOf(ControlId::编辑框2);

  model.AppendText(ControlId::编辑框2, {"文件名：a.doc\r\n"});
  model.AppendText(ControlId::编辑框2, {"x", "", "y"});

  EXPECT_EQ(log, "changed:文件名：a.doc\r\n;changed:文件名：a.doc\r\nx;changed:文件名：a.doc\r\nxy;")
      << "an empty piece changes nothing and, as in a native box, raises nothing";
}

TEST_F(ControlModelTest, ALogHandlerThatMovesTheCaretRunsInsideEveryAppend) {
  events.SetEventTable(ControlId::编辑框2, {{kEditContentChanged, [this] {
                                               model.SetProperty(ControlId::编辑框2,
                                                                 Property::SelectionStart, int32_t{-1});
                                               log += std::to_string(model.Selection(ControlId::编辑框2).start) + ";";
                                             }}});

  model.AppendText(ControlId::编辑框2, {"粉碎时间：", "\r\n"});

  EXPECT_EQ(log, "10;12;");
  EXPECT_EQ(model.Selection(ControlId::编辑框2).length, 0);
}

TEST_F(ControlModelTest, EventsAreDroppedWhileTheDispatcherIsBlocked) {
  RecordChangesOf(ControlId::编辑框2);
  events.SetEventTable(ControlId::按钮1, {{kButtonClicked, [this] { log += "click;"; }}});

  events.RaiseBlockCount();
  model.AppendText(ControlId::编辑框2, {"a"});
  model.SetProperty(ControlId::编辑框2, Property::Content, "b");
  model.Click(ControlId::按钮1);
  events.LowerBlockCount();
  model.Click(ControlId::按钮1);

  EXPECT_EQ(log, "click;");
  EXPECT_EQ(model.Content(ControlId::编辑框2), "b");
}

TEST_F(ControlModelTest, PositionIsStoredClampedAndShownWithinTheBarsRange) {
  const struct {
    int32_t written, stored, shown;
  } cases[] = {{40, 40, 40}, {150, 150, 100}, {-5, 0, 0}, {40000, 32767, 100}, {100, 100, 100}};
  for (const auto& c : cases) {
    model.SetProperty(ControlId::进度条1, Property::Position, c.written);
    EXPECT_EQ(model.StoredPosition(ControlId::进度条1), c.stored) << c.written;
    EXPECT_EQ(model.ShownPosition(ControlId::进度条1), c.shown) << c.written;
    EXPECT_EQ(model.GetProperty(ControlId::进度条1, Property::Position).AsInt(), c.stored);
  }
}

TEST_F(ControlModelTest, SelectionStartMinusOneIsTheTextLengthInBytesOtherNegativesAreZero) {
  model.SetProperty(ControlId::编辑框2, Property::SelectionStart, int32_t{-1});
  EXPECT_EQ(model.Selection(ControlId::编辑框2).start, 0) << "empty box";

  model.AppendText(ControlId::编辑框2, {"ab中"});
  const struct {
    int32_t written, start;
  } cases[] = {{-1, 4}, {2, 2}, {-2, 0}, {9, 9}, {-2147483647 - 1, 0}};
  for (const auto& c : cases) {
    model.SetProperty(ControlId::编辑框2, Property::SelectionStart, c.written);
    EXPECT_EQ(model.Selection(ControlId::编辑框2).start, c.start) << c.written;
    EXPECT_EQ(model.GetProperty(ControlId::编辑框2, Property::SelectionStart).AsInt(), c.start);
  }
}

TEST_F(ControlModelTest, ConfirmingTheDialogSetsFileNameAndTheNextOpeningStartsFromIt) {
  model.QueueDialogAnswer("C:\\data\\report.doc");
  model.QueueDialogAnswer("C:\\其他\\b.txt");

  EXPECT_TRUE(model.ShowOpenDialog(ControlId::通用对话框1));
  EXPECT_EQ(model.DialogStartName(), "");
  EXPECT_EQ(model.GetProperty(ControlId::通用对话框1, Property::FileName).AsText(), "C:\\data\\report.doc");

  EXPECT_TRUE(model.ShowOpenDialog(ControlId::通用对话框1));
  EXPECT_EQ(model.DialogStartName(), "C:\\data\\report.doc");
  EXPECT_EQ(model.FileName(), "C:\\其他\\b.txt");
  EXPECT_EQ(model.DialogOpenings(), 2);
}

TEST_F(ControlModelTest, EveryWayOfNotChoosingAFileKeepsTheEarlierFileName) {
  model.QueueDialogAnswer("C:\\data\\report.doc");
  ASSERT_TRUE(model.ShowOpenDialog(ControlId::通用对话框1));

  model.QueueDialogAnswer(std::nullopt);
  model.QueueDialogAnswer("C:\\" + std::string(257, 'x'));  // 260 bytes: no room for the NUL
  EXPECT_FALSE(model.ShowOpenDialog(ControlId::通用对话框1));
  EXPECT_FALSE(model.ShowOpenDialog(ControlId::通用对话框1));
  EXPECT_FALSE(model.ShowOpenDialog(ControlId::通用对话框1)) << "nothing queued: cancelled";
  EXPECT_FALSE(model.ShowOpenDialog(ControlId::按钮1)) << "not a dialog";

  EXPECT_EQ(model.FileName(), "C:\\data\\report.doc");
  EXPECT_EQ(model.DialogOpenings(), 4);
  model.SetProperty(ControlId::通用对话框1, Property::FileName, "D:\\x");
  EXPECT_EQ(model.FileName(), "C:\\data\\report.doc") << "only the user's choice sets it";
}

TEST_F(ControlModelTest, APathOf259BytesStillFits) {
  const std::string path = "C:\\" + std::string(256, 'x');
  model.QueueDialogAnswer(path);
  EXPECT_TRUE(model.ShowOpenDialog(ControlId::通用对话框1));
  EXPECT_EQ(model.FileName(), path);
}

TEST_F(ControlModelTest, OnlyEnabledButtonsOfAnEnabledWindowReportClicks) {
  for (ControlId button : {ControlId::按钮1, ControlId::按钮2, ControlId::按钮3, ControlId::按钮4}) {
    events.SetEventTable(button, {{kButtonClicked, [this, button] {
                                     log += LayoutRecord(button).name;
                                     log += ";";
                                   }}});
  }
  events.SetEventTable(ControlId::标签1, {{0, [this] { log += "label;"; }}});

  model.Click(ControlId::按钮2);
  model.Click(ControlId::按钮1);
  model.Click(ControlId::标签1);
  model.SetProperty(ControlId::按钮2, Property::Disabled, false);
  model.Click(ControlId::按钮2);
  model.SetProperty(ControlId::Window, Property::Disabled, true);
  model.Click(ControlId::按钮4);

  EXPECT_EQ(log, "按钮1;按钮2;");
}

TEST_F(ControlModelTest, TheUserTypesOnlyIntoAnEnabledWritableBox) {
  RecordChangesOf(ControlId::编辑框1);
  RecordChangesOf(ControlId::编辑框2);

  model.Type(ControlId::编辑框1, "abc");
  model.Type(ControlId::编辑框2, "xyz");
  model.SetProperty(ControlId::编辑框1, Property::Disabled, true);
  model.Type(ControlId::编辑框1, "def");

  EXPECT_EQ(log, "changed:abc;");
}

TEST_F(ControlModelTest, OperationsOnAWindowThatIsNotLoadedAreFatal) {
  model.Unload();
  using testing::FatalMessageOf;
  EXPECT_EQ(FatalMessageOf([&] { model.SetProperty(ControlId::按钮1, Property::Disabled, true); }),
            "未载入欲访问窗口组件所在的窗口");
  EXPECT_EQ(FatalMessageOf([&] { model.GetProperty(ControlId::通用对话框1, Property::FileName); }),
            "未载入欲访问窗口组件所在的窗口");
  EXPECT_EQ(FatalMessageOf([&] { model.AppendText(ControlId::编辑框2, {"a"}); }),
            "指定窗口或窗口组件不存在或尚未载入");
  EXPECT_EQ(FatalMessageOf([&] { model.ShowOpenDialog(ControlId::通用对话框1); }),
            "指定窗口或窗口组件不存在或尚未载入");
}

}  // namespace
}  // namespace zuzar
