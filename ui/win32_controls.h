#pragma once
// The main window on Win32: the native window and its child controls, the state the system keeps
// beside them (flag words, edit contents and selections, progress positions, the dialog's
// FileName), and the routing of their notifications to the event dispatcher.

#include <windows.h>

#include <string>
#include <vector>

#include "ui/control_rules.h"
#include "ui/events.h"
#include "ui/handles_win32.h"
#include "ui/layout.h"
#include "ui/main_window.h"

namespace zuzar {

class Win32Controls final : public MainWindow {
 public:
  Win32Controls(EventDispatcher& events, MainWindowHooks hooks);
  ~Win32Controls() override;
  Win32Controls(const Win32Controls&) = delete;
  Win32Controls& operator=(const Win32Controls&) = delete;

  void SetProperty(ControlId control, Property property, const PropertyValue& value) override;
  PropertyValue GetProperty(ControlId control, Property property) override;
  void AppendText(ControlId box, std::initializer_list<std::string_view> pieces) override;
  bool ShowOpenDialog(ControlId dialog) override;
  bool Exists() const override { return window_ != nullptr && !destroyed_; }
  void* NativeHandle() const override { return Exists() ? window_ : nullptr; }

  // The load, in its order: Build (window, icons, font, controls, stacking, visibility) while
  // events are blocked, then the created event, then Show.
  void Build(IconFileBytes iconFile);
  void Show();

 private:
  struct NativeControl {
    const ControlRecord* record = nullptr;
    Win32Controls* owner = nullptr;
    uint32_t flags = 0;
    HWND window = nullptr;
    WNDPROC originalProc = nullptr;
    std::string content;
    EditSelection selection;
    bool muteChange = false;
    BrushHandle ownBrush;  // a background that is not a system colour
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t position = 0;
    std::string fileName;
  };

  // Building.
  void CreateMainWindow();
  void SetIcons(IconFileBytes iconFile);
  void CreateControl(NativeControl& control);
  HWND CreateChild(const NativeControl& control, const char* className, DWORD style, DWORD exStyle);
  void CreateEditBox(NativeControl& control);
  void CreateProgressBar(NativeControl& control);
  void Subclass(NativeControl& control);
  void StackControls();
  void ShowControlsByFlag();

  // The main window's messages.
  static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnControlColour(HDC dc, HWND child, UINT message, WPARAM wParam, LPARAM lParam);
  void OnActivate(WPARAM wParam);
  void OnSetFocus();
  void OnDestroy();

  // The controls' own messages (buttons and edit boxes are subclassed).
  static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnControlMessage(NativeControl& control, UINT message, WPARAM wParam, LPARAM lParam);
  void OnNotification(NativeControl& control, WORD code);

  // Keys the window handles before the focused control sees them.
  bool HandleWindowKey(const NativeControl* focused, WPARAM key);
  static bool IsWindowKeyChar(const NativeControl* focused, WPARAM character);
  static bool KeepsEnterForItself(const NativeControl* control);
  void MoveFocus(bool forward);
  bool CanFocus(ControlId id) const;
  void MoveFocusAwayFrom(const NativeControl& control);

  // A one-line edit box shows its line vertically centred.
  static bool IsCentredEdit(const NativeControl& control);
  LRESULT OnCentredEditNcCalcSize(NativeControl& control, WPARAM wParam, LPARAM lParam);
  void PaintCentredEditBands(NativeControl& control);
  LRESULT HitTestCentredEdit(NativeControl& control, WPARAM wParam, LPARAM lParam);

  // Control operations.
  NativeControl& Find(ControlId id);
  const NativeControl& Find(ControlId id) const;
  NativeControl* FindByWindow(HWND window);
  NativeControl& LiveKindControl(ControlId id);
  void WriteDisabled(NativeControl& control, bool disabled);
  void WriteContent(NativeControl& box, std::string_view text);
  void WritePosition(NativeControl& bar, int32_t value);
  void WriteSelectionStart(NativeControl& box, int32_t value);
  void AppendPiece(NativeControl& box, std::string_view piece);
  HBRUSH BackgroundBrush(const NativeControl& control) const;

  EventDispatcher& events_;
  MainWindowHooks hooks_;
  std::vector<NativeControl> controls_;  // one per layout record; never resized, so pointers stay
  HWND window_ = nullptr;
  bool destroyed_ = false;
  HWND lastFocus_ = nullptr;
  HFONT font_ = nullptr;  // the window's own font; the controls get theirs directly
  IconHandle largeIcon_;
  IconHandle smallIcon_;
};

// The label class: a window of our own that fills itself with its background and draws its text.
void RegisterLabelClass(HINSTANCE instance);

// The colour a stored colour value stands for (0xFF000000 is the button face, taken now).
COLORREF ResolveColour(uint32_t stored);

// The text of a window as bytes.
std::string WindowTextOf(HWND window);

}  // namespace zuzar
