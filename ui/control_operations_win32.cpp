#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <array>

#include "text/fatal.h"
#include "ui/win32_controls.h"

namespace zuzar {

namespace {

constexpr std::string_view kWindowNotLoaded = "未载入欲访问窗口组件所在的窗口";
constexpr std::string_view kControlNotLoaded = "指定窗口或窗口组件不存在或尚未载入";
constexpr std::string_view kControlWindowGone = "指定窗口尚未载入";

std::string UpToNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

const char* NullWhenEmpty(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

Win32Controls::NativeControl& Win32Controls::Find(ControlId id) {
  return const_cast<NativeControl&>(std::as_const(*this).Find(id));
}

const Win32Controls::NativeControl& Win32Controls::Find(ControlId id) const {
  for (const NativeControl& control : controls_) {
    if (control.record->id == id) return control;
  }
  ReportFatal(kControlNotLoaded, 0);
}

Win32Controls::NativeControl* Win32Controls::FindByWindow(HWND window) {
  if (window == nullptr) return nullptr;
  for (NativeControl& control : controls_) {
    if (control.window == window) return &control;
  }
  return nullptr;
}

Win32Controls::NativeControl& Win32Controls::LiveKindControl(ControlId id) {
  NativeControl& control = Find(id);
  const bool hasWindow = control.record->kind != ControlKind::OpenFileDialog;
  if (hasWindow && (control.window == nullptr || !IsWindow(control.window))) ReportFatal(kControlWindowGone, 0);
  return control;
}

void Win32Controls::SetProperty(ControlId id, Property property, const PropertyValue& value) {
  if (!Exists()) ReportFatal(kWindowNotLoaded, 0);
  if (property == Property::Disabled) {
    WriteDisabled(Find(id), value.AsBool());
    return;
  }
  NativeControl& control = LiveKindControl(id);
  const ControlKind kind = control.record->kind;
  switch (property) {
    case Property::Content:
      if (kind == ControlKind::EditBox) WriteContent(control, value.AsText());
      return;
    case Property::Position:
      if (kind == ControlKind::ProgressBar) WritePosition(control, value.AsInt());
      return;
    case Property::SelectionStart:
      if (kind == ControlKind::EditBox) WriteSelectionStart(control, value.AsInt());
      return;
    case Property::FileName:  // only the user's confirmation in the dialog sets it
    case Property::Disabled:
      return;
  }
}

PropertyValue Win32Controls::GetProperty(ControlId id, Property property) {
  if (!Exists()) ReportFatal(kWindowNotLoaded, 0);
  if (property == Property::Disabled) return (Find(id).flags & kFlagDisabled) != 0;
  const NativeControl& control = LiveKindControl(id);
  const ControlKind kind = control.record->kind;
  switch (property) {
    case Property::Content:
      // What the box shows, the user's typing included.
      return kind == ControlKind::EditBox ? Text::Copy(WindowTextOf(control.window)) : Text();
    case Property::FileName:
      return kind == ControlKind::OpenFileDialog && !control.fileName.empty() ? Text::Copy(control.fileName) : Text();
    case Property::Position:
      return kind == ControlKind::ProgressBar ? control.position : 0;
    case Property::SelectionStart:
      return kind == ControlKind::EditBox ? control.selection.start : 0;
    case Property::Disabled:
      break;
  }
  return PropertyValue(int32_t{0});
}

void Win32Controls::WriteDisabled(NativeControl& control, bool disabled) {
  control.flags = disabled ? (control.flags | kFlagDisabled) : (control.flags & ~kFlagDisabled);
  if (control.window == nullptr) return;
  if (disabled && control.record->kind != ControlKind::Window) MoveFocusAwayFrom(control);
  EnableWindow(control.window, !disabled);
}

void Win32Controls::WriteContent(NativeControl& box, std::string_view text) {
  // The box reports its own change while the text is set; that report is muted, and the one event
  // comes from the notification sent after the text is in place, even when nothing changed.
  box.muteChange = true;
  box.content = UpToNul(text);
  SetWindowTextA(box.window, box.content.c_str());
  box.muteChange = false;
  SendMessageA(box.window, WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(box.window));
}

void Win32Controls::WritePosition(NativeControl& bar, int32_t value) {
  bar.position = StoredProgressPosition(value);
  SendMessageA(bar.window, PBM_SETPOS, ShownProgressPosition(bar.position, bar.minimum, bar.maximum), 0);
}

void Win32Controls::WriteSelectionStart(NativeControl& box, int32_t value) {
  const auto length = value == -1 ? static_cast<int32_t>(WindowTextOf(box.window).size()) : 0;
  box.selection = SelectionAfterStartWrite(box.selection, value, length);
  SendMessageA(box.window, EM_SETSEL, box.selection.start, box.selection.start + box.selection.length);
  SendMessageA(box.window, EM_SCROLLCARET, 0, 0);
}

void Win32Controls::AppendText(ControlId id, std::initializer_list<std::string_view> pieces) {
  for (std::string_view piece : pieces) {
    // Checked for every piece: the handler run by the previous one may have closed the window.
    if (!Exists()) ReportFatal(kControlNotLoaded, 0);
    NativeControl& box = Find(id);
    if (box.record->kind != ControlKind::EditBox) return;
    if (box.window == nullptr || !IsWindow(box.window)) ReportFatal(kControlNotLoaded, 0);
    AppendPiece(box, piece);
  }
}

void Win32Controls::AppendPiece(NativeControl& box, std::string_view piece) {
  const auto end = static_cast<WPARAM>(WindowTextOf(box.window).size());
  SendMessageA(box.window, EM_SETSEL, end, end);
  SendMessageA(box.window, EM_SCROLLCARET, 0, 0);
  const std::string text = UpToNul(piece);
  // wParam 0: the replacement cannot be undone. A read-only box takes it, as it comes from us.
  SendMessageA(box.window, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool Win32Controls::ShowOpenDialog(ControlId id) {
  if (!Exists()) ReportFatal(kControlNotLoaded, 0);
  NativeControl& dialog = Find(id);
  if (dialog.record->kind != ControlKind::OpenFileDialog) return false;
  const auto& settings = std::get<DialogSettings>(dialog.record->settings);
  const std::string filter = DialogFilterList(settings.filter);
  const std::string title(settings.title);
  const std::string directory(settings.initialDirectory);
  const std::string extension(settings.defaultExtension);
  std::array<char, kDialogFileBufferSize> file = DialogFileBuffer(dialog.fileName);
  std::array<char, kDialogTitleBufferSize> fileTitle{};

  OPENFILENAMEA request{};
  // The form without the Windows 2000 fields: 76 bytes on 32-bit. The 64-bit dialog rejects a
  // literal 76, so the size comes from the structure.
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  request.hwndOwner = window_;
  request.lpstrFilter = NullWhenEmpty(filter);
  request.nFilterIndex = static_cast<DWORD>(DialogFilterIndex(settings.initialFilter, !filter.empty()));
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  request.lpstrFileTitle = fileTitle.data();
  request.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  request.lpstrInitialDir = NullWhenEmpty(directory);
  request.lpstrTitle = NullWhenEmpty(title);
  request.lpstrDefExt = NullWhenEmpty(extension);
  request.Flags = OpenDialogFlagWord(settings);
  if (!GetOpenFileNameA(&request)) return false;
  dialog.fileName = file.data();
  return true;
}

}  // namespace zuzar
