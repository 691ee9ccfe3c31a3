#include <filesystem>
#include <string>

#include "tests/shredder/workbench_fixture.h"
#include "ui/desktop.h"

namespace zuzar::testing {
namespace {

const char kLoadFailed[] = "文件载入失败，无法完成粉碎。";

struct OpenCase {
  const char* path;  // as the dialog gives it; natively a backslash is just a byte of the name
  int32_t size;
  const char* name;
  const char* directory;
  const char* sizeText;
};

class OpenClickedTest : public WorkbenchTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenClickedTest, HoldsTheFileAndLogsNameDirectoryAndSize) {
  const OpenCase& c = GetParam();
  std::filesystem::create_directory("data");
  MakeFile(c.path, c.size);

  OpenThroughDialog(c.path);

  const std::string path = c.path;
  EXPECT_EQ(journal, (Journal{"dialog",
                              "编辑框1.Content=" + path,
                              "编辑框2+文件名：" + std::string(c.name) + "\r\n",
                              "编辑框2.SelectionStart=-1",
                              "编辑框2+目录：" + std::string(c.directory) + "\r\n",
                              "编辑框2.SelectionStart=-1",
                              "编辑框2+粉碎后可释放空间：" + std::string(c.sizeText) + " 字节\r\n",
                              "编辑框2.SelectionStart=-1",
                              "按钮2.Disabled=0",
                              "按钮3.Disabled=0",
                              "按钮1.Disabled=1",
                              "编辑框1.Disabled=1"}));
  EXPECT_NE(CurrentFile, 0);
  EXPECT_TRUE(InFileHeld());
  EXPECT_EQ(model.Content(ControlId::编辑框1), path);
  EXPECT_EQ(model.Selection(ControlId::编辑框2).start, static_cast<int32_t>(Log().size()));
  EXPECT_EQ(OpenFile(c.path, 1, 1), 0) << "a second opener must be refused while the file is held";
  CloseAllFiles();
  DeleteFileAt(c.path);  // the drive-root cases live outside the scratch directory under Wine
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OpenClickedTest,
    ::testing::Values(OpenCase{"data\\report.doc", 1234567, "report.doc", "data", "1,234,567"},
                      OpenCase{"C:\\zuzar-shredder-a.txt", 0, "zuzar-shredder-a.txt", "C:", "0"},
                      OpenCase{"report.doc", 999, "report.doc", "", "999"},
                      // 嘰 is 87 5C: its trail byte is a backslash, the separator is the next one.
                      OpenCase{"C:\\嘰.txt", 1000, "嘰.txt", "C:", "1,000"}));

TEST_F(WorkbenchTest, TrailByteOfTheGbkCaseIsABackslash) {
  EXPECT_EQ(std::string_view("嘰"), "\x87\x5C");
}

TEST_F(WorkbenchTest, SizeLineShowsTheTrueSizeOfAFileBeyondFourGigabytes) {
  MakeFile("huge.bin", 1);
  std::filesystem::resize_file("huge.bin", 4294967296);  // sparse: nothing is written

  OpenThroughDialog("huge.bin");

  EXPECT_EQ(Log(), "文件名：huge.bin\r\n目录：\r\n粉碎后可释放空间：4,294,967,296 字节\r\n");
  EXPECT_EQ(GetFileLength(CurrentFile), -1) << "a 32-bit length must fail, not wrap";
  EXPECT_TRUE(InFileHeld());
}

TEST_F(WorkbenchTest, CancelledDialogChangesNothing) {
  CurrentFile = 7;

  model.Click(ControlId::按钮1);

  EXPECT_EQ(journal, Journal{"dialog"});
  EXPECT_EQ(CurrentFile, 7);
  EXPECT_TRUE(InNoFile());
  EXPECT_EQ(Log(), "");
}

TEST_F(WorkbenchTest, FailedOpensLogTheFailureWithoutLineEnd) {
  OpenThroughDialog("missing.txt");
  OpenThroughDialog("missing.txt");

  const Journal once = {"dialog", "编辑框1.Content=missing.txt", std::string("编辑框2+") + kLoadFailed,
                        "编辑框2.SelectionStart=-1"};
  Journal twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(journal, twice);
  EXPECT_EQ(Log(), std::string(kLoadFailed) + kLoadFailed);
  EXPECT_EQ(CurrentFile, 0);
  EXPECT_TRUE(InNoFile());
  EXPECT_EQ(model.Content(ControlId::编辑框1), "missing.txt");
}

TEST_F(WorkbenchTest, CancelGivesTheFileBackUnchanged) {
  MakeFile("keep.txt", 10);
  OpenThroughDialog("keep.txt");
  const FileNumber held = CurrentFile;
  journal.clear();

  model.Click(ControlId::按钮3);

  EXPECT_EQ(journal, (Journal{"按钮1.Disabled=0", "编辑框1.Disabled=0", "按钮2.Disabled=1",
                              "按钮3.Disabled=1", "编辑框1.Content=", "now",
                              "编辑框2+取消粉碎：" + std::string(kStampText) + "\r\n" +
                                  std::string(kRule) + "\r\n\r\n",
                              "编辑框2.SelectionStart=-1"}));
  EXPECT_TRUE(InNoFile());
  EXPECT_EQ(CurrentFile, held) << "closed, never reset";
  EXPECT_EQ(GetFileLength(CurrentFile), -1);
  EXPECT_EQ(ReadFile("keep.txt"), std::string(10, 'x'));

  OpenThroughDialog("keep.txt");
  EXPECT_TRUE(InFileHeld()) << "the same file can be chosen again";
}

TEST_F(WorkbenchTest, ForumButtonOpensTheForumAddress) {
  model.Click(ControlId::按钮4);

  EXPECT_EQ(journal, Journal{"web " + std::string(kForumAddress)});
}

}  // namespace
}  // namespace zuzar::testing
