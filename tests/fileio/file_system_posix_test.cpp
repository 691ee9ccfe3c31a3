#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fileio/file_system.h"
#include "tests/fileio/scratch_dir.h"

namespace zuzar {
namespace test {

bool MakeSparseFile(const std::string& path, int64_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool made = ::ftruncate(fd, size) == 0;
  ::close(fd);
  return made;
}

}  // namespace test

namespace {

TEST(FileSystemPosixTest, TheRootIsTheOnlyDirectoryEndingInASeparator) {
  const std::filesystem::path saved = std::filesystem::current_path();
  ASSERT_EQ(::chdir("/"), 0);
  const Text root = GetCurrentDir();
  std::filesystem::current_path(saved);
  EXPECT_EQ(root.view(), "/");
}

}  // namespace
}  // namespace zuzar
