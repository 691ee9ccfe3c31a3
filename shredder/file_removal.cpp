#include "shredder/file_removal.h"

#include <algorithm>
#include <optional>
#include <string>

namespace zuzar {

namespace {

// Lowercase only, since Windows names ignore case. Device names (CON, NUL, COM1 …) all begin with a
// letter, so a leading digit keeps a random name clear of them, whatever its length.
constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kNameCharacters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kNameAttempts = 8;

char PickFrom(std::string_view characters, const RandomSource& nextRandom) {
  return characters[nextRandom() % characters.size()];
}

// 1-based position of the last separator, -1 without one. Windows takes "/" as well as "\"; a GBK
// trail byte can be 0x5C but never 0x2F.
int32_t LastSeparator(std::string_view path) {
  return std::max(FindTextReverse(path, "\\", std::nullopt, false),
                  FindTextReverse(path, "/", std::nullopt, false));
}

std::string RandomName(size_t length, const RandomSource& nextRandom) {
  std::string name(length, '\0');
  name[0] = PickFrom(kDigits, nextRandom);
  for (size_t i = 1; i < length; ++i) name[i] = PickFrom(kNameCharacters, nextRandom);
  return name;
}

}  // namespace

Text MakeRandomSibling(std::string_view path, const RandomSource& nextRandom) {
  const int32_t separator = LastSeparator(path);
  const int32_t directoryLength = std::max(separator, 0);
  const int32_t nameLength = TextLength(path) - directoryLength;
  if (nameLength <= 0) return Text();
  const Text directory = TextLeft(path, directoryLength);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = RandomName(static_cast<size_t>(nameLength), nextRandom);
    Text sibling = ConcatText({directory, name});
    if (!FileExistsAt(sibling.c_str())) return sibling;
  }
  return Text();
}

bool RemoveFileByName(std::string_view path, const RandomSource& nextRandom,
                      DeleteOperation deleteFile) {
  const Text original = Text::Copy(path);
  Text renamed = MakeRandomSibling(path, nextRandom);
  if (!renamed.IsNull() && !RenameFileAt(original.c_str(), renamed.c_str())) renamed = Text();
  const char* current = renamed.IsNull() ? original.c_str() : renamed.c_str();
  deleteFile(current);
  if (!FileExistsAt(current)) return true;
  if (!renamed.IsNull()) RenameFileAt(renamed.c_str(), original.c_str());
  return false;
}

}  // namespace zuzar
