// Failures that a Linux file system can be made to show for real.

#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/shredder/workbench_fixture.h"

namespace zuzar::testing {
namespace {

std::string LastEntry(std::string_view log) {
  const size_t stamp = log.rfind("粉碎时间：");
  return std::string(log.substr(stamp));
}

std::string Ending(std::string_view outcome) {
  return "粉碎时间：" + std::string(kStampText) + "\r\n" + std::string(outcome) + "\r\n" +
         std::string(kRule) + "\r\n\r\n";
}

// Sets or clears the immutable flag of a directory: then it refuses renames and deletions, even
// for root. False where the file system or the process's rights do not allow it.
bool SetImmutable(const char* directory, bool immutable) {
  const int fd = open(directory, O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  close(fd);
  return done;
}

TEST_F(WorkbenchTest, DeletionRefusedByTheFileSystemIsReportedAndTheFileStays) {
  mkdir("locked", 0755);
  MakeFile("locked/held.txt", 100);
  OpenThroughDialog("locked/held.txt");
  if (!SetImmutable("locked", true)) GTEST_SKIP() << "the immutable flag cannot be set here";

  model.Click(ControlId::按钮2);
  const bool stillThere = FileExistsAt("locked/held.txt");
  const int64_t length = std::filesystem::file_size("locked/held.txt");
  SetImmutable("locked", false);

  EXPECT_EQ(LastEntry(Log()), Ending("文件粉碎失败：文件未能删除。"));
  EXPECT_TRUE(stillThere);
  EXPECT_EQ(length, 0);
  EXPECT_TRUE(InNoFile());
}

TEST_F(WorkbenchTest, OverwriteCutShortIsReportedAlthoughTheFileIsGone) {
  MakeFile("big.bin", 3 * 1024 * 1024);
  OpenThroughDialog("big.bin");
  // Writes at or beyond 1 MiB now fail with EFBIG, the overwrite among them.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limited = saved;
  limited.rlim_cur = 1024 * 1024;
  signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);

  model.Click(ControlId::按钮2);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, SIG_DFL);

  EXPECT_EQ(LastEntry(Log()),
            Ending("文件粉碎失败：文件内容未能完全覆写，已删除的数据可能仍可恢复。"));
  EXPECT_FALSE(FileExistsAt("big.bin"));
  EXPECT_TRUE(ScratchNames().empty());
}

}  // namespace
}  // namespace zuzar::testing
