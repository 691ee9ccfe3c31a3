#include "ui/control_rules.h"

#include <algorithm>

namespace zuzar {

namespace {

constexpr int32_t kLargestProgressPosition = 32767;

constexpr uint32_t kOfnOverwritePrompt = 0x2;
constexpr uint32_t kOfnHideReadOnly = 0x4;
constexpr uint32_t kOfnNoChangeDir = 0x8;
constexpr uint32_t kOfnPathMustExist = 0x800;
constexpr uint32_t kOfnFileMustExist = 0x1000;
constexpr uint32_t kOfnCreatePrompt = 0x2000;
constexpr uint32_t kOfnExplorer = 0x80000;
constexpr uint32_t kOfnEnableSizing = 0x800000;

bool IsFilterSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Walks the text character by character, so that a trail byte is never read as a character.
template <typename Visit>
void ForEachGbkCharacter(std::string_view text, Visit visit) {
  for (size_t at = 0; at < text.size();) {
    const size_t width = IsGbkLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    visit(at, width);
    at += width;
  }
}

std::string_view CutTrailingSpace(std::string_view text) {
  size_t end = 0;
  ForEachGbkCharacter(text, [&](size_t at, size_t width) {
    if (width == 2 || !IsFilterSpace(text[at])) end = at + width;
  });
  return text.substr(0, end);
}

}  // namespace

int32_t StoredProgressPosition(int32_t value) {
  return std::clamp(value, 0, kLargestProgressPosition);
}

int32_t ShownProgressPosition(int32_t stored, int32_t minimum, int32_t maximum) {
  return std::clamp(stored, std::min(minimum, maximum), std::max(minimum, maximum));
}

EditSelection SelectionAfterStartWrite(EditSelection current, int32_t value, int32_t textLength) {
  if (value == -1) return {textLength, 0};
  return {std::max(value, 0), current.length};
}

uint32_t OpenDialogFlagWord(const DialogSettings& settings) {
  uint32_t flags = kOfnHideReadOnly;
  if (settings.promptToCreate) flags |= kOfnCreatePrompt;
  if (settings.fileMustExist) flags |= kOfnFileMustExist;
  if (settings.promptBeforeOverwrite) flags |= kOfnOverwritePrompt;
  if (settings.pathMustExist) flags |= kOfnPathMustExist;
  if (settings.keepCurrentDirectory) flags |= kOfnNoChangeDir;
  return flags | kOfnExplorer | kOfnEnableSizing;
}

std::string DialogFilterList(std::string_view filter) {
  // Bytes after an embedded NUL are not part of the text.
  std::string list(CutTrailingSpace(filter.substr(0, filter.find('\0'))));
  if (list.empty()) return list;
  if (list.size() < 2 || list.compare(list.size() - 2, 2, "||") != 0) list += "||";
  ForEachGbkCharacter(list, [&](size_t at, size_t width) {
    if (width == 1 && list[at] == '|') list[at] = '\0';
  });
  return list;
}

int32_t DialogFilterIndex(int32_t initialFilter, bool hasFilter) {
  if (!hasFilter) return 0;
  return std::max(initialFilter, 0) + 1;
}

std::array<char, kDialogFileBufferSize> DialogFileBuffer(std::string_view fileName) {
  std::array<char, kDialogFileBufferSize> buffer{};
  const std::string_view name = fileName.substr(0, std::min(fileName.find('\0'), kDialogFileBufferSize - 1));
  std::copy(name.begin(), name.end(), buffer.begin());
  return buffer;
}

int32_t OneLineBoxHeight(int32_t height, int32_t lineHeight, int32_t edge) {
  return std::max(height, lineHeight + 2 * edge);
}

RowSpan CentredLineRows(RowSpan area, int32_t lineHeight) {
  const int32_t spare = area.bottom - area.top - lineHeight;
  if (spare <= 0 || lineHeight <= 0) return area;
  const int32_t top = area.top + spare / 2;
  return {top, top + lineHeight};
}

}  // namespace zuzar
