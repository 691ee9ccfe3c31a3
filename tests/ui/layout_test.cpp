#include "ui/layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/control_model.h"

namespace zuzar {
namespace {

std::vector<ControlId> WalkTabs(ControlId from, bool forward, int steps, const ControlModel& model) {
  std::vector<ControlId> visited;
  auto canFocus = [&](ControlId id) { return !model.IsDisabled(id); };
  for (ControlId at = from; steps-- > 0;) {
    at = NextTabStop(at, forward, canFocus);
    visited.push_back(at);
  }
  return visited;
}

TEST(Layout, TabOrderRunsFromTheLastStoredRecordToTheFirst) {
  const std::vector<ControlId> expected = {ControlId::编辑框1, ControlId::按钮1, ControlId::编辑框2,
                                           ControlId::按钮2,   ControlId::按钮3, ControlId::按钮4};
  EXPECT_EQ(TabSequence(), expected);
}

TEST(Layout, TabSkipsDisabledControlsAndWrapsBothWays) {
  EventDispatcher events;
  ControlModel model(events);  // NoFile: 按钮2 and 按钮3 disabled

  EXPECT_EQ(WalkTabs(ControlId::编辑框1, true, 4, model),
            (std::vector<ControlId>{ControlId::按钮1, ControlId::编辑框2, ControlId::按钮4, ControlId::编辑框1}));
  EXPECT_EQ(WalkTabs(ControlId::编辑框1, false, 4, model),
            (std::vector<ControlId>{ControlId::按钮4, ControlId::编辑框2, ControlId::按钮1, ControlId::编辑框1}));
  EXPECT_EQ(FirstFocusControl([&](ControlId id) { return !model.IsDisabled(id); }), ControlId::编辑框1);
}

TEST(Layout, InTheHeldStateTheFocusStartsInTheLogAndTabReachesStartAndCancel) {
  EventDispatcher events;
  ControlModel model(events);
  for (ControlId id : {ControlId::按钮2, ControlId::按钮3}) model.SetProperty(id, Property::Disabled, false);
  for (ControlId id : {ControlId::按钮1, ControlId::编辑框1}) model.SetProperty(id, Property::Disabled, true);
  auto canFocus = [&](ControlId id) { return !model.IsDisabled(id); };

  EXPECT_EQ(FirstFocusControl(canFocus), ControlId::编辑框2);
  EXPECT_EQ(WalkTabs(ControlId::编辑框2, true, 4, model),
            (std::vector<ControlId>{ControlId::按钮2, ControlId::按钮3, ControlId::按钮4, ControlId::编辑框2}));
}

TEST(Layout, TabFromAControlOutsideTheOrderStartsAtAnEnd) {
  auto any = [](ControlId) { return true; };
  EXPECT_EQ(NextTabStop(ControlId::标签1, true, any), ControlId::编辑框1);
  EXPECT_EQ(NextTabStop(ControlId::标签1, false, any), ControlId::按钮4);
  EXPECT_EQ(NextTabStop(ControlId::按钮1, true, [](ControlId) { return false; }), ControlId::按钮1);
  EXPECT_EQ(FirstFocusControl([](ControlId) { return false; }), ControlId::Window);
}

TEST(Layout, BindingConnectsEachSourceToItsHandler) {
  EventDispatcher events;
  std::string log;
  HandlerBindings handlers;
  handlers.onMainWindowCreated = [&] { log += "created;"; };
  handlers.onOpenClicked = [&] { log += "open;"; };
  handlers.onStartClicked = [&] { log += "start;"; };
  handlers.onCancelClicked = [&] { log += "cancel;"; };
  handlers.onForumClicked = [&] { log += "forum;"; };
  handlers.onLogChanged = [&] { log += "log;"; };
  BindLayoutEvents(events, handlers);

  events.RaiseEvent(ControlId::Window, kWindowCreated);
  events.RaiseEvent(ControlId::按钮1, kButtonClicked);
  events.RaiseEvent(ControlId::按钮2, kButtonClicked);
  events.RaiseEvent(ControlId::按钮3, kButtonClicked);
  events.RaiseEvent(ControlId::按钮4, kButtonClicked);
  events.RaiseEvent(ControlId::编辑框2, kEditContentChanged);
  events.RaiseEvent(ControlId::编辑框1, kEditContentChanged);
  events.RaiseEvent(ControlId::标签1, 0);

  EXPECT_EQ(log, "created;open;start;cancel;forum;log;");
}

}  // namespace
}  // namespace zuzar
