// The Start handler: one run from the confirmation to the reset of the window, on the UI thread.

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "fileio/byte_buffer.h"
#include "fileio/file_numbers.h"
#include "shredder/file_removal.h"
#include "shredder/handler_pieces.h"
#include "shredder/handlers.h"
#include "text/format.h"
#include "text/text.h"

namespace zuzar {

namespace {

constexpr int32_t kYesNoQuestion = 36;  // MB_YESNO | MB_ICONQUESTION
constexpr int32_t kYes = 5;
constexpr int32_t kStepPauseMs = 50;
constexpr int32_t kFinalPauseMs = 1000;
// The share of the progress bar that the in-place overwrite fills, before the first checkpoint.
constexpr int32_t kOverwriteShare = 20;
// The scratch pass copies what the emptying left behind, which is nothing unless the emptying failed;
// the bound keeps even that case from allocating in proportion to the file.
constexpr int32_t kScratchLimit = 1 << 20;

void SetProgress(Controls& controls, int32_t position) {
  controls.SetProperty(ControlId::进度条1, Property::Position, position);
}

void PauseThenProgress(const Workbench& bench, int32_t position) {
  bench.sleepMs(kStepPauseMs);
  SetProgress(bench.controls, position);
}

// Zeros over the whole content, flushed to the device, the position back at 0. The bar moves with
// the bytes written and pending repaints go through, so that a long overwrite does not look hung.
bool OverwriteContent(const Workbench& bench) {
  int32_t shown = 0;
  return OverwriteWithZeros(CurrentFile, [&bench, &shown](int64_t written, int64_t total) {
    const auto position =
        total > 0 ? static_cast<int32_t>(written * kOverwriteShare / total) : kOverwriteShare;
    if (position != shown) {
      SetProgress(bench.controls, position);
      shown = position;
    }
    bench.dispatchPaint();
  });
}

void EmptyFile() {
  DeleteData(CurrentFile, GetFileLength(CurrentFile));
}

// A blank buffer as long as the file now is goes into a memory file, comes back into the file, and
// is cut off both again.
FileNumber ScratchWriteBlank() {
  const FileNumber scratch = OpenMemoryFile();
  const ByteBuffer blank = MakeBlankBytes(std::min(GetFileLength(CurrentFile), kScratchLimit));
  WriteBytes(scratch, {blank.IsNull() ? EmptyByteBuffer() : blank.view()});
  SeekToStart(scratch);
  return scratch;
}

void ScratchCopyBack(FileNumber scratch) {
  const ByteBuffer copy = ReadBytes(scratch, GetFileLength(scratch));
  WriteBytes(CurrentFile, {copy});
}

void ScratchCutBoth(FileNumber scratch) {
  DeleteData(CurrentFile, GetFileLength(CurrentFile));
  DeleteData(scratch, GetFileLength(scratch));
}

std::string_view OutcomeEntry(bool overwritten, bool removed) {
  if (!removed) return "文件粉碎失败：文件未能删除。";
  if (!overwritten) return "文件粉碎失败：文件内容未能完全覆写，已删除的数据可能仍可恢复。";
  return "文件粉碎成功。";
}

}  // namespace

void OnStartClicked(const Workbench& bench) {
  Controls& controls = bench.controls;
  if (bench.showMessageBox("该操作不可恢复，确定继续吗？", kYesNoQuestion, "询问:") != kYes) return;
  SetDisabled(controls, ControlId::按钮2, true);
  SetDisabled(controls, ControlId::按钮3, true);

  const bool overwritten = OverwriteContent(bench);
  EmptyFile();
  PauseThenProgress(bench, 20);
  const FileNumber scratch = ScratchWriteBlank();
  PauseThenProgress(bench, 40);
  ScratchCopyBack(scratch);
  PauseThenProgress(bench, 60);
  ScratchCutBoth(scratch);
  PauseThenProgress(bench, 80);
  CloseFile(scratch);
  CloseFile(CurrentFile);

  // The path is the dialog's choice, not whatever the path box shows.
  const Text path = controls.GetProperty(ControlId::通用对话框1, Property::FileName).TakeText();
  const bool removed = RemoveFileByName(path, bench.nextRandom);
  PauseThenProgress(bench, 100);

  SetDisabled(controls, ControlId::按钮1, false);
  SetDisabled(controls, ControlId::编辑框1, false);
  // Read after the deletion, so the stamp tells when the file was gone.
  const Text time = TimeToText(bench.getNow());
  controls.AppendText(ControlId::编辑框2, {ConcatText({"粉碎时间：", time, "\r\n"})});
  controls.AppendText(ControlId::编辑框2, {ConcatText({OutcomeEntry(overwritten, removed), kEntryRule})});

  bench.sleepMs(kFinalPauseMs);
  SetProgress(controls, 0);
  controls.SetProperty(ControlId::编辑框1, Property::Content, Text());
}

}  // namespace zuzar
