#include <string>

#include "tests/shredder/workbench_fixture.h"

namespace zuzar::testing {
namespace {

const std::string kQuestion = "box 该操作不可恢复，确定继续吗？|36|询问:";
const std::string kSuccess = "文件粉碎成功。";

std::string Entry(std::string_view outcome) {
  return std::string(outcome) + "\r\n" + std::string(kRule) + "\r\n\r\n";
}

// Everything a run after Yes does, once the overwrite has moved the bar: the outcome decides the entry.
Journal RunAfterOverwrite(std::string_view outcome) {
  return {"sleep 50",
          "进度条1.Position=20",
          "sleep 50",
          "进度条1.Position=40",
          "sleep 50",
          "进度条1.Position=60",
          "sleep 50",
          "进度条1.Position=80",
          "sleep 50",
          "进度条1.Position=100",
          "按钮1.Disabled=0",
          "编辑框1.Disabled=0",
          "now",
          "编辑框2+粉碎时间：" + std::string(kStampText) + "\r\n",
          "编辑框2.SelectionStart=-1",
          "编辑框2+" + Entry(outcome),
          "编辑框2.SelectionStart=-1",
          "sleep 1000",
          "进度条1.Position=0",
          "编辑框1.Content="};
}

Journal Concat(Journal head, const Journal& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

class StartClickedTest : public WorkbenchTest {
 protected:
  Journal Positions() const {
    Journal positions;
    for (const std::string& entry : EntriesStartingWith("进度条1.Position=")) {
      positions.push_back(entry.substr(entry.find('=') + 1));
    }
    return positions;
  }
};

TEST_F(StartClickedTest, YesOverwritesEmptiesAndRemovesTheChosenFile) {
  MakeFile("doomed.txt", 5);
  MakeFile("decoy.txt", 5);
  OpenThroughDialog("doomed.txt");
  const FileNumber held = CurrentFile;
  // The path box is not what names the file to remove.
  model.SetProperty(ControlId::编辑框1, Property::Content, "decoy.txt");
  journal.clear();

  model.Click(ControlId::按钮2);

  EXPECT_EQ(journal, Concat({kQuestion, "按钮2.Disabled=1", "按钮3.Disabled=1", "进度条1.Position=20", "paint"},
                            RunAfterOverwrite(kSuccess)));
  EXPECT_FALSE(FileExistsAt("doomed.txt"));
  EXPECT_EQ(ScratchNames(), Journal{"decoy.txt"}) << "no renamed leftover";
  EXPECT_TRUE(InNoFile());
  EXPECT_EQ(CurrentFile, held) << "closed, never reset";
  EXPECT_EQ(GetFileLength(CurrentFile), -1);
  EXPECT_EQ(model.StoredPosition(ControlId::进度条1), 0);
  EXPECT_EQ(model.Content(ControlId::编辑框1), "");
}

TEST_F(StartClickedTest, AnyAnswerButYesLeavesEverythingAsItWas) {
  MakeFile("kept.txt", 5);
  OpenThroughDialog("kept.txt");
  const std::string log(Log());

  for (int32_t answer : {6, 1, 0}) {
    SCOPED_TRACE(answer);
    messageBoxAnswer = answer;
    journal.clear();
    model.Click(ControlId::按钮2);
    EXPECT_EQ(journal, Journal{kQuestion});
    EXPECT_TRUE(InFileHeld());
    EXPECT_EQ(GetFileLength(CurrentFile), 5);
    EXPECT_EQ(Log(), log);
  }
  CloseFile(CurrentFile);
  EXPECT_EQ(ReadFile("kept.txt"), std::string(5, 'x'));
}

TEST_F(StartClickedTest, EmptyFileGoesThroughTheSameSteps) {
  MakeFile("empty.txt", 0);
  OpenThroughDialog("empty.txt");
  journal.clear();

  model.Click(ControlId::按钮2);

  EXPECT_EQ(journal, Concat({kQuestion, "按钮2.Disabled=1", "按钮3.Disabled=1"}, RunAfterOverwrite(kSuccess)));
  EXPECT_FALSE(FileExistsAt("empty.txt"));
}

TEST_F(StartClickedTest, BarFollowsALongOverwriteWithRepaintsThenTheCheckpoints) {
  MakeFile("long.bin", 5 * 1024 * 1024 + 1);
  OpenThroughDialog("long.bin");
  journal.clear();

  model.Click(ControlId::按钮2);

  Journal positions = Positions();
  const Journal checkpoints = {"20", "40", "60", "80", "100", "0"};
  ASSERT_GT(positions.size(), checkpoints.size() + 1) << "the overwrite must move the bar more than once";
  const Journal tail(positions.end() - 6, positions.end());
  EXPECT_EQ(tail, checkpoints);
  positions.resize(positions.size() - checkpoints.size());
  int previous = 0;
  for (const std::string& position : positions) {
    EXPECT_GT(std::stoi(position), previous) << "the overwrite's share of the bar only grows";
    previous = std::stoi(position);
  }
  EXPECT_EQ(previous, 20);
  EXPECT_GE(EntriesStartingWith("paint").size(), positions.size());
  EXPECT_FALSE(FileExistsAt("long.bin"));
}

TEST_F(StartClickedTest, TwoRunsLeaveTwoEntries) {
  MakeFile("first.txt", 3);
  MakeFile("second.txt", 1000);

  OpenThroughDialog("first.txt");
  model.Click(ControlId::按钮2);
  OpenThroughDialog("second.txt");
  model.Click(ControlId::按钮2);

  const std::string stamp = "粉碎时间：" + std::string(kStampText) + "\r\n";
  EXPECT_EQ(Log(), "文件名：first.txt\r\n目录：\r\n粉碎后可释放空间：3 字节\r\n" + stamp + Entry(kSuccess) +
                       "文件名：second.txt\r\n目录：\r\n粉碎后可释放空间：1,000 字节\r\n" + stamp +
                       Entry(kSuccess));
  EXPECT_TRUE(ScratchNames().empty());
  model.Click(ControlId::按钮2);
  EXPECT_EQ(EntriesStartingWith("box").size(), 2u) << "Start stays disabled after a run";
}

}  // namespace
}  // namespace zuzar::testing
