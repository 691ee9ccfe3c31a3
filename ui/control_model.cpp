#include "ui/control_model.h"

#include <algorithm>
#include <utility>

#include "text/fatal.h"

namespace zuzar {

namespace {

constexpr std::string_view kWindowNotLoaded = "未载入欲访问窗口组件所在的窗口";
constexpr std::string_view kControlNotLoaded = "指定窗口或窗口组件不存在或尚未载入";

// Texts end at their first NUL, as they do in a window.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

ControlModel::ControlModel(EventDispatcher& events) : events_(events) {
  for (const ControlRecord& record : MainWindowLayout()) {
    ControlState state{record.id, record.kind, record.flags, {}, {}};
    if (const auto* progress = std::get_if<ProgressSettings>(&record.settings)) {
      state.minimum = progress->minimum;
      state.maximum = progress->maximum;
      state.position = StoredProgressPosition(progress->position);
    }
    states_.push_back(std::move(state));
  }
}

ControlModel::ControlState& ControlModel::State(ControlId control) {
  return const_cast<ControlState&>(std::as_const(*this).State(control));
}

const ControlModel::ControlState& ControlModel::State(ControlId control) const {
  auto found = std::find_if(states_.begin(), states_.end(),
                            [control](const ControlState& state) { return state.id == control; });
  if (found == states_.end()) ReportFatal(kControlNotLoaded, 0);
  return *found;
}

void ControlModel::SetProperty(ControlId control, Property property, const PropertyValue& value) {
  if (!loaded_) ReportFatal(kWindowNotLoaded, 0);
  ControlState& state = State(control);
  switch (property) {
    case Property::Disabled:
      state.flags = value.AsBool() ? (state.flags | kFlagDisabled) : (state.flags & ~kFlagDisabled);
      return;
    case Property::Content:
      if (state.kind == ControlKind::EditBox) WriteContent(state, value.AsText());
      return;
    case Property::Position:
      if (state.kind == ControlKind::ProgressBar) state.position = StoredProgressPosition(value.AsInt());
      return;
    case Property::SelectionStart:
      if (state.kind == ControlKind::EditBox) {
        const auto length = static_cast<int32_t>(state.content.size());
        state.selection = SelectionAfterStartWrite(state.selection, value.AsInt(), length);
      }
      return;
    case Property::FileName:
      // Only the user's confirmation in the dialog sets it.
      return;
  }
}

PropertyValue ControlModel::GetProperty(ControlId control, Property property) {
  if (!loaded_) ReportFatal(kWindowNotLoaded, 0);
  const ControlState& state = State(control);
  switch (property) {
    case Property::Disabled: return (state.flags & kFlagDisabled) != 0;
    case Property::Content: return Text::Copy(state.content);
    case Property::FileName: return fileName_.empty() ? Text() : Text::Copy(fileName_);
    case Property::Position: return state.position;
    case Property::SelectionStart: return state.selection.start;
  }
  return PropertyValue(int32_t{0});
}

void ControlModel::WriteContent(ControlState& box, std::string_view text) {
  // A window would report its own change while the text is set; that report is muted, and the
  // one event comes after the text is in place, even when nothing changed.
  box.muteChange = true;
  box.content = std::string(UpToNul(text));
  box.muteChange = false;
  RaiseContentChanged(box);
}

void ControlModel::RaiseContentChanged(const ControlState& box) {
  if (box.muteChange) return;
  events_.RaiseEvent(box.id, kEditContentChanged);
}

void ControlModel::AppendText(ControlId box, std::initializer_list<std::string_view> pieces) {
  if (!loaded_) ReportFatal(kControlNotLoaded, 0);
  if (State(box).kind != ControlKind::EditBox) return;
  for (std::string_view piece : pieces) {
    // Looked up again for every piece: a handler run by the previous one may have changed things.
    ControlState& state = State(box);
    const std::string_view text = UpToNul(piece);
    // Replacing an empty selection by nothing changes nothing, and a box reports no change then.
    if (text.empty()) continue;
    state.content += text;
    RaiseContentChanged(state);
  }
}

bool ControlModel::ShowOpenDialog(ControlId dialog) {
  if (!loaded_) ReportFatal(kControlNotLoaded, 0);
  if (State(dialog).kind != ControlKind::OpenFileDialog) return false;
  ++dialogOpenings_;
  dialogStartName_ = DialogFileBuffer(fileName_).data();
  std::optional<std::string> answer;
  if (!dialogAnswers_.empty()) {
    answer = std::move(dialogAnswers_.front());
    dialogAnswers_.pop_front();
  }
  if (!answer) return false;
  const std::string_view path = UpToNul(*answer);
  // A path that does not fit the dialog's buffer ends the dialog with an error.
  if (path.size() >= kDialogFileBufferSize) return false;
  fileName_ = std::string(path);
  return true;
}

void ControlModel::Click(ControlId button) {
  if (!loaded_ || IsDisabled(ControlId::Window)) return;
  const ControlState& state = State(button);
  if (state.kind != ControlKind::PushButton || (state.flags & kFlagDisabled) != 0) return;
  events_.RaiseEvent(button, kButtonClicked);
}

void ControlModel::Type(ControlId box, std::string_view text) {
  if (!loaded_ || IsDisabled(ControlId::Window)) return;
  ControlState& state = State(box);
  if (state.kind != ControlKind::EditBox || (state.flags & kFlagDisabled) != 0) return;
  const auto* settings = std::get_if<EditSettings>(&LayoutRecord(box).settings);
  if (settings != nullptr && settings->readOnly) return;
  state.content = std::string(UpToNul(text));
  RaiseContentChanged(state);
}

void ControlModel::QueueDialogAnswer(std::optional<std::string> path) {
  dialogAnswers_.push_back(std::move(path));
}

uint32_t ControlModel::FlagWord(ControlId control) const { return State(control).flags; }

std::string_view ControlModel::Content(ControlId box) const { return State(box).content; }

EditSelection ControlModel::Selection(ControlId box) const { return State(box).selection; }

int32_t ControlModel::StoredPosition(ControlId bar) const { return State(bar).position; }

int32_t ControlModel::ShownPosition(ControlId bar) const {
  const ControlState& state = State(bar);
  return ShownProgressPosition(state.position, state.minimum, state.maximum);
}

}  // namespace zuzar
