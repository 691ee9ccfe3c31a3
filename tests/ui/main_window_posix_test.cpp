#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <string>

namespace zuzar {
namespace {

TEST(NativeMainWindow, LoadsTheModelBindsTheHandlersAndRaisesCreatedOnce) {
  EventDispatcher events;
  std::string log;
  HandlerBindings handlers;
  handlers.onMainWindowCreated = [&] { log += "created;"; };
  handlers.onLogChanged = [&] { log += "log;"; };

  const std::unique_ptr<MainWindow> window = LoadMainWindow(events, handlers, {});
  window->AppendText(ControlId::编辑框2, {"a"});

  EXPECT_EQ(log, "created;log;");
  EXPECT_TRUE(window->Exists());
  EXPECT_EQ(events.BlockCount(), 0);
  EXPECT_TRUE(window->GetProperty(ControlId::按钮2, Property::Disabled).AsBool());
}

}  // namespace
}  // namespace zuzar
