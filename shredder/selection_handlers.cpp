// Choosing a file, giving it up, and the two small handlers of the log and the forum link.

#include <optional>
#include <string_view>

#include "fileio/file_numbers.h"
#include "shredder/handler_pieces.h"
#include "shredder/handlers.h"
#include "text/format.h"
#include "text/text.h"
#include "ui/desktop.h"

namespace zuzar {

FileNumber CurrentFile = 0;

namespace {

// Nobody else may read or write the file while it is held.
constexpr int32_t kShareNothing = 4;

void EnterFileHeld(Controls& controls) {
  SetDisabled(controls, ControlId::按钮2, false);
  SetDisabled(controls, ControlId::按钮3, false);
  SetDisabled(controls, ControlId::按钮1, true);
  SetDisabled(controls, ControlId::编辑框1, true);
}

void EnterNoFile(Controls& controls) {
  SetDisabled(controls, ControlId::按钮1, false);
  SetDisabled(controls, ControlId::编辑框1, false);
  SetDisabled(controls, ControlId::按钮2, true);
  SetDisabled(controls, ControlId::按钮3, true);
}

// 1-based position of the last backslash, or -1. The search walks GBK characters, so a trail byte
// 0x5C is never taken for the separator.
int32_t LastSeparator(std::string_view path) {
  return FindTextReverse(path, "\\", std::nullopt, true);
}

// Without a backslash the count L + 1 exceeds the length, so the whole path is the name.
Text NameOf(std::string_view path) {
  const double count = static_cast<double>(TextLength(path)) - LastSeparator(path);
  return TextRight(path, ToInteger(count));
}

// No trailing backslash, not even at a drive root ("C:").
Text DirectoryOf(std::string_view path) {
  const double count = static_cast<double>(LastSeparator(path)) - 1;
  return TextLeft(path, ToInteger(count));
}

void LogFileReport(Controls& controls, std::string_view path) {
  const Text name = NameOf(path);
  controls.AppendText(ControlId::编辑框2, {ConcatText({"文件名：", name, "\r\n"})});
  const Text directory = DirectoryOf(path);
  controls.AppendText(ControlId::编辑框2, {ConcatText({"目录：", directory, "\r\n"})});
  // The true length, so that files of 2 GiB and more are reported as they are.
  const Text size = FormatNumber(static_cast<double>(GetFileLength64(CurrentFile)), std::nullopt, true);
  controls.AppendText(ControlId::编辑框2, {ConcatText({"粉碎后可释放空间：", size, " 字节\r\n"})});
}

}  // namespace

void OnOpenClicked(const Workbench& bench) {
  Controls& controls = bench.controls;
  if (!controls.ShowOpenDialog(ControlId::通用对话框1)) return;
  const Text path = controls.GetProperty(ControlId::通用对话框1, Property::FileName).TakeText();
  controls.SetProperty(ControlId::编辑框1, Property::Content, path.view());
  CurrentFile = OpenFile(path.c_str(), std::nullopt, kShareNothing);
  if (CurrentFile == 0) {
    // No line end: a second failure continues on the same line.
    controls.AppendText(ControlId::编辑框2, {"文件载入失败，无法完成粉碎。"});
    return;
  }
  LogFileReport(controls, path);
  EnterFileHeld(controls);
}

void OnCancelClicked(const Workbench& bench) {
  Controls& controls = bench.controls;
  CloseFile(CurrentFile);
  EnterNoFile(controls);
  controls.SetProperty(ControlId::编辑框1, Property::Content, Text());
  const Text time = TimeToText(bench.getNow());
  controls.AppendText(ControlId::编辑框2, {ConcatText({"取消粉碎：", time, kEntryRule})});
}

void OnLogChanged(const Workbench& bench) {
  // -1 puts the caret after the last character and scrolls it into view.
  bench.controls.SetProperty(ControlId::编辑框2, Property::SelectionStart, int32_t{-1});
}

void OnForumClicked(const Workbench& bench) {
  bench.openWebAddress(kForumAddress);
}

}  // namespace zuzar
