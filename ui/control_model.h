#pragma once
// The controls of the main window without any window: the state the native controls keep, the same
// events in the same order. The handlers run against it in the native build and in tests, where
// the user's side (clicks, typing, the open-file dialog's answers) is scripted through it.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control_rules.h"
#include "ui/controls.h"
#include "ui/events.h"

namespace zuzar {

class ControlModel : public Controls {
 public:
  // Every control in its first state of the layout. Events go to `events`.
  explicit ControlModel(EventDispatcher& events);

  void SetProperty(ControlId control, Property property, const PropertyValue& value) override;
  PropertyValue GetProperty(ControlId control, Property property) override;
  void AppendText(ControlId box, std::initializer_list<std::string_view> pieces) override;
  bool ShowOpenDialog(ControlId dialog) override;

  // The user's side.
  // A click as the user makes it: one clicked event, none when the button is disabled.
  void Click(ControlId button);
  // The user replaces the text of an enabled, writable edit box: one content-changed event.
  void Type(ControlId box, std::string_view text);
  // The outcome of the next ShowOpenDialog, in the order queued: the path the user confirms, or
  // std::nullopt for Cancel. With nothing queued the dialog is cancelled.
  void QueueDialogAnswer(std::optional<std::string> path);

  // Read-back.
  uint32_t FlagWord(ControlId control) const;
  bool IsDisabled(ControlId control) const { return (FlagWord(control) & kFlagDisabled) != 0; }
  std::string_view Content(ControlId box) const;
  EditSelection Selection(ControlId box) const;
  int32_t StoredPosition(ControlId bar) const;
  // What the bar shows: the stored position clamped into its range.
  int32_t ShownPosition(ControlId bar) const;
  std::string_view FileName() const { return fileName_; }
  int32_t DialogOpenings() const { return dialogOpenings_; }
  // The name the dialog showed in its name box when it last opened ("" before any opening).
  std::string_view DialogStartName() const { return dialogStartName_; }

  // After this every operation meets a window that is not loaded, as after the window is closed.
  void Unload() { loaded_ = false; }

 private:
  struct ControlState {
    ControlId id;
    ControlKind kind;
    uint32_t flags;
    std::string content;
    EditSelection selection;
    bool muteChange = false;
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t position = 0;
  };

  ControlState& State(ControlId control);
  const ControlState& State(ControlId control) const;
  void RaiseContentChanged(const ControlState& box);
  void WriteContent(ControlState& box, std::string_view text);

  EventDispatcher& events_;
  std::vector<ControlState> states_;
  std::string fileName_;
  std::deque<std::optional<std::string>> dialogAnswers_;
  int32_t dialogOpenings_ = 0;
  std::string dialogStartName_;
  bool loaded_ = true;
};

}  // namespace zuzar
