#pragma once
// Whole files named by a path (a GBK Text handed unchanged to the ANSI API). Silent: the result
// alone tells failure. None of them touches the file registry.

#include <cstdint>
#include <initializer_list>

#include "fileio/byte_buffer.h"
#include "text/text.h"

namespace zuzar {

// The current directory, no trailing backslash except at a drive root; null on failure or when it
// does not fit in 260 bytes.
Text GetCurrentDir();
// Creates or empties the file (write only, no sharing) and writes the buffers in order. Refused for
// an existing hidden or system file on Windows.
bool WriteToFile(const char* path, std::initializer_list<ByteBufferView> buffers);
// True when the platform deleted the file.
bool DeleteFileAt(const char* path);
// Replaces the attributes by attributes & 0x27 (read-only 1, hidden 2, system 4, archive 32).
bool SetFileAttrs(const char* path, int32_t attributes);
// Renames or moves a file; false when the target exists or the file is held open.
bool RenameFileAt(const char* from, const char* to);
// True when the path names something on the disk. Under Wine a refused deletion can still
// report success, so whoever must know that a file is gone looks.
bool FileExistsAt(const char* path);

}  // namespace zuzar
