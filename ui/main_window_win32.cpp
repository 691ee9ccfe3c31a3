#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "ui/icon_picking.h"
#include "ui/win32_controls.h"
#include "ui/window_ids.h"

namespace zuzar {

namespace {

constexpr DWORD kMainWindowStyle = WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kIconFormatVersion = 0x30000;

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

void RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClassName;
  // A second load in the same process finds the class registered already.
  RegisterClassExA(&windowClass);
}

IconHandle MakeIcon(IconFileBytes file, int32_t wantedWidth) {
  const std::optional<IconImage> image = PickIconImage(file.data, file.size, wantedWidth);
  if (!image) return IconHandle();
  // The API takes a non-const pointer but only reads the bytes.
  auto* bits = const_cast<BYTE*>(file.data + image->offset);
  return IconHandle(CreateIconFromResourceEx(bits, static_cast<DWORD>(image->size), TRUE, kIconFormatVersion,
                                             image->width, image->height, LR_DEFAULTCOLOR));
}

}  // namespace

Win32Controls::Win32Controls(EventDispatcher& events, MainWindowHooks hooks)
    : events_(events), hooks_(std::move(hooks)) {
  const std::vector<ControlRecord>& layout = MainWindowLayout();
  controls_.reserve(layout.size());
  for (const ControlRecord& record : layout) {
    NativeControl control;
    control.record = &record;
    control.owner = this;
    control.flags = record.flags;
    if (const auto* progress = std::get_if<ProgressSettings>(&record.settings)) {
      control.minimum = progress->minimum;
      control.maximum = progress->maximum;
      control.position = StoredProgressPosition(progress->position);
    }
    controls_.push_back(std::move(control));
  }
}

Win32Controls::~Win32Controls() {
  if (window_ == nullptr) return;
  // Released by its owner, not closed by the user: nobody is waiting to hear of it.
  hooks_.onDestroyed = nullptr;
  DestroyWindow(window_);
}

void Win32Controls::Build(IconFileBytes iconFile) {
  CreateMainWindow();
  if (window_ == nullptr) return;
  SetIcons(iconFile);
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  // Built in the reverse of the stored order: 标签1 first, 按钮4 last.
  for (auto control = controls_.rbegin(); control != controls_.rend(); ++control) {
    if (control->record->kind != ControlKind::Window) CreateControl(*control);
  }
  StackControls();
  ShowControlsByFlag();
}

void Win32Controls::CreateMainWindow() {
  const HINSTANCE instance = ProgramInstance();
  RegisterMainWindowClass(instance, &Win32Controls::MainWindowProc);
  RegisterLabelClass(instance);
  // Centred with signed division, which rounds toward zero even on a screen smaller than the window.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
  const ControlRecord& record = LayoutRecord(ControlId::Window);
  CreateWindowExA(0, kMainWindowClassName, std::string(record.text).c_str(), kMainWindowStyle, left, top,
                  kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return;
  Find(ControlId::Window).window = window_;
  RECT outer{};
  GetWindowRect(window_, &outer);
  if (outer.right - outer.left != kMainWindowWidth || outer.bottom - outer.top != kMainWindowHeight) {
    SetWindowPos(window_, nullptr, 0, 0, kMainWindowWidth, kMainWindowHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32Controls::SetIcons(IconFileBytes iconFile) {
  largeIcon_ = MakeIcon(iconFile, kLargeIconWidth);
  smallIcon_ = MakeIcon(iconFile, kSmallIconWidth);
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.get()));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

void Win32Controls::StackControls() {
  // Stored order, top first: 按钮4 on top and 标签1 at the bottom.
  HWND above = HWND_TOP;
  for (const NativeControl& control : controls_) {
    if (control.record->kind == ControlKind::Window || control.window == nullptr) continue;
    SetWindowPos(control.window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = control.window;
  }
}

void Win32Controls::ShowControlsByFlag() {
  for (const NativeControl& control : controls_) {
    if (control.record->kind == ControlKind::Window || control.window == nullptr) continue;
    ShowWindow(control.window, (control.flags & kFlagVisible) != 0 ? SW_SHOWNA : SW_HIDE);
  }
}

void Win32Controls::Show() {
  if (Exists()) ShowWindow(window_, SW_SHOW);
}

LRESULT CALLBACK Win32Controls::MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32Controls*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Controls*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return self->OnMainWindowMessage(window, message, wParam, lParam);
}

LRESULT Win32Controls::OnMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message, wParam,
                             lParam);
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ACTIVATE:
      OnActivate(wParam);
      break;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_KEYDOWN:
      if (HandleWindowKey(nullptr, wParam)) return 0;
      break;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      window_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void Win32Controls::OnDestroy() {
  destroyed_ = true;
  if (hooks_.onDestroyed) hooks_.onDestroyed();
}

LRESULT Win32Controls::OnControlColour(HDC dc, HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  const NativeControl* control = FindByWindow(child);
  if (control == nullptr || control->record->kind != ControlKind::EditBox) {
    return DefWindowProcA(window_, message, wParam, lParam);
  }
  const auto& settings = std::get<EditSettings>(control->record->settings);
  SetTextColor(dc, ResolveColour(settings.textColour));
  SetBkColor(dc, ResolveColour(settings.backColour));
  return reinterpret_cast<LRESULT>(BackgroundBrush(*control));
}

void Win32Controls::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) != WA_INACTIVE) return;
  const HWND focus = GetFocus();
  if (FindByWindow(focus) != nullptr && focus != window_) lastFocus_ = focus;
}

void Win32Controls::OnSetFocus() {
  const NativeControl* last = FindByWindow(lastFocus_);
  if (last != nullptr && CanFocus(last->record->id)) {
    SetFocus(last->window);
    return;
  }
  const ControlId first = FirstFocusControl([this](ControlId id) { return CanFocus(id); });
  if (first != ControlId::Window) SetFocus(Find(first).window);
}

std::unique_ptr<MainWindow> LoadMainWindow(EventDispatcher& events, const HandlerBindings& handlers,
                                           IconFileBytes iconFile, MainWindowHooks hooks) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  auto window = std::make_unique<Win32Controls>(events, std::move(hooks));
  events.RaiseBlockCount();
  BindLayoutEvents(events, handlers);
  window->Build(iconFile);
  events.LowerBlockCount();
  events.RaiseEvent(ControlId::Window, kWindowCreated);
  window->Show();
  return window;
}

}  // namespace zuzar
