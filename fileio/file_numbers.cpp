#include "fileio/file_numbers.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

#include "fileio/file_registry.h"
#include "fileio/memory_file.h"

namespace zuzar {
namespace {

// DeleteData moves the tail of a file through one buffer of this size, front to back.
constexpr int32_t kMoveChunk = 4096;
// OverwriteWithZeros writes through one zero block of this size, whatever the file's length.
constexpr int32_t kZeroChunk = 1 << 20;
// The block starts on a page boundary: the kernel copies a page-aligned source into the page cache
// faster than one that starts a few bytes into a page, as a large allocation does (measured with
// tools/bench/shred_bench.sh).
constexpr uintptr_t kPageSize = 4096;
// The overwrite flushes after every this many bytes, so that no flush has more than that to write
// back while the caller's window waits for the next progress call (which lets repaints through); one
// flush at the end of a large file could keep it waiting long enough to look hung. Flushing more often
// costs throughput (measured with tools/bench/shred_bench.sh: every 64 MiB was 15% slower).
constexpr int64_t kFlushInterval = int64_t{256} << 20;

struct FreeMemory {
  void operator()(uint8_t* memory) const { std::free(memory); }
};
using Scratch = std::unique_ptr<uint8_t, FreeMemory>;

FileObject* FindFile(FileNumber file) { return TheFileRegistry().Find(file); }

// Moves the position, for the clean-up after a failure, whose own failure changes nothing.
void SeekQuietly(FileObject& file, int32_t offset, SeekOrigin origin) {
  try {
    file.Seek(offset, origin);
  } catch (const FileError&) {
  }
}

FileNumber RegisterQuietly(std::unique_ptr<FileObject> file, FileKind kind) {
  try {
    return TheFileRegistry().Register(std::move(file), kind);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

// Pulls the `remaining` bytes after pos + count up to pos, piece by piece.
void MoveTailUp(FileObject& file, int32_t pos, int32_t count, int64_t remaining) {
  uint8_t buffer[kMoveChunk];
  int64_t cur = pos;
  while (remaining > 0) {
    const auto chunk = static_cast<int32_t>(std::min<int64_t>(remaining, kMoveChunk));
    file.Seek(static_cast<int32_t>(cur + count), SeekOrigin::kStart);
    // A short read means the file changed under us; writing the buffer would copy stale bytes.
    if (file.Read(buffer, chunk) != chunk) throw FileError{};
    file.Seek(static_cast<int32_t>(cur), SeekOrigin::kStart);
    file.Write(buffer, chunk);
    cur += chunk;
    remaining -= chunk;
  }
}

// The first page boundary in `block`, which has kPageSize bytes to spare for it.
const uint8_t* FirstPageBoundary(const uint8_t* block) {
  const uintptr_t offset = reinterpret_cast<uintptr_t>(block) % kPageSize;
  return offset == 0 ? block : block + (kPageSize - offset);
}

}  // namespace

FileNumber OpenFile(const char* path, std::optional<int32_t> mode, std::optional<int32_t> share) {
  const int32_t openMode = mode.value_or(3);
  const int32_t shareMode = share.value_or(1);
  if (!path || path[0] == '\0') return 0;
  if (openMode < 1 || openMode > 6) return 0;
  if (shareMode < 1 || shareMode > 4) return 0;
  try {
    std::unique_ptr<FileObject> file = OpenDiskFile(path, openMode, shareMode);
    if (!file) return 0;
    return RegisterQuietly(std::move(file), FileKind::kDisk);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

FileNumber OpenMemoryFile() {
  try {
    return RegisterQuietly(std::make_unique<MemoryFile>(), FileKind::kMemory);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

void CloseFile(FileNumber file) {
  const std::unique_ptr<FileObject> object = TheFileRegistry().Unregister(file);
  if (!object) return;
  try {
    object->Close();
  } catch (const FileError&) {
  }
}

int32_t GetFileLength(FileNumber file) {
  FileObject* object = FindFile(file);
  if (!object) return -1;
  try {
    return object->GetLength();
  } catch (const FileError&) {
    return -1;
  }
}

int64_t GetFileLength64(FileNumber file) {
  FileObject* object = FindFile(file);
  if (!object) return -1;
  try {
    return object->GetLength64();
  } catch (const FileError&) {
    return -1;
  }
}

bool SeekToStart(FileNumber file) {
  FileObject* object = FindFile(file);
  if (!object) return false;
  try {
    object->Seek(0, SeekOrigin::kStart);
    return true;
  } catch (const FileError&) {
    return false;
  }
}

ByteBuffer ReadBytes(FileNumber file, int32_t count) {
  if (count <= 0) return {};
  FileObject* object = FindFile(file);
  if (!object) return {};
  // Scratch space that cannot be had fails the read; only the result block is fatal to lack.
  const Scratch scratch(static_cast<uint8_t*>(std::malloc(static_cast<size_t>(count))));
  int32_t read = -1;
  if (scratch) {
    try {
      read = object->Read(scratch.get(), count);
    } catch (const FileError&) {
    }
  }
  if (read < 0) {
    SeekQuietly(*object, 0, SeekOrigin::kEnd);
    return {};
  }
  return ByteBuffer::Copy(scratch.get(), read);
}

bool WriteBytes(FileNumber file, std::initializer_list<ByteBufferView> buffers) {
  FileObject* object = FindFile(file);
  if (!object) return false;
  int32_t start = 0;
  try {
    start = object->GetPosition();
  } catch (const FileError&) {
    return false;
  }
  try {
    for (const ByteBufferView& buffer : buffers) {
      if (!buffer.empty()) object->Write(buffer.data(), buffer.size());
    }
    return true;
  } catch (const FileError&) {
    SeekQuietly(*object, start, SeekOrigin::kStart);
    return false;
  }
}

bool DeleteData(FileNumber file, int32_t count) {
  FileObject* object = FindFile(file);
  if (!object) return false;
  int32_t pos = 0;
  try {
    pos = object->GetPosition();
  } catch (const FileError&) {
    return false;
  }
  if (count <= 0) return true;
  try {
    const int64_t length = object->GetLength();
    const int64_t newLength = length - count;
    MoveTailUp(*object, pos, count, length - pos - count);
    object->SetLength(static_cast<int32_t>(std::max<int64_t>(newLength, pos)));
    return true;
  } catch (const FileError&) {
    SeekQuietly(*object, pos, SeekOrigin::kStart);
    return false;
  }
}

bool OverwriteWithZeros(FileNumber file,
                        const std::function<void(int64_t written, int64_t total)>& progress) {
  FileObject* object = FindFile(file);
  if (!object) return false;
  const Scratch block(static_cast<uint8_t*>(std::calloc(kZeroChunk + kPageSize, 1)));
  if (!block) return false;
  const uint8_t* zeros = FirstPageBoundary(block.get());
  try {
    const int64_t total = object->GetLength64();
    object->Seek(0, SeekOrigin::kStart);
    for (int64_t written = 0; written < total;) {
      const auto chunk = static_cast<int32_t>(std::min<int64_t>(total - written, kZeroChunk));
      object->Write(zeros, chunk);
      written += chunk;
      if (written % kFlushInterval == 0) object->Flush();
      if (progress) progress(written, total);
    }
    object->Flush();
    object->Seek(0, SeekOrigin::kStart);
    return true;
  } catch (const FileError&) {
    SeekQuietly(*object, 0, SeekOrigin::kStart);
    return false;
  }
}

void CloseAllFiles() { TheFileRegistry().CloseAll(); }

}  // namespace zuzar
