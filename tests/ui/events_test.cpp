#include "ui/events.h"

#include <gtest/gtest.h>

#include <string>

namespace zuzar {
namespace {

TEST(EventDispatcher, CallsTheBoundHandlerOfTheEventAndNothingElse) {
  EventDispatcher events;
  std::string log;
  events.SetEventTable(ControlId::按钮1, {{kButtonClicked, [&] { log += "click;"; }}, {7, nullptr}});

  events.RaiseEvent(ControlId::按钮1, kButtonClicked);
  events.RaiseEvent(ControlId::按钮1, 3);  // no entry
  events.RaiseEvent(ControlId::按钮1, 7);  // an entry without a handler
  events.RaiseEvent(ControlId::按钮2, kButtonClicked);  // no table

  EXPECT_EQ(log, "click;");
}

TEST(EventDispatcher, ANewTableReplacesTheOldOne) {
  EventDispatcher events;
  std::string log;
  events.SetEventTable(ControlId::按钮1, {{kButtonClicked, [&] { log += "old;"; }}});
  events.SetEventTable(ControlId::按钮1, {{kButtonClicked, [&] { log += "new;"; }}});

  events.RaiseEvent(ControlId::按钮1, kButtonClicked);

  EXPECT_EQ(log, "new;");
}

TEST(EventDispatcher, DropsEveryEventWhileBlockedAtAnyDepth) {
  EventDispatcher events;
  int calls = 0;
  events.SetEventTable(ControlId::Window, {{kWindowCreated, [&] { ++calls; }}});

  events.RaiseBlockCount();
  events.RaiseBlockCount();
  events.RaiseEvent(ControlId::Window, kWindowCreated);
  events.LowerBlockCount();
  events.RaiseEvent(ControlId::Window, kWindowCreated);
  EXPECT_EQ(calls, 0) << "one level of blocking is left";

  events.LowerBlockCount();
  events.RaiseEvent(ControlId::Window, kWindowCreated);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(events.BlockCount(), 0);
}

TEST(EventDispatcher, AnEventRaisedInsideAHandlerRunsBeforeTheRaiseReturns) {
  EventDispatcher events;
  std::string log;
  events.SetEventTable(ControlId::编辑框2, {{kEditContentChanged, [&] { log += "changed;"; }}});
  events.SetEventTable(ControlId::按钮2, {{kButtonClicked, [&] {
                                             log += "start(";
                                             events.RaiseEvent(ControlId::编辑框2, kEditContentChanged);
                                             log += ")";
                                           }}});

  events.RaiseEvent(ControlId::按钮2, kButtonClicked);

  EXPECT_EQ(log, "start(changed;)");
}

TEST(EventDispatcher, AHandlerMayReplaceItsOwnTable) {
  EventDispatcher events;
  std::string log;
  events.SetEventTable(ControlId::按钮1, {{kButtonClicked, [&] {
                                             events.SetEventTable(ControlId::按钮1, {});
                                             log += "ran;";
                                           }}});

  events.RaiseEvent(ControlId::按钮1, kButtonClicked);
  events.RaiseEvent(ControlId::按钮1, kButtonClicked);

  EXPECT_EQ(log, "ran;");
}

}  // namespace
}  // namespace zuzar
