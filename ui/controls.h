#pragma once
// The surface between the handlers and the window: controls addressed by their layout names,
// properties by number. Two realisations share it: the native Win32 controls and an in-memory
// model that keeps the same state and raises the same events in the same order.

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <variant>

#include "text/text.h"

namespace zuzar {

// The main window and its ten controls, by the names of the layout.
enum class ControlId : int32_t {
  Window,
  标签1,
  编辑框1,
  按钮1,
  通用对话框1,
  进度条1,
  编辑框2,
  按钮2,
  按钮3,
  标签2,
  按钮4,
};

// Property numbers: 0..7 are common to every kind, 8 + k is the kind's own property k.
enum class Property : int32_t {
  Disabled = 6,         // every control: truth value
  Content = 8,          // edit box: Text
  FileName = 10,        // open-file dialog: Text
  Position = 13,        // progress bar: 32-bit integer
  SelectionStart = 24,  // edit box: 32-bit integer
};

// A property's value: a truth value, a 32-bit integer or a Text.
class PropertyValue {
 public:
  PropertyValue(bool truth) : value_(truth) {}
  PropertyValue(int32_t number) : value_(number) {}
  PropertyValue(const char* text) : value_(Text::Copy(text)) {}
  PropertyValue(std::string_view text) : value_(Text::Copy(text)) {}
  PropertyValue(Text text) : value_(std::move(text)) {}

  bool IsBool() const { return std::holds_alternative<bool>(value_); }
  bool IsInt() const { return std::holds_alternative<int32_t>(value_); }
  bool IsText() const { return std::holds_alternative<Text>(value_); }
  // A truth value reads as 0/1 and an integer as "non-zero is true"; a text reads as its bytes.
  bool AsBool() const { return IsText() ? false : AsInt() != 0; }
  int32_t AsInt() const {
    if (IsBool()) return std::get<bool>(value_) ? 1 : 0;
    return IsInt() ? std::get<int32_t>(value_) : 0;
  }
  std::string_view AsText() const { return IsText() ? std::get<Text>(value_).view() : std::string_view(); }
  // Hands the Text over to the caller (a read of FileName gives a block the caller owns).
  Text TakeText() { return IsText() ? std::move(std::get<Text>(value_)) : Text(); }

 private:
  std::variant<bool, int32_t, Text> value_;
};

class Controls {
 public:
  virtual ~Controls() = default;
  virtual void SetProperty(ControlId control, Property property, const PropertyValue& value) = 0;
  virtual PropertyValue GetProperty(ControlId control, Property property) = 0;
  // Each piece is a separate replacement at the end of the box: one content-changed event each.
  virtual void AppendText(ControlId box, std::initializer_list<std::string_view> pieces) = 0;
  // Runs the modal open-file dialog; true when the user confirmed a file (FileName then holds it).
  virtual bool ShowOpenDialog(ControlId dialog) = 0;
};

}  // namespace zuzar
