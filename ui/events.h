#pragma once
// Events reach the handlers that the layout binds, synchronously on the one UI thread: an event
// raised by an operation inside a handler runs its handler before that operation returns.

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/controls.h"

namespace zuzar {

// Each kind numbers its events from 0.
constexpr int32_t kWindowCreated = 0;
constexpr int32_t kButtonClicked = 0;
constexpr int32_t kEditContentChanged = 0;

using EventHandler = std::function<void()>;

struct EventBinding {
  int32_t event;
  EventHandler handler;
};
using EventTable = std::vector<EventBinding>;

class EventDispatcher {
 public:
  void SetEventTable(ControlId source, EventTable table);
  // Dropped while BlockCount() >= 1; an event without a bound handler does nothing.
  void RaiseEvent(ControlId source, int32_t event);

  // Raised while a window is built and while the fatal error box is open.
  void RaiseBlockCount() { ++blockCount_; }
  void LowerBlockCount() { --blockCount_; }
  int32_t BlockCount() const { return blockCount_; }

 private:
  std::vector<std::pair<ControlId, EventTable>> tables_;
  int32_t blockCount_ = 0;
};

}  // namespace zuzar
