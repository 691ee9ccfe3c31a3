#pragma once
// Files named by file numbers: disk files and files in memory, all kept in one registry from their
// open until CloseFile or the end-of-run clean-up. Every operation is silent: failure shows only in
// the result (0, false, -1 or a null buffer). Running out of memory for a result block is fatal.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>

#include "fileio/byte_buffer.h"

namespace zuzar {

// Names an open file; 0 is no file. Positive, unique among open files, invalid after CloseFile.
using FileNumber = int32_t;

// mode: 1 read, 2 write, 3 read+write (existing file); 4 rewrite (create or empty, write only);
//       5 write, 6 read+write (create if missing, keep content). Omitted: 3.
// share: what others may do meanwhile: 1 read+write, 2 write, 3 read, 4 nothing. Omitted: 1.
// A mode or share given as 0 (or out of range) fails; the position starts at 0.
FileNumber OpenFile(const char* path, std::optional<int32_t> mode = std::nullopt,
                    std::optional<int32_t> share = std::nullopt);
// A new, empty file that lives in memory.
FileNumber OpenMemoryFile();
// Unregisters, closes and destroys the file; an unknown number does nothing.
void CloseFile(FileNumber file);
// Length in bytes, -1 on failure; the position is kept. A disk file too long for a signed 32-bit
// length gives -1 rather than a wrapped value.
int32_t GetFileLength(FileNumber file);
// The true length, however large; -1 on failure. The position is kept.
int64_t GetFileLength64(FileNumber file);
// True when the position is now 0.
bool SeekToStart(FileNumber file);
// Up to `count` bytes from the position; null when none were read or on failure (then the
// position is at the end of the file).
ByteBuffer ReadBytes(FileNumber file, int32_t count);
// Writes every buffer at the position in order, skipping empty ones. On failure the position
// goes back to where it was; bytes already written stay.
bool WriteBytes(FileNumber file, std::initializer_list<ByteBufferView> buffers);
// Removes `count` bytes at the position and pulls the rest of the file up; the position ends at
// the new length. count <= 0 changes nothing and gives true.
bool DeleteData(FileNumber file, int32_t count);
// Overwrites the file's whole true length in place with zero bytes, front to back, through one
// fixed 1 MiB block, then flushes it to the device and returns the position to 0. `progress`
// (may be empty) is called after each block with the bytes written so far and the length; an
// empty file calls it never. On failure the bytes already overwritten stay zero and the result
// is false.
bool OverwriteWithZeros(FileNumber file,
                        const std::function<void(int64_t written, int64_t total)>& progress);

// End of run, normal or fatal: closes and destroys every registered file, first to last, errors
// ignored, and empties the registry.
void CloseAllFiles();

}  // namespace zuzar
