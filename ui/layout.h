#pragma once
// The main window as data: one record for the window and one for each control, in the stored order
// (the window first). The controls are built in the reverse of the stored order and stacked in it.

#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

#include "ui/controls.h"
#include "ui/events.h"

namespace zuzar {

enum class ControlKind { Window, PushButton, Label, EditBox, ProgressBar, OpenFileDialog };

// The flag word of a record.
constexpr uint32_t kFlagVisible = 0x1;
constexpr uint32_t kFlagDisabled = 0x2;
constexpr uint32_t kFlagTabStop = 0x4;

// A stored colour that stands for GetSysColor(COLOR_BTNFACE), taken when the control is painted.
constexpr uint32_t kButtonFaceColour = 0xFF000000;

// Pixels; a control's left and top are relative to the window's client area, the window's width and
// height are its outer size.
struct LayoutRect {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
};

// The handlers a layout can bind; the program supplies the functions (HandlerBindings).
enum class HandlerRole {
  OnMainWindowCreated,
  OnOpenClicked,
  OnStartClicked,
  OnCancelClicked,
  OnForumClicked,
  OnLogChanged,
};

struct LayoutBinding {
  int32_t event;
  HandlerRole handler;
};

struct WindowSettings {
  uint32_t backColour;
};

struct LabelSettings {
  uint32_t textColour;
  uint32_t backColour;
};

struct EditSettings {
  bool multiLine;
  bool readOnly;
  uint32_t textColour;
  uint32_t backColour;
};

struct ProgressSettings {
  int32_t minimum;
  int32_t maximum;
  int32_t position;
};

struct DialogSettings {
  std::string_view filter;  // pairs of display name and pattern, separated by "|"
  int32_t initialFilter;    // 0 is the first pair
  std::string_view title;
  std::string_view initialDirectory;
  std::string_view defaultExtension;
  bool promptToCreate;
  bool fileMustExist;
  bool promptBeforeOverwrite;
  bool pathMustExist;
  bool keepCurrentDirectory;
};

using KindSettings = std::variant<std::monostate, WindowSettings, LabelSettings, EditSettings,
                                  ProgressSettings, DialogSettings>;

struct ControlRecord {
  ControlKind kind;
  ControlId id;
  std::string_view name;  // empty for the window
  LayoutRect rect;
  ControlId container;
  uint32_t flags;
  int32_t tabOrder;
  std::string_view text;  // title, caption or label text
  std::vector<LayoutBinding> events;
  KindSettings settings;
};

// The records in the stored order: the window, then 按钮4 (stored 1) to 标签1 (stored 10).
const std::vector<ControlRecord>& MainWindowLayout();
// The record of one control; every ControlId has one.
const ControlRecord& LayoutRecord(ControlId id);

// The outer size of the window, fixed.
constexpr int32_t kMainWindowWidth = 475;
constexpr int32_t kMainWindowHeight = 321;

// The functions behind the handler roles; an empty function binds nothing.
struct HandlerBindings {
  EventHandler onMainWindowCreated;
  EventHandler onOpenClicked;
  EventHandler onStartClicked;
  EventHandler onCancelClicked;
  EventHandler onForumClicked;
  EventHandler onLogChanged;
};

// Gives every record its EventTable: its stored (event, role) pairs with the bound functions.
void BindLayoutEvents(EventDispatcher& events, const HandlerBindings& handlers);

// Push buttons and edit boxes take the focus; labels, the progress bar and the dialog never do.
bool KindTakesFocus(ControlKind kind);

// The Tab order: controls with the tab-stop flag of a kind that takes the focus, by tab-order value,
// equal values from the last stored record to the first. Whether each is visible and enabled at a
// given moment is for the caller to check.
std::vector<ControlId> TabSequence();

// The control that Tab (forward) or Shift+Tab (backward) moves the focus to from `current`,
// skipping those `canFocus` refuses and wrapping at the ends. From a control outside the sequence
// it starts at the first (forward) or last (backward). `current` itself when nothing else qualifies.
template <typename CanFocus>
ControlId NextTabStop(ControlId current, bool forward, CanFocus canFocus);

// The control that gets the focus when the window gets it and no control had it before: the first
// of the Tab order that `canFocus` accepts; ControlId::Window when there is none.
template <typename CanFocus>
ControlId FirstFocusControl(CanFocus canFocus) {
  for (ControlId id : TabSequence()) {
    if (canFocus(id)) return id;
  }
  return ControlId::Window;
}

template <typename CanFocus>
ControlId NextTabStop(ControlId current, bool forward, CanFocus canFocus) {
  const std::vector<ControlId> order = TabSequence();
  const int32_t count = static_cast<int32_t>(order.size());
  int32_t at = -1;
  for (int32_t i = 0; i < count; ++i) {
    if (order[i] == current) at = i;
  }
  if (at < 0) at = forward ? count - 1 : 0;
  for (int32_t step = 1; step <= count; ++step) {
    const int32_t i = ((forward ? at + step : at - step) % count + count) % count;
    if (order[i] != current && canFocus(order[i])) return order[i];
  }
  return current;
}

}  // namespace zuzar
