#include <windows.h>

#include <cstdint>
#include <memory>
#include <utility>

#include "fileio/file_object.h"

namespace zuzar {
namespace {

// Owns a Win32 file handle; NULL and INVALID_HANDLE_VALUE both mean none.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.release();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Close(); }

  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  // The handle counts as closed afterwards even when CloseHandle refused; false then.
  bool Close() {
    if (!valid()) return true;
    return CloseHandle(release()) != FALSE;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

DWORD AccessOfMode(int32_t mode) {
  switch (mode) {
    case 1: return GENERIC_READ;
    case 2: case 4: case 5: return GENERIC_WRITE;
    default: return GENERIC_READ | GENERIC_WRITE;
  }
}

DWORD CreationOfMode(int32_t mode) {
  switch (mode) {
    case 4: return CREATE_ALWAYS;
    case 5: case 6: return OPEN_ALWAYS;
    default: return OPEN_EXISTING;
  }
}

DWORD SharingOfShare(int32_t share) {
  switch (share) {
    case 1: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    case 2: return FILE_SHARE_WRITE;
    case 3: return FILE_SHARE_READ;
    default: return 0;
  }
}

DWORD MethodOfOrigin(SeekOrigin origin) {
  switch (origin) {
    case SeekOrigin::kCurrent: return FILE_CURRENT;
    case SeekOrigin::kEnd: return FILE_END;
    default: return FILE_BEGIN;
  }
}

class Win32DiskFile final : public FileObject {
 public:
  explicit Win32DiskFile(UniqueHandle handle) : handle_(std::move(handle)) {}

  int32_t GetPosition() override { return Seek(0, SeekOrigin::kCurrent); }

  // No high part: the position is a 32-bit value. SetFilePointer then refuses a position beyond
  // 4 GiB; one between 2 and 4 GiB would read as negative, so it counts as an error too.
  int32_t Seek(int32_t offset, SeekOrigin origin) override {
    const DWORD position = SetFilePointer(handle_.get(), offset, nullptr, MethodOfOrigin(origin));
    if (position == INVALID_SET_FILE_POINTER || position > static_cast<DWORD>(INT32_MAX)) {
      throw FileError{};
    }
    return static_cast<int32_t>(position);
  }

  // The length is where a seek to the end lands; the true size is asked first, so that a file
  // too long for 32 bits fails instead of giving a wrapped length.
  int32_t GetLength() override {
    if (GetLength64() > INT32_MAX) throw FileError{};
    const int32_t position = GetPosition();
    const int32_t length = Seek(0, SeekOrigin::kEnd);
    Seek(position, SeekOrigin::kStart);
    return length;
  }

  void SetLength(int32_t length) override {
    Seek(length, SeekOrigin::kStart);
    if (!SetEndOfFile(handle_.get())) throw FileError{};
  }

  int32_t Read(uint8_t* dest, int32_t count) override {
    if (count <= 0) return 0;
    DWORD read = 0;
    if (!ReadFile(handle_.get(), dest, static_cast<DWORD>(count), &read, nullptr)) {
      throw FileError{};
    }
    return static_cast<int32_t>(read);
  }

  void Write(const uint8_t* src, int32_t count) override {
    if (count <= 0) return;
    DWORD written = 0;
    if (!WriteFile(handle_.get(), src, static_cast<DWORD>(count), &written, nullptr) ||
        written != static_cast<DWORD>(count)) {
      throw FileError{};
    }
  }

  void Close() override {
    if (!handle_.Close()) throw FileError{};
  }

  int64_t GetLength64() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_.get(), &size)) throw FileError{};
    return size.QuadPart;
  }

  void Flush() override {
    if (!FlushFileBuffers(handle_.get())) throw FileError{};
  }

 private:
  UniqueHandle handle_;
};

}  // namespace

std::unique_ptr<FileObject> OpenDiskFile(const char* path, int32_t mode, int32_t share) {
  // No descriptor, inheritable handle.
  SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  UniqueHandle handle(CreateFileA(path, AccessOfMode(mode), SharingOfShare(share), &security,
                                  CreationOfMode(mode), FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle.valid()) return nullptr;
  return std::make_unique<Win32DiskFile>(std::move(handle));
}

}  // namespace zuzar
