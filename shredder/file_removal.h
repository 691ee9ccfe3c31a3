#pragma once
// Removes a closed file by its path so that its name does not stay behind in the directory record
// either: the file is first renamed, in its own directory, to a random name of the same byte length,
// and that name is deleted. Whether the file is gone is decided by looking, not by the deletion's
// result: Wine reports success for a deletion the file system refused, and Windows keeps a deleted
// file's name until the last handle to it is closed.

#include <cstdint>
#include <functional>
#include <string_view>

#include "fileio/file_system.h"
#include "text/text.h"

namespace zuzar {

using RandomSource = std::function<uint32_t()>;
using DeleteOperation = bool (*)(const char* path);

// A path in the directory of `path` whose name is random, of the same byte length as the old name,
// made of lowercase letters and digits and not naming an existing file; null when the name is empty
// or no free name turned up in a few attempts.
Text MakeRandomSibling(std::string_view path, const RandomSource& nextRandom);

// True when no file answers to the path any more. When the rename fails the file is deleted under its
// own name; when the deletion fails after a rename, the file is renamed back, so that the user finds
// it where it was. `deleteFile` is replaceable so that tests can play a refused deletion.
bool RemoveFileByName(std::string_view path, const RandomSource& nextRandom,
                      DeleteOperation deleteFile = DeleteFileAt);

}  // namespace zuzar
