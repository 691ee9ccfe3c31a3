// The native stand-in for the Win32 disk file, for building and testing the layers above it on
// Linux. Share modes are approximated with flock: share 4 (exclusive) takes an exclusive lock,
// shares 1 to 3 a shared one, both without waiting. So an exclusive opener and any other opener
// of ours exclude each other, as on Windows; the finer denials of shares 2 and 3 (reading or
// writing only) are not enforced, and programs that take no locks are not stopped at all.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <utility>

#include "fileio/file_object.h"

namespace zuzar {
namespace {

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&&) = delete;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Close(); }

  bool valid() const { return fd_ >= 0; }
  int get() const { return fd_; }
  // The descriptor counts as closed afterwards even when close() failed; false then.
  bool Close() {
    if (!valid()) return true;
    return ::close(std::exchange(fd_, -1)) == 0;
  }

 private:
  int fd_;
};

int FlagsOfMode(int32_t mode) {
  switch (mode) {
    case 1: return O_RDONLY;
    case 2: return O_WRONLY;
    case 3: return O_RDWR;
    // Mode 4 empties the file only once the lock is held, so a refused open changes nothing.
    case 4: case 5: return O_WRONLY | O_CREAT;
    default: return O_RDWR | O_CREAT;
  }
}

int WhenceOfOrigin(SeekOrigin origin) {
  switch (origin) {
    case SeekOrigin::kCurrent: return SEEK_CUR;
    case SeekOrigin::kEnd: return SEEK_END;
    default: return SEEK_SET;
  }
}

class PosixDiskFile final : public FileObject {
 public:
  explicit PosixDiskFile(UniqueFd fd) : fd_(std::move(fd)) {}

  int32_t GetPosition() override { return Seek(0, SeekOrigin::kCurrent); }

  // Positions are 32-bit signed, as on Windows; one beyond that is an error.
  int32_t Seek(int32_t offset, SeekOrigin origin) override {
    const off_t position = ::lseek(fd_.get(), offset, WhenceOfOrigin(origin));
    if (position < 0 || position > INT32_MAX) throw FileError{};
    return static_cast<int32_t>(position);
  }

  int32_t GetLength() override {
    if (GetLength64() > INT32_MAX) throw FileError{};
    const int32_t position = GetPosition();
    const int32_t length = Seek(0, SeekOrigin::kEnd);
    Seek(position, SeekOrigin::kStart);
    return length;
  }

  void SetLength(int32_t length) override {
    Seek(length, SeekOrigin::kStart);
    if (::ftruncate(fd_.get(), length) != 0) throw FileError{};
  }

  int32_t Read(uint8_t* dest, int32_t count) override {
    int32_t done = 0;
    while (done < count) {
      const ssize_t got = ::read(fd_.get(), dest + done, static_cast<size_t>(count - done));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) throw FileError{};
      if (got == 0) break;
      done += static_cast<int32_t>(got);
    }
    return done;
  }

  void Write(const uint8_t* src, int32_t count) override {
    int32_t done = 0;
    while (done < count) {
      const ssize_t put = ::write(fd_.get(), src + done, static_cast<size_t>(count - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) throw FileError{};
      done += static_cast<int32_t>(put);
    }
  }

  void Close() override {
    if (!fd_.Close()) throw FileError{};
  }

  int64_t GetLength64() override {
    struct stat status {};
    if (::fstat(fd_.get(), &status) != 0) throw FileError{};
    return status.st_size;
  }

  void Flush() override {
    if (::fsync(fd_.get()) != 0) throw FileError{};
  }

 private:
  UniqueFd fd_;
};

bool IsDirectory(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::unique_ptr<FileObject> OpenDiskFile(const char* path, int32_t mode, int32_t share) {
  // The descriptor is inheritable like the Win32 handle: no O_CLOEXEC. Linux opens a directory
  // for reading; Windows refuses it.
  UniqueFd fd(::open(path, FlagsOfMode(mode), 0666));
  if (!fd.valid() || IsDirectory(fd.get())) return nullptr;
  const int lock = share == 4 ? LOCK_EX : LOCK_SH;
  if (::flock(fd.get(), lock | LOCK_NB) != 0) return nullptr;
  if (mode == 4 && ::ftruncate(fd.get(), 0) != 0) return nullptr;
  return std::make_unique<PosixDiskFile>(std::move(fd));
}

}  // namespace zuzar
