// How the program starts and ends: it works in its own folder whatever folder it was started from;
// closing the window while a file is held closes that file unchanged, and the exit code is still 0.
// Together they use the driver's whole vocabulary: dialog, message box, state.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/e2e/zuzar_session.h"

namespace zuzar::e2e {
namespace {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool HeldByAnotherProgram(const std::string& path) {
  UniqueHandle probe(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
  return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

// Started from another folder (as from a shortcut), the program makes its own folder current before
// its window exists: the open dialog, which starts in the current folder, finds a bare file name
// there.
TEST(ProgramStart, StartedElsewhereTheProgramWorksInItsOwnFolder) {
  ZuzarSession session;
  ASSERT_NE(session.StartDirectory(), session.ProgramFolder());
  const std::string marker = session.ProgramFolder() + "\\marker.txt";
  std::ofstream(marker, std::ios::binary) << "x";

  session.Click(ControlId::按钮1);
  session.ChooseFileInOpenDialog(session.WaitForDialog(), "marker.txt");
  WaitUntil(5000, "the state FileHeld", [&] { return session.IsEnabled(ControlId::按钮2); });
  EXPECT_EQ(session.Text(ControlId::编辑框1), marker);
}

TEST(ProgramEnd, ClosingWhileAFileIsHeldEndsWithZeroAndLeavesTheFileUnchanged) {
  TempFolder data("zuzar-e2e-data");
  const std::string victim = data.path() + "\\keep.txt";
  std::ofstream(victim, std::ios::binary) << "still here";

  ZuzarSession session;
  session.Click(ControlId::按钮1);
  session.ChooseFileInOpenDialog(session.WaitForDialog(), victim);
  session.WaitUntilNoDialog();
  WaitUntil(5000, "the state FileHeld", [&] { return session.IsEnabled(ControlId::按钮2); });
  EXPECT_EQ(session.Text(ControlId::编辑框1), victim);
  EXPECT_TRUE(HeldByAnotherProgram(victim));

  // Start, then No: nothing happens.
  session.Click(ControlId::按钮2);
  const HWND question = session.WaitForDialog();
  EXPECT_EQ(session.MessageBoxText(question), "该操作不可恢复，确定继续吗？");
  session.AnswerMessageBox(question, IDNO);
  session.WaitUntilNoDialog();
  EXPECT_TRUE(session.IsEnabled(ControlId::按钮2));

  PostMessageA(session.MainWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(session.WaitForExit(), 0u);
  EXPECT_FALSE(HeldByAnotherProgram(victim));
  EXPECT_EQ(ReadWholeFile(victim), "still here");
}

}  // namespace
}  // namespace zuzar::e2e
