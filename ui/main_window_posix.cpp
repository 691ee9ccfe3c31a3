#include <memory>

#include "ui/control_model.h"
#include "ui/main_window.h"

namespace zuzar {

namespace {

// Without windows the loaded window is the model of its controls; it exists until it is released.
class ModelMainWindow final : public MainWindow {
 public:
  explicit ModelMainWindow(EventDispatcher& events) : model_(events) {}

  void SetProperty(ControlId control, Property property, const PropertyValue& value) override {
    model_.SetProperty(control, property, value);
  }
  PropertyValue GetProperty(ControlId control, Property property) override {
    return model_.GetProperty(control, property);
  }
  void AppendText(ControlId box, std::initializer_list<std::string_view> pieces) override {
    model_.AppendText(box, pieces);
  }
  bool ShowOpenDialog(ControlId dialog) override { return model_.ShowOpenDialog(dialog); }
  bool Exists() const override { return true; }
  void* NativeHandle() const override { return nullptr; }

 private:
  ControlModel model_;
};

}  // namespace

std::unique_ptr<MainWindow> LoadMainWindow(EventDispatcher& events, const HandlerBindings& handlers,
                                           IconFileBytes /*iconFile*/, MainWindowHooks /*hooks*/) {
  events.RaiseBlockCount();
  auto window = std::make_unique<ModelMainWindow>(events);
  BindLayoutEvents(events, handlers);
  events.LowerBlockCount();
  events.RaiseEvent(ControlId::Window, kWindowCreated);
  return window;
}

}  // namespace zuzar
