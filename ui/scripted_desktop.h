#pragma once
// A desktop for tests: message boxes are answered from a script and recorded, pauses are added up
// instead of slept, and addresses handed to the shell are recorded.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "ui/desktop.h"

namespace zuzar {

class ScriptedDesktop final : public DesktopCalls {
 public:
  // Windows button identifiers, as MessageBoxA gives them.
  static constexpr int32_t kIdOk = 1;
  static constexpr int32_t kIdCancel = 2;
  static constexpr int32_t kIdYes = 6;
  static constexpr int32_t kIdNo = 7;

  struct MessageBoxShown {
    std::string text;
    std::string caption;
    uint32_t flags;
  };
  struct ShellOpened {
    void* parent;
    std::string address;
  };

  // The answers of the next boxes, in order; with none queued a box answers 0 (not shown).
  void QueueAnswer(int32_t windowsButton) { answers_.push_back(windowsButton); }
  // The window FindTopLevelWindow finds for the browser's title (null: none).
  void SetBrowserWindow(void* window) { browserWindow_ = window; }

  const std::vector<MessageBoxShown>& Boxes() const { return boxes_; }
  const std::vector<uint32_t>& Pauses() const { return pauses_; }
  const std::vector<ShellOpened>& Opened() const { return opened_; }
  const std::vector<std::string>& WindowsSearched() const { return searched_; }

  int32_t MessageBoxCall(const char* text, const char* caption, uint32_t flags) override {
    boxes_.push_back({text, caption, flags});
    if (answers_.empty()) return 0;
    const int32_t answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  void SleepCall(uint32_t milliseconds) override { pauses_.push_back(milliseconds); }
  void* FindTopLevelWindow(const char* title) override {
    searched_.emplace_back(title);
    return browserWindow_;
  }
  void ShellOpen(void* parent, const char* address) override { opened_.push_back({parent, address}); }

 private:
  std::deque<int32_t> answers_;
  void* browserWindow_ = nullptr;
  std::vector<MessageBoxShown> boxes_;
  std::vector<uint32_t> pauses_;
  std::vector<ShellOpened> opened_;
  std::vector<std::string> searched_;
};

}  // namespace zuzar
