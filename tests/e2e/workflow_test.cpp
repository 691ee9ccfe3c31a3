// The shredding workflow as a user runs it, through the real window, open dialog and message box:
// choosing a file, giving it up, shredding it, answering No, a file another program holds, a file
// over 2 GiB, and two cases on a disk that a script prepares (a directory that refuses deletions,
// and an image scanned for the shredded content afterwards).

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/zuzar_session.h"

namespace zuzar::e2e {
namespace {

constexpr char kRule[] = "\r\n———————————————————\r\n\r\n";
constexpr char kLoadFailure[] = "文件载入失败，无法完成粉碎。";
constexpr char kSuccess[] = "文件粉碎成功。";
constexpr char kNotDeleted[] = "文件粉碎失败：文件未能删除。";
// The second character is 0x81 0x5C in GBK: its trail byte is a backslash, which must not cut the
// path there.
constexpr char kVictimName[] = "机密乗.txt";
// A run pauses about 1.25 s; the rest is the overwrite, which for the largest file here writes 2 GiB.
constexpr DWORD kRunDeadlineMs = 100000;

// Enabled flags of 按钮1, 编辑框1, 按钮2, 按钮3.
using WindowState = std::array<bool, 4>;
constexpr WindowState kNoFile = {true, true, false, false};
constexpr WindowState kFileHeld = {false, false, true, true};

WindowState StateOf(const ZuzarSession& session) {
  return {session.IsEnabled(ControlId::按钮1), session.IsEnabled(ControlId::编辑框1),
          session.IsEnabled(ControlId::按钮2), session.IsEnabled(ControlId::按钮3)};
}

std::string Log(const ZuzarSession& session) { return session.Text(ControlId::编辑框2); }

// The position of 进度条1 (PBM_GETPOS). The program answers whenever its thread looks at its
// messages: in its message loop, in a modal loop, and while a long overwrite lets repaints through;
// the message is sent from a helper thread with a deadline of our own, as the driver does.
int32_t ProgressPosition(const ZuzarSession& session) {
  const HWND bar = session.Control(ControlId::进度条1);
  std::packaged_task<LRESULT()> send([bar] { return SendMessageA(bar, PBM_GETPOS, 0, 0); });
  std::future<LRESULT> position = send.get_future();
  std::thread(std::move(send)).detach();
  if (position.wait_for(std::chrono::seconds(15)) != std::future_status::ready) {
    throw SessionFailure("the progress bar does not answer PBM_GETPOS");
  }
  return static_cast<int32_t>(position.get());
}

// Time stamps ("2015年3月7日9时5分7秒", shorter on a whole minute or hour) become "<time>", so that
// whole logs compare exactly.
std::string MaskTimeStamps(const std::string& log) {
  static const std::regex stamp("[0-9]{1,4}年[0-9]{1,2}月[0-9]{1,2}日([0-9]{1,2}时([0-9]{1,2}分([0-9]{1,2}秒)?)?)?");
  return std::regex_replace(log, stamp, "<time>");
}

std::string Report(const std::string& name, const std::string& folder, const std::string& size) {
  return "文件名：" + name + "\r\n目录：" + folder + "\r\n粉碎后可释放空间：" + size + " 字节\r\n";
}

std::string ShreddingEntry(const std::string& outcome) { return "粉碎时间：<time>\r\n" + outcome + kRule; }

// 1234567 -> "1,234,567".
std::string Grouped(uint64_t number) {
  std::string digits = std::to_string(number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
  return digits;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteWholeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// True when another program's open fails because the file is held (share 0) by the program.
bool HeldByTheProgram(const std::string& path) {
  UniqueHandle probe(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
  return !probe && GetLastError() == ERROR_SHARING_VIOLATION;
}

// A recognisable, varied content of `size` bytes.
std::string SampleContent(size_t size) {
  std::string content(size, '\0');
  uint32_t state = 12345;
  for (char& byte : content) {
    state = state * 1103515245 + 12345;
    byte = static_cast<char>(state >> 24);
  }
  return content;
}

// The paths handed in by the scripts are plain ASCII.
std::string Folder(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }
std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// The environment's value, empty when it is not set.
std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// 按钮1, the path in the open dialog, OK.
void ChooseFile(const ZuzarSession& session, const std::string& path) {
  session.Click(ControlId::按钮1);
  session.ChooseFileInOpenDialog(session.WaitForDialog(), path);
  session.WaitUntilNoDialog();
}

void OpenAndHold(const ZuzarSession& session, const std::string& path) {
  ChooseFile(session, path);
  WaitUntil(5000, "the state FileHeld", [&] { return StateOf(session) == kFileHeld; });
}

using Answer = void (*)(const ZuzarSession&, HWND box);
void AnswerYes(const ZuzarSession& session, HWND box) { session.AnswerMessageBox(box, IDYES); }
void AnswerNo(const ZuzarSession& session, HWND box) { session.AnswerMessageBox(box, IDNO); }
// What Esc does; under Wine it closes a Yes/No box too, which then answers IDCANCEL.
void CloseTheBox(const ZuzarSession&, HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); }

// 按钮2 and the answer to the confirmation, whose question is checked on the way.
void ClickStartAndAnswer(const ZuzarSession& session, Answer answer) {
  session.Click(ControlId::按钮2);
  const HWND question = session.WaitForDialog();
  EXPECT_EQ(session.MessageBoxText(question), "该操作不可恢复，确定继续吗？");
  answer(session, question);
  session.WaitUntilNoDialog();
}

// The run's last step empties the path box; the file's path stands there until then.
void WaitForTheRunToEnd(const ZuzarSession& session) {
  WaitUntil(kRunDeadlineMs, "the end of the shredding run",
            [&] { return session.Text(ControlId::编辑框1).empty(); });
}

void ExpectBackInNoFile(const ZuzarSession& session) {
  EXPECT_EQ(StateOf(session), kNoFile);
  EXPECT_EQ(session.Text(ControlId::编辑框1), "");
  EXPECT_EQ(ProgressPosition(session), 0);
}

// Shreds the file at `path` through the window and returns the log; the outcome is left to the
// caller.
std::string ShredThroughTheWindow(const ZuzarSession& session, const std::string& path) {
  OpenAndHold(session, path);
  ClickStartAndAnswer(session, &AnswerYes);
  WaitForTheRunToEnd(session);
  return Log(session);
}

class Workflow : public ::testing::Test {
 protected:
  TempFolder data_{"zuzar-e2e-data"};
  const std::string victim_ = data_.path() + "\\" + kVictimName;
};

TEST_F(Workflow, OpenReportsAndHoldsTheFileAndCancelGivesItBackUnchanged) {
  const std::string content = SampleContent(1234567);
  WriteWholeFile(victim_, content);
  ZuzarSession session;

  OpenAndHold(session, victim_);
  const std::string report = Report(kVictimName, data_.path(), "1,234,567");
  EXPECT_EQ(Log(session), report);
  EXPECT_EQ(session.Text(ControlId::编辑框1), victim_);
  EXPECT_TRUE(HeldByTheProgram(victim_));

  session.Click(ControlId::按钮3);
  WaitUntil(5000, "the state NoFile", [&] { return StateOf(session) == kNoFile; });
  WaitUntil(5000, "the cancel entry", [&] { return Log(session).size() > report.size(); });
  EXPECT_EQ(MaskTimeStamps(Log(session)), report + "取消粉碎：<time>" + kRule);
  EXPECT_EQ(session.Text(ControlId::编辑框1), "");
  EXPECT_FALSE(HeldByTheProgram(victim_));
  EXPECT_TRUE(ReadWholeFile(victim_) == content) << "the content changed";
}

TEST_F(Workflow, StartAndYesRemovesTheFileAndLogsTheSuccess) {
  WriteWholeFile(victim_, SampleContent(3 * 1024 * 1024 + 5));
  ZuzarSession session;

  const std::string log = ShredThroughTheWindow(session, victim_);
  EXPECT_EQ(MaskTimeStamps(log), Report(kVictimName, data_.path(), "3,145,733") + ShreddingEntry(kSuccess));
  // Neither the file nor the random name it was renamed to stays behind.
  EXPECT_FALSE(FileExists(victim_));
  EXPECT_TRUE(NamesIn(data_.path()).empty());
  ExpectBackInNoFile(session);
}

TEST_F(Workflow, AnyAnswerButYesChangesNothing) {
  const std::string content = SampleContent(1000);
  WriteWholeFile(victim_, content);
  ZuzarSession session;
  OpenAndHold(session, victim_);
  const std::string report = Log(session);

  const struct {
    const char* name;
    Answer answer;
  } answers[] = {{"No", &AnswerNo}, {"Esc", &CloseTheBox}};
  for (const auto& way : answers) {
    SCOPED_TRACE(way.name);
    ClickStartAndAnswer(session, way.answer);
    Sleep(300);  // time enough for anything the handler might still do
    EXPECT_EQ(Log(session), report);
    EXPECT_EQ(StateOf(session), kFileHeld);
    EXPECT_EQ(session.Text(ControlId::编辑框1), victim_);
    EXPECT_EQ(ProgressPosition(session), 0);
    EXPECT_TRUE(HeldByTheProgram(victim_));
  }
  session.Click(ControlId::按钮3);
  WaitUntil(5000, "the state NoFile", [&] { return StateOf(session) == kNoFile; });
  EXPECT_TRUE(ReadWholeFile(victim_) == content) << "the content changed";
}

// The failure text has no line end: a second failure, and the report of a later successful open,
// continue on its line.
TEST_F(Workflow, AFileHeldByAnotherProgramIsNotLoaded) {
  WriteWholeFile(victim_, "in use");
  ZuzarSession session;
  {
    UniqueHandle holder(
        CreateFileA(victim_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    std::string expected;
    for (int attempt = 1; attempt <= 2; ++attempt) {
      SCOPED_TRACE(attempt);
      ChooseFile(session, victim_);
      expected += kLoadFailure;
      WaitUntil(5000, "the failure text", [&] { return Log(session) == expected; });
      EXPECT_EQ(StateOf(session), kNoFile);
      EXPECT_EQ(session.Text(ControlId::编辑框1), victim_);  // the path stays shown
    }
  }
  OpenAndHold(session, victim_);
  EXPECT_EQ(Log(session), std::string(kLoadFailure) + kLoadFailure + Report(kVictimName, data_.path(), "6"));
}

// A file too long for 32-bit positions: its true size is reported and its whole extent overwritten.
// The overwrite lets messages through, so the bar is seen between 0 and 20 while it runs.
TEST_F(Workflow, AFileOver2GiBShowsItsTrueSizeAndIsShreddedWhileTheBarMoves) {
  constexpr LONGLONG kSize = (LONGLONG{2} << 30) + 1;
  {
    UniqueHandle file(CreateFileA(victim_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(file);
    LARGE_INTEGER end{};
    end.QuadPart = kSize;
    ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()));
  }
  ZuzarSession session;
  OpenAndHold(session, victim_);
  const std::string report = Report(kVictimName, data_.path(), "2,147,483,649");
  EXPECT_EQ(Log(session), report);

  ClickStartAndAnswer(session, &AnswerYes);
  std::vector<int32_t> positions;
  WaitUntil(kRunDeadlineMs, "the end of the shredding run", [&] {
    positions.push_back(ProgressPosition(session));
    return session.Text(ControlId::编辑框1).empty();
  });
  // Until the reset to 0 at the end, the bar only moves forward and no further than 20: the
  // checkpoints 40 to 100 fall in pauses, which let no message through.
  while (!positions.empty() && positions.back() == 0) positions.pop_back();
  bool between = false;
  for (size_t i = 0; i < positions.size(); ++i) {
    EXPECT_LE(positions[i], 20);
    if (i > 0) {
      EXPECT_GE(positions[i], positions[i - 1]);
    }
    between = between || (positions[i] > 0 && positions[i] < 20);
  }
  EXPECT_TRUE(between) << "the bar was never seen between 0 and 20 (" << positions.size() << " readings)";

  EXPECT_EQ(MaskTimeStamps(Log(session)), report + ShreddingEntry(kSuccess));
  EXPECT_TRUE(NamesIn(data_.path()).empty());
  ExpectBackInNoFile(session);
}

// Run by refused_deletion.sh, which makes the file's directory immutable (as root, chattr +i): the
// file system refuses the rename and the deletion, whatever the deletion call answers.
TEST(WorkflowOnPreparedDisk, ADeletionTheFileSystemRefusesIsLoggedAsAFailure) {
  const std::string victim = FromEnvironment("ZUZAR_E2E_UNDELETABLE_FILE");
  if (victim.empty()) GTEST_SKIP() << "ZUZAR_E2E_UNDELETABLE_FILE is not set; refused_deletion.sh sets it";
  const std::string folder = Folder(victim);
  const size_t size = ReadWholeFile(victim).size();
  ASSERT_GT(size, 0u);
  const std::vector<std::string> namesBefore = NamesIn(folder);
  ZuzarSession session;

  const std::string log = ShredThroughTheWindow(session, victim);
  EXPECT_EQ(MaskTimeStamps(log), Report(NameOf(victim), folder, Grouped(size)) + ShreddingEntry(kNotDeleted));
  // The file stays under its own name, emptied: the overwrite and the emptying need no change of
  // the directory.
  EXPECT_EQ(NamesIn(folder), namesBefore);
  EXPECT_TRUE(FileExists(victim));
  EXPECT_EQ(ReadWholeFile(victim), "");
  ExpectBackInNoFile(session);
}

// Run by forensics.sh on a file of a loop-mounted image, which it scans for the content afterwards.
TEST(WorkflowOnPreparedDisk, ShreddingForTheForensicScan) {
  const std::string victim = FromEnvironment("ZUZAR_E2E_FORENSIC_FILE");
  if (victim.empty()) GTEST_SKIP() << "ZUZAR_E2E_FORENSIC_FILE is not set; forensics.sh sets it";
  const std::string folder = Folder(victim);
  const size_t size = ReadWholeFile(victim).size();
  ZuzarSession session;

  const std::string log = ShredThroughTheWindow(session, victim);
  EXPECT_EQ(MaskTimeStamps(log), Report(NameOf(victim), folder, Grouped(size)) + ShreddingEntry(kSuccess));
  EXPECT_TRUE(NamesIn(folder).empty());
}

}  // namespace
}  // namespace zuzar::e2e
