#include "ui/events.h"

#include <algorithm>
#include <utility>

namespace zuzar {

void EventDispatcher::SetEventTable(ControlId source, EventTable table) {
  auto found = std::find_if(tables_.begin(), tables_.end(),
                            [source](const auto& entry) { return entry.first == source; });
  if (found != tables_.end()) {
    found->second = std::move(table);
  } else {
    tables_.emplace_back(source, std::move(table));
  }
}

void EventDispatcher::RaiseEvent(ControlId source, int32_t event) {
  if (blockCount_ >= 1) return;
  auto table = std::find_if(tables_.begin(), tables_.end(),
                            [source](const auto& entry) { return entry.first == source; });
  if (table == tables_.end()) return;
  for (const EventBinding& binding : table->second) {
    if (binding.event != event || !binding.handler) continue;
    // A copy, so that a handler that rebinds the tables cannot pull the callee from under itself.
    EventHandler handler = binding.handler;
    handler();
    return;
  }
}

}  // namespace zuzar
