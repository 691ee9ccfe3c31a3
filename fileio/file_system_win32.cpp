#include <windows.h>

#include "fileio/file_system.h"

namespace zuzar {
namespace {

// Keeps read-only, hidden, system and archive; every other bit is dropped.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

const char* OrEmpty(const char* path) { return path ? path : ""; }

}  // namespace

// A directory of 260 bytes or more does not fit: the call then gives the size it would need
// instead of a path, and the result is the empty text.
Text GetCurrentDir() {
  char buffer[MAX_PATH];
  buffer[0] = '\0';
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) buffer[0] = '\0';
  return buffer[0] == '\0' ? Text() : Text::Copy(buffer);
}

bool DeleteFileAt(const char* path) { return DeleteFileA(OrEmpty(path)) != FALSE; }

bool SetFileAttrs(const char* path, int32_t attributes) {
  const DWORD kept = static_cast<DWORD>(attributes) & kSettableAttributes;
  return SetFileAttributesA(OrEmpty(path), kept) != FALSE;
}

bool RenameFileAt(const char* from, const char* to) {
  return MoveFileA(OrEmpty(from), OrEmpty(to)) != FALSE;
}

bool FileExistsAt(const char* path) {
  return GetFileAttributesA(OrEmpty(path)) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace zuzar
