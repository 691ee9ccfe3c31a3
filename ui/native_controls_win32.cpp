#include <windows.h>
#include <commctrl.h>

#include "text/fatal.h"
#include "ui/win32_controls.h"
#include "ui/window_ids.h"

namespace zuzar {

namespace {

constexpr DWORD kChildStyle = WS_CHILD | WS_CLIPSIBLINGS;
constexpr DWORD kPushButtonStyle = BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
constexpr char kLineMeasure[] = "W";

HFONT DefaultGuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

DWORD FlagStyle(uint32_t flags) {
  DWORD style = 0;
  if ((flags & kFlagTabStop) != 0) style |= WS_TABSTOP;
  if ((flags & kFlagDisabled) != 0) style |= WS_DISABLED;
  return style;
}

DWORD EditStyle(const EditSettings& settings) {
  DWORD style = ES_LEFT;
  style |= settings.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL : ES_AUTOHSCROLL;
  if (settings.readOnly) style |= ES_READONLY;
  return style;
}

// Height of one text line of the window's font, measured on "W".
int32_t LineHeightOf(HWND window) {
  WindowDc dc(window, GetDC(window));
  if (dc.get() == nullptr) return 0;
  auto* font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  SelectedObject selected(dc.get(), font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  SIZE size{};
  GetTextExtentPoint32A(dc.get(), kLineMeasure, 1, &size);
  return size.cy;
}

}  // namespace

COLORREF ResolveColour(uint32_t stored) {
  return stored == kButtonFaceColour ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(stored);
}

std::string WindowTextOf(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text.substr(0, text.find('\0'));
}

void Win32Controls::CreateControl(NativeControl& control) {
  const DWORD style = kChildStyle | FlagStyle(control.flags);
  switch (control.record->kind) {
    case ControlKind::PushButton:
      control.window = CreateChild(control, "BUTTON", style | kPushButtonStyle, 0);
      SendMessageA(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), FALSE);
      Subclass(control);
      return;
    case ControlKind::Label:
      control.window = CreateChild(control, kLabelClassName, style, 0);
      return;
    case ControlKind::EditBox:
      CreateEditBox(control);
      return;
    case ControlKind::ProgressBar:
      CreateProgressBar(control);
      return;
    case ControlKind::OpenFileDialog:  // no window of its own
    case ControlKind::Window:
      return;
  }
}

HWND Win32Controls::CreateChild(const NativeControl& control, const char* className, DWORD style,
                                DWORD exStyle) {
  const LayoutRect& rect = control.record->rect;
  const auto id = static_cast<INT_PTR>(NativeControlId(control.record->id));
  // Labels read their record from the creation parameter.
  return CreateWindowExA(exStyle, className, std::string(control.record->text).c_str(), style, rect.left, rect.top,
                         rect.width, rect.height, window_, reinterpret_cast<HMENU>(id), GetModuleHandleA(nullptr),
                         const_cast<ControlRecord*>(control.record));
}

void Win32Controls::CreateEditBox(NativeControl& control) {
  const auto& settings = std::get<EditSettings>(control.record->settings);
  const DWORD style = kChildStyle | FlagStyle(control.flags) | EditStyle(settings);
  control.window = CreateChild(control, "EDIT", style, WS_EX_STATICEDGE);
  if (control.window == nullptr) return;
  if (settings.backColour != kButtonFaceColour) {
    control.ownBrush = BrushHandle(CreateSolidBrush(ResolveColour(settings.backColour)));
  }
  Subclass(control);
  SendMessageA(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), FALSE);
  SendMessageA(control.window, EM_LIMITTEXT, 0, 0);
  SendMessageA(control.window, EM_SETSEL, 0, 0);
  SendMessageA(control.window, EM_SCROLLCARET, 0, 0);
  if (!settings.multiLine) {
    TEXTMETRICA metrics{};
    {
      WindowDc dc(control.window, GetDC(control.window));
      SelectedObject font(dc.get(), DefaultGuiFont());
      GetTextMetricsA(dc.get(), &metrics);
    }
    const LayoutRect& rect = control.record->rect;
    const int32_t height = OneLineBoxHeight(rect.height, metrics.tmHeight, GetSystemMetrics(SM_CYEDGE));
    // Also makes the box measure its text area again, now with its font.
    SetWindowPos(control.window, nullptr, 0, 0, rect.width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void Win32Controls::CreateProgressBar(NativeControl& control) {
  control.window = CreateChild(control, PROGRESS_CLASSA, kChildStyle | FlagStyle(control.flags), WS_EX_STATICEDGE);
  if (control.window == nullptr) return;
  const int32_t low = std::min(control.minimum, control.maximum);
  const int32_t high = std::max(control.minimum, control.maximum);
  SendMessageA(control.window, PBM_SETRANGE, 0, MAKELPARAM(low, high));
  SendMessageA(control.window, PBM_SETPOS, ShownProgressPosition(control.position, low, high), 0);
}

void Win32Controls::Subclass(NativeControl& control) {
  if (control.window == nullptr) return;
  SetWindowLongPtrA(control.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
  control.originalProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Controls::ControlProc)));
}

HBRUSH Win32Controls::BackgroundBrush(const NativeControl& control) const {
  return control.ownBrush ? control.ownBrush.get() : GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT CALLBACK Win32Controls::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<NativeControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return control->owner->OnControlMessage(*control, message, wParam, lParam);
}

LRESULT Win32Controls::OnControlMessage(NativeControl& control, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = control.window;
  switch (message) {
    case WM_KEYDOWN:
      if (HandleWindowKey(&control, wParam)) return 0;
      break;
    case WM_CHAR:
      if (IsWindowKeyChar(&control, wParam)) return 0;
      break;
    case WM_COMMAND:
      // The box's own change notification after a Content write, sent to the box itself.
      if (reinterpret_cast<HWND>(lParam) == window) {
        OnNotification(control, HIWORD(wParam));
        return 0;
      }
      break;
    case WM_NCCALCSIZE:
      if (IsCentredEdit(control)) return OnCentredEditNcCalcSize(control, wParam, lParam);
      break;
    case WM_NCPAINT: {
      if (!IsCentredEdit(control)) break;
      const LRESULT result = CallWindowProcA(control.originalProc, window, message, wParam, lParam);
      PaintCentredEditBands(control);
      return result;
    }
    case WM_NCHITTEST:
      if (IsCentredEdit(control)) return HitTestCentredEdit(control, wParam, lParam);
      break;
    case WM_NCDESTROY: {
      const WNDPROC original = control.originalProc;
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      control.window = nullptr;
      control.originalProc = nullptr;
      return CallWindowProcA(original, window, message, wParam, lParam);
    }
    default:
      break;
  }
  return CallWindowProcA(control.originalProc, window, message, wParam, lParam);
}

void Win32Controls::OnCommand(WPARAM wParam, LPARAM lParam) {
  const auto child = reinterpret_cast<HWND>(lParam);
  if (child == nullptr) return;  // a menu or an accelerator: this window has neither
  const WORD code = HIWORD(wParam);
  if (code != BN_CLICKED && code != EN_CHANGE) return;
  // While the window is being built its controls are not all known yet; their reports go unheard.
  if (events_.BlockCount() >= 1) return;
  NativeControl* control = FindByWindow(child);
  if (control == nullptr) ReportFatal("未找到引发事件的窗口组件", 0);
  OnNotification(*control, code);
}

void Win32Controls::OnNotification(NativeControl& control, WORD code) {
  const ControlKind kind = control.record->kind;
  if (kind != ControlKind::PushButton && kind != ControlKind::EditBox) {
    ReportFatal("引发事件的窗口组件无效", 0);
  }
  // A disabled button can still be sent BM_CLICK, and some platforms then report a click; the user
  // cannot press it, so neither can anyone else.
  if (kind == ControlKind::PushButton && code == BN_CLICKED && (control.flags & kFlagDisabled) == 0) {
    events_.RaiseEvent(control.record->id, kButtonClicked);
  } else if (kind == ControlKind::EditBox && code == EN_CHANGE && !control.muteChange) {
    events_.RaiseEvent(control.record->id, kEditContentChanged);
  }
}

bool Win32Controls::HandleWindowKey(const NativeControl* focused, WPARAM key) {
  switch (key) {
    case VK_TAB:
      MoveFocus((GetKeyState(VK_SHIFT) & 0x8000) == 0);
      return true;
    case VK_ESCAPE:
      SendMessageA(window_, WM_CLOSE, 0, 0);
      return true;
    case VK_RETURN:
      // No default push button in this layout: Enter presses nothing and moves no focus.
      return !KeepsEnterForItself(focused);
    default:
      return false;
  }
}

bool Win32Controls::IsWindowKeyChar(const NativeControl* focused, WPARAM character) {
  // The characters of the keys taken above would otherwise reach the control (a beep, a tab).
  if (character == '\t' || character == 0x1B) return true;
  return (character == '\r' || character == '\n') && !KeepsEnterForItself(focused);
}

bool Win32Controls::KeepsEnterForItself(const NativeControl* control) {
  if (control == nullptr || control->record->kind != ControlKind::EditBox) return false;
  const auto& settings = std::get<EditSettings>(control->record->settings);
  return settings.multiLine && !settings.readOnly;
}

bool Win32Controls::CanFocus(ControlId id) const {
  const NativeControl& control = Find(id);
  if (control.window == nullptr || !KindTakesFocus(control.record->kind)) return false;
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(control.window, GWL_STYLE));
  return (style & WS_VISIBLE) != 0 && IsWindowEnabled(control.window);
}

void Win32Controls::MoveFocus(bool forward) {
  const NativeControl* focused = FindByWindow(GetFocus());
  const ControlId from = focused != nullptr ? focused->record->id : ControlId::Window;
  const ControlId to = NextTabStop(from, forward, [this](ControlId id) { return CanFocus(id); });
  if (to != ControlId::Window && to != from) SetFocus(Find(to).window);
}

void Win32Controls::MoveFocusAwayFrom(const NativeControl& control) {
  // A disabled control keeps no focus: the keyboard would be dead until the next click. The focus
  // goes on as Tab would take it.
  if (control.window == nullptr || GetFocus() != control.window) return;
  const ControlId to = NextTabStop(control.record->id, true, [this](ControlId id) { return CanFocus(id); });
  SetFocus(to != control.record->id ? Find(to).window : window_);
}

bool Win32Controls::IsCentredEdit(const NativeControl& control) {
  const auto* settings = std::get_if<EditSettings>(&control.record->settings);
  return settings != nullptr && !settings->multiLine;
}

LRESULT Win32Controls::OnCentredEditNcCalcSize(NativeControl& control, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcA(control.originalProc, control.window, WM_NCCALCSIZE, wParam, lParam);
  // With wParam TRUE lParam points at NCCALCSIZE_PARAMS, whose first rectangle is the one to narrow.
  auto* client = reinterpret_cast<RECT*>(lParam);
  const RowSpan rows = CentredLineRows({client->top, client->bottom}, LineHeightOf(control.window));
  client->top = rows.top;
  client->bottom = rows.bottom;
  return result;
}

void Win32Controls::PaintCentredEditBands(NativeControl& control) {
  RECT outer{};
  RECT client{};
  GetWindowRect(control.window, &outer);
  GetClientRect(control.window, &client);
  MapWindowPoints(control.window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -outer.left, -outer.top);
  OffsetRect(&outer, -outer.left, -outer.top);
  // The edge is as thick at the top and bottom as at the sides.
  const int edge = client.left;
  const RECT above{client.left, edge, client.right, client.top};
  const RECT below{client.left, client.bottom, client.right, outer.bottom - edge};
  WindowDc dc(control.window, GetWindowDC(control.window));
  if (dc.get() == nullptr) return;
  const HBRUSH brush = BackgroundBrush(control);
  if (above.bottom > above.top) FillRect(dc.get(), &above, brush);
  if (below.bottom > below.top) FillRect(dc.get(), &below, brush);
}

LRESULT Win32Controls::HitTestCentredEdit(NativeControl& control, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcA(control.originalProc, control.window, WM_NCHITTEST, wParam, lParam);
  if (result == HTCLIENT) return result;
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  RECT outer{};
  GetWindowRect(control.window, &outer);
  return PtInRect(&outer, point) ? HTBORDER : result;
}

}  // namespace zuzar
