#pragma once
// The handlers over the in-memory controls, in a scratch directory of their own, with every call they
// make to the controls and the desktop written into one journal in the order made.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "fileio/byte_buffer.h"
#include "fileio/file_numbers.h"
#include "fileio/file_system.h"
#include "shredder/handlers.h"
#include "text/format.h"
#include "ui/control_model.h"
#include "ui/events.h"

namespace zuzar::testing {

using Journal = std::vector<std::string>;

inline std::string ControlName(ControlId control) {
  static constexpr std::string_view kNames[] = {"Window", "标签1",  "编辑框1", "按钮1",
                                                "通用对话框1", "进度条1", "编辑框2", "按钮2",
                                                "按钮3", "标签2", "按钮4"};
  return std::string(kNames[static_cast<int32_t>(control)]);
}

inline std::string PropertyName(Property property) {
  switch (property) {
    case Property::Disabled: return "Disabled";
    case Property::Content: return "Content";
    case Property::FileName: return "FileName";
    case Property::Position: return "Position";
    case Property::SelectionStart: return "SelectionStart";
  }
  return "?";
}

// Passes every operation on to the model and notes each change: "按钮2.Disabled=1",
// "进度条1.Position=20", "编辑框2+<piece>".
class RecordingControls : public Controls {
 public:
  RecordingControls(Controls& inner, Journal& journal) : inner_(inner), journal_(journal) {}

  void SetProperty(ControlId control, Property property, const PropertyValue& value) override {
    const std::string shown = value.IsText() ? std::string(value.AsText()) : std::to_string(value.AsInt());
    journal_.push_back(ControlName(control) + "." + PropertyName(property) + "=" + shown);
    inner_.SetProperty(control, property, value);
  }
  PropertyValue GetProperty(ControlId control, Property property) override {
    return inner_.GetProperty(control, property);
  }
  // Piece by piece, so that each note comes before the change event that the piece raises.
  void AppendText(ControlId box, std::initializer_list<std::string_view> pieces) override {
    for (std::string_view piece : pieces) {
      journal_.push_back(ControlName(box) + "+" + std::string(piece));
      inner_.AppendText(box, {piece});
    }
  }
  bool ShowOpenDialog(ControlId dialog) override {
    journal_.push_back("dialog");
    return inner_.ShowOpenDialog(dialog);
  }

 private:
  Controls& inner_;
  Journal& journal_;
};

// Every time stamp reads 9:05:07 on 7 March 2015.
constexpr std::string_view kStampText = "2015年3月7日9时5分7秒";
constexpr std::string_view kRule = "———————————————————";

class WorkbenchTest : public ::testing::Test {
 protected:
  WorkbenchTest()
      : bench{controls,
              [this](std::string_view message, int32_t flags, std::string_view title) {
                journal.push_back("box " + std::string(message) + "|" + std::to_string(flags) + "|" +
                                  std::string(title));
                return messageBoxAnswer;
              },
              [this](int32_t milliseconds) {
                journal.push_back("sleep " + std::to_string(milliseconds));
                if (duringPause) duringPause(milliseconds);
              },
              [this](std::string_view address) { journal.push_back("web " + std::string(address)); },
              [this] {
                journal.push_back("now");
                return EncodeDateTime(2015, 3, 7, 9, 5, 7);
              },
              [this] { journal.push_back("paint"); },
              [this] { return randomCounter++; }} {}

  void SetUp() override {
    CurrentFile = 0;
    std::random_device seed;
    home_ = std::filesystem::current_path();
    scratch_ = std::filesystem::temp_directory_path() / ("zuzar-shredder-" + std::to_string(seed()));
    std::filesystem::create_directory(scratch_);
    std::filesystem::current_path(scratch_);
    events.SetEventTable(ControlId::按钮1, {{kButtonClicked, [this] { OnOpenClicked(bench); }}});
    events.SetEventTable(ControlId::按钮2, {{kButtonClicked, [this] { OnStartClicked(bench); }}});
    events.SetEventTable(ControlId::按钮3, {{kButtonClicked, [this] { OnCancelClicked(bench); }}});
    events.SetEventTable(ControlId::按钮4, {{kButtonClicked, [this] { OnForumClicked(bench); }}});
    events.SetEventTable(ControlId::编辑框2, {{kEditContentChanged, [this] { OnLogChanged(bench); }}});
  }

  void TearDown() override {
    CloseAllFiles();
    std::filesystem::current_path(home_);
    std::error_code ignored;
    std::filesystem::remove_all(scratch_, ignored);
  }

  // A file of `size` bytes, none of them zero.
  static void MakeFile(const char* path, int32_t size) {
    const std::string content(static_cast<size_t>(size), 'x');
    const ByteBuffer bytes = ByteBuffer::Copy(reinterpret_cast<const uint8_t*>(content.data()), size);
    ASSERT_TRUE(WriteToFile(path, {bytes})) << path;
  }

  static std::string ReadFile(const char* path) {
    const FileNumber file = OpenFile(path, 1);
    const ByteBuffer bytes = ReadBytes(file, GetFileLength(file));
    CloseFile(file);
    return std::string(reinterpret_cast<const char*>(bytes.data()), static_cast<size_t>(bytes.size()));
  }

  // The ASCII names in the scratch directory, sorted.
  std::vector<std::string> ScratchNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(scratch_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  void OpenThroughDialog(const char* path) {
    model.QueueDialogAnswer(std::string(path));
    model.Click(ControlId::按钮1);
  }

  std::string_view Log() const { return model.Content(ControlId::编辑框2); }

  Journal EntriesStartingWith(std::string_view prefix) const {
    Journal found;
    for (const std::string& entry : journal) {
      if (entry.compare(0, prefix.size(), prefix) == 0) found.push_back(entry);
    }
    return found;
  }

  bool InNoFile() const {
    return !model.IsDisabled(ControlId::按钮1) && !model.IsDisabled(ControlId::编辑框1) &&
           model.IsDisabled(ControlId::按钮2) && model.IsDisabled(ControlId::按钮3);
  }
  bool InFileHeld() const {
    return model.IsDisabled(ControlId::按钮1) && model.IsDisabled(ControlId::编辑框1) &&
           !model.IsDisabled(ControlId::按钮2) && !model.IsDisabled(ControlId::按钮3);
  }

  Journal journal;
  EventDispatcher events;
  ControlModel model{events};
  RecordingControls controls{model, journal};
  int32_t messageBoxAnswer = 5;
  // Runs after each pause is noted, with its length: where a test plays the world outside.
  std::function<void(int32_t)> duringPause;
  uint32_t randomCounter = 0;
  Workbench bench;

 private:
  std::filesystem::path home_;
  std::filesystem::path scratch_;
};

}  // namespace zuzar::testing
