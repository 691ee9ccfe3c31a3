// Native stand-ins for the whole-file operations. Linux has none of the read-only, hidden, system
// and archive attributes, and it deletes or renames a file that someone holds open. So:
// - read-only is carried by the write permission bits; hidden, system and archive are dropped,
//   and WriteToFile therefore never meets a hidden or system file;
// - deleting or renaming refuses a file that one of our openers holds (it has a flock on it, see
//   the disk file) and, for deleting, a read-only one, as Windows does.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "fileio/file_system.h"

namespace zuzar {
namespace {

constexpr int32_t kReadOnly = 1;
constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;

bool IsEmpty(const char* path) { return !path || path[0] == '\0'; }

// True when one of our openers holds the file: an exclusive lock cannot be had at once.
bool IsHeldOpen(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

bool IsReadOnly(const struct stat& status) { return (status.st_mode & kAnyWrite) == 0; }

}  // namespace

Text GetCurrentDir() {
  char buffer[260];
  if (!::getcwd(buffer, sizeof buffer)) buffer[0] = '\0';
  return buffer[0] == '\0' ? Text() : Text::Copy(buffer);
}

bool DeleteFileAt(const char* path) {
  if (IsEmpty(path)) return false;
  struct stat status {};
  if (::lstat(path, &status) != 0 || S_ISDIR(status.st_mode)) return false;
  if (IsReadOnly(status) || IsHeldOpen(path)) return false;
  return ::unlink(path) == 0;
}

bool SetFileAttrs(const char* path, int32_t attributes) {
  if (IsEmpty(path)) return false;
  struct stat status {};
  if (::stat(path, &status) != 0) return false;
  const mode_t permissions = status.st_mode & 07777;
  const mode_t wanted =
      (attributes & kReadOnly) ? permissions & ~kAnyWrite : permissions | S_IWUSR;
  return ::chmod(path, wanted) == 0;
}

bool RenameFileAt(const char* from, const char* to) {
  if (IsEmpty(from) || IsEmpty(to) || IsHeldOpen(from)) return false;
  // Like MoveFileA, never replace an existing target.
  if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL) return false;
  struct stat status {};
  return ::lstat(to, &status) != 0 && ::rename(from, to) == 0;
}

bool FileExistsAt(const char* path) {
  struct stat status {};
  return !IsEmpty(path) && ::stat(path, &status) == 0;
}

}  // namespace zuzar
