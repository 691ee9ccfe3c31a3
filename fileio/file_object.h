#pragma once
// The object behind a FileNumber: one interface, a disk file per platform and a memory file.
// Operations raise FileError when they fail; the public file operations catch it, so no error
// leaves the file layer.

#include <cstdint>
#include <memory>

namespace zuzar {

// Raised by a file object whose operation failed (a refused platform call, a negative position,
// a memory file that cannot grow).
struct FileError {};

enum class SeekOrigin { kStart, kCurrent, kEnd };

// Positions and lengths are signed 32-bit; an object raises FileError rather than return a
// value that does not fit. Only the 64-bit members see the true extent of a huge file.
class FileObject {
 public:
  virtual ~FileObject() = default;
  FileObject() = default;
  FileObject(const FileObject&) = delete;
  FileObject& operator=(const FileObject&) = delete;

  virtual int32_t GetPosition() = 0;
  // Returns the new position.
  virtual int32_t Seek(int32_t offset, SeekOrigin origin) = 0;
  // The position is kept.
  virtual int32_t GetLength() = 0;
  // Cuts or extends the file to `length`; the position is left at min(position, length) for a
  // memory file and at `length` for a disk file.
  virtual void SetLength(int32_t length) = 0;
  // Reads up to `count` bytes at the position; fewer at the end of the file.
  virtual int32_t Read(uint8_t* dest, int32_t count) = 0;
  // Writes all `count` bytes at the position; a short write is an error.
  virtual void Write(const uint8_t* src, int32_t count) = 0;
  virtual void Close() = 0;

  // The true length, whatever its size.
  virtual int64_t GetLength64() = 0;
  // Hands written data to the device (nothing to do for a memory file).
  virtual void Flush() = 0;
};

// Opens a disk file with the mode (1..6) and share (1..4) of OpenFile; null when the platform
// refuses. Realised once per platform.
std::unique_ptr<FileObject> OpenDiskFile(const char* path, int32_t mode, int32_t share);

}  // namespace zuzar
