#include "ui/layout.h"

#include <algorithm>

#include "text/fatal.h"
#include "ui/window_ids.h"

namespace zuzar {

namespace {

constexpr uint32_t kShownEnabledTabStop = kFlagVisible | kFlagTabStop;                  // 5
constexpr uint32_t kShownDisabledTabStop = kFlagVisible | kFlagDisabled | kFlagTabStop;  // 7

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

ControlRecord Button(ControlId id, std::string_view name, LayoutRect rect, uint32_t flags,
                     std::string_view caption, HandlerRole clicked) {
  return {ControlKind::PushButton, id, name, rect, ControlId::Window, flags, 0, caption,
          {{kButtonClicked, clicked}}, std::monostate{}};
}

ControlRecord Label(ControlId id, std::string_view name, LayoutRect rect, std::string_view text) {
  return {ControlKind::Label, id, name, rect, ControlId::Window, kFlagVisible, 0, text, {},
          LabelSettings{kBlack, kButtonFaceColour}};
}

std::vector<ControlRecord> BuildLayout() {
  const DialogSettings openDialog{"所有文件(*.*)|*.*", 0,     "",   "",   "",
                                  false,               true, true, true, false};
  return {
      {ControlKind::Window, ControlId::Window, "", {50, 50, kMainWindowWidth, kMainWindowHeight},
       ControlId::Window, kFlagVisible, 0, kMainWindowTitle,
       {{kWindowCreated, HandlerRole::OnMainWindowCreated}}, WindowSettings{kButtonFaceColour}},
      Button(ControlId::按钮4, "按钮4", {176, 224, 96, 32}, kShownEnabledTabStop, "Norvik粉丝论坛",
             HandlerRole::OnForumClicked),
      Label(ControlId::标签2, "标签2", {8, 256, 32, 32}, "进程"),
      Button(ControlId::按钮3, "按钮3", {240, 184, 98, 32}, kShownDisabledTabStop, "撤  消",
             HandlerRole::OnCancelClicked),
      Button(ControlId::按钮2, "按钮2", {110, 184, 98, 32}, kShownDisabledTabStop, "开始粉碎",
             HandlerRole::OnStartClicked),
      {ControlKind::EditBox, ControlId::编辑框2, "编辑框2", {56, 75, 352, 101}, ControlId::Window,
       kShownEnabledTabStop, 0, "", {{kEditContentChanged, HandlerRole::OnLogChanged}},
       EditSettings{true, true, kBlack, kButtonFaceColour}},
      {ControlKind::ProgressBar, ControlId::进度条1, "进度条1", {40, 266, 425, 16}, ControlId::Window,
       kFlagVisible, 0, "", {}, ProgressSettings{0, 100, 0}},
      {ControlKind::OpenFileDialog, ControlId::通用对话框1, "通用对话框1", {304, 16, 32, 32},
       ControlId::Window, 0, 0, "", {}, openDialog},
      Button(ControlId::按钮1, "按钮1", {344, 16, 64, 24}, kShownEnabledTabStop, "打开",
             HandlerRole::OnOpenClicked),
      {ControlKind::EditBox, ControlId::编辑框1, "编辑框1", {56, 48, 352, 24}, ControlId::Window,
       kShownEnabledTabStop, 0, "", {}, EditSettings{false, false, kBlack, kWhite}},
      Label(ControlId::标签1, "标签1", {56, 30, 120, 16}, "准备粉碎的文件："),
  };
}

const EventHandler& HandlerFor(const HandlerBindings& handlers, HandlerRole role) {
  switch (role) {
    case HandlerRole::OnMainWindowCreated: return handlers.onMainWindowCreated;
    case HandlerRole::OnOpenClicked: return handlers.onOpenClicked;
    case HandlerRole::OnStartClicked: return handlers.onStartClicked;
    case HandlerRole::OnCancelClicked: return handlers.onCancelClicked;
    case HandlerRole::OnForumClicked: return handlers.onForumClicked;
    case HandlerRole::OnLogChanged: break;
  }
  return handlers.onLogChanged;
}

}  // namespace

const std::vector<ControlRecord>& MainWindowLayout() {
  static const std::vector<ControlRecord> layout = BuildLayout();
  return layout;
}

const ControlRecord& LayoutRecord(ControlId id) {
  for (const ControlRecord& record : MainWindowLayout()) {
    if (record.id == id) return record;
  }
  ReportFatal("指定窗口或窗口组件不存在或尚未载入", 0);
}

void BindLayoutEvents(EventDispatcher& events, const HandlerBindings& handlers) {
  for (const ControlRecord& record : MainWindowLayout()) {
    EventTable table;
    for (const LayoutBinding& binding : record.events) {
      table.push_back({binding.event, HandlerFor(handlers, binding.handler)});
    }
    events.SetEventTable(record.id, std::move(table));
  }
}

bool KindTakesFocus(ControlKind kind) {
  return kind == ControlKind::PushButton || kind == ControlKind::EditBox;
}

std::vector<ControlId> TabSequence() {
  const std::vector<ControlRecord>& layout = MainWindowLayout();
  std::vector<const ControlRecord*> stops;
  for (auto record = layout.rbegin(); record != layout.rend(); ++record) {
    if (record->kind == ControlKind::Window) continue;
    if (KindTakesFocus(record->kind) && (record->flags & kFlagTabStop) != 0) stops.push_back(&*record);
  }
  std::stable_sort(stops.begin(), stops.end(), [](const ControlRecord* a, const ControlRecord* b) {
    return a->tabOrder < b->tabOrder;
  });
  std::vector<ControlId> order;
  for (const ControlRecord* record : stops) order.push_back(record->id);
  return order;
}

}  // namespace zuzar
