#include "skin/skinned_windows_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <exception>
#include <string>

#include "skin/painters_win32.h"
#include "skin/skin_look.h"

namespace zuzar::skin {
namespace {

constexpr UINT_PTR kSubclassId = 0x6A65;  // "je"
// Sent by themed Windows to draw the caption and frame outside WM_NCPAINT.
constexpr UINT kThemedDrawCaption = 0x00AE;
constexpr UINT kThemedDrawFrame = 0x00AF;

struct WindowState {
  std::shared_ptr<const SkinResources> resources;
  WindowRole role = WindowRole::None;
  bool paintsOwnBackground = false;  // a program window without class brush: it fills in WM_PAINT
  FrameState frame;
  bool trackingClose = false;
  bool hot = false;
};

LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);

// Looked up afresh after every call into the platform's procedure: that call may have destroyed
// the window, and the state with it. (A window property rather than GetWindowSubclass, which the
// 64-bit MinGW import library lacks.)
constexpr char kStateProperty[] = "zuzar.jedata.state";

WindowState* StateOf(HWND window) { return static_cast<WindowState*>(GetPropA(window, kStateProperty)); }

// An exception that the window's own procedure threw through us, to be passed on unchanged.
struct PlatformException {
  std::exception_ptr thrown;
};

LRESULT CallPlatform(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return DefSubclassProc(window, message, wParam, lParam);
  } catch (...) {
    throw PlatformException{std::current_exception()};
  }
}

using Repaint = void (*)(HWND);

LRESULT DefaultThenRepaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Repaint repaint) {
  const LRESULT result = CallPlatform(window, message, wParam, lParam);
  repaint(window);
  return result;
}

bool SameClass(HWND window, const char* name) { return lstrcmpiA(ClassNameOf(window).c_str(), name) == 0; }

POINT WindowPoint(HWND window, POINT screen) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  return POINT{screen.x - bounds.left, screen.y - bounds.top};
}

POINT ScreenPointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

LRESULT AnswerEditColour(HDC dc, HWND edit, const SkinResources& resources) {
  const EditLook look = EditLookOf(edit);
  SetTextColor(dc, resources.ColourOf(look.text));
  SetBkColor(dc, resources.ColourOf(look.background));
  return reinterpret_cast<LRESULT>(resources.BrushOf(look.background));
}

LRESULT AnswerSurfaceColour(HDC dc, const SkinResources& resources) {
  SetTextColor(dc, resources.ColourOf(Colour::Text));
  SetBkColor(dc, resources.ColourOf(Colour::WindowBackground));
  return reinterpret_cast<LRESULT>(resources.BrushOf(Colour::WindowBackground));
}

// Edit boxes (read-only and disabled ones ask with WM_CTLCOLORSTATIC) get the edit colours; labels,
// check boxes and the dialog itself lie on the window background. List boxes and scroll bars keep
// the platform's colours.
bool AnswerControlColour(UINT message, WPARAM wParam, LPARAM lParam, const SkinResources& resources,
                         LRESULT& answer) {
  const auto dc = reinterpret_cast<HDC>(wParam);
  const auto control = reinterpret_cast<HWND>(lParam);
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (control != nullptr && SameClass(control, "Edit")) {
        answer = AnswerEditColour(dc, control, resources);
        return true;
      }
      if (message == WM_CTLCOLOREDIT) return false;
      answer = AnswerSurfaceColour(dc, resources);
      return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
      answer = AnswerSurfaceColour(dc, resources);
      return true;
    default:
      return false;
  }
}

void RepaintFrame(HWND window) {
  const WindowState* state = StateOf(window);
  if (state == nullptr || !PaintsFrame(window)) return;
  const WindowDc dc = WindowDc::Whole(window);
  if (dc) PaintFrame(window, dc.get(), state->frame, *state->resources);
}

void SetCloseHot(HWND window, WindowState& state, bool hot) {
  hot = hot && PaintsFrame(window) && CloseEnabled(window);
  if (state.frame.closeHot == hot) return;
  state.frame.closeHot = hot;
  if (hot) {
    // Without this the platform sends no WM_NCMOUSELEAVE, and the button would stay lit.
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, window, 0};
    TrackMouseEvent(&track);
  }
  RepaintFrame(window);
}

// The close button is pressed and followed with the mouse captured, as a push button is; the
// platform's own tracking would draw its button over ours.
void StartCloseTracking(HWND window, WindowState& state) {
  if (!CloseEnabled(window)) return;
  state.trackingClose = true;
  state.frame.closePressed = true;
  SetCapture(window);
  RepaintFrame(window);
}

bool OverClose(HWND window, const WindowState& state, LPARAM clientPoint) {
  POINT point{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
  ClientToScreen(window, &point);
  const POINT inWindow = WindowPoint(window, point);
  return CaptionPartsOf(window, *state.resources).close.Contains(inWindow.x, inWindow.y);
}

void FollowClose(HWND window, WindowState& state, LPARAM clientPoint) {
  const bool over = OverClose(window, state, clientPoint);
  if (over == state.frame.closePressed) return;
  state.frame.closePressed = over;
  RepaintFrame(window);
}

void FinishClose(HWND window, WindowState& state, LPARAM clientPoint) {
  const bool close = OverClose(window, state, clientPoint);
  state.trackingClose = false;
  state.frame.closePressed = false;
  ReleaseCapture();
  RepaintFrame(window);
  if (close) SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void EndCloseTracking(HWND window, WindowState& state) {
  state.trackingClose = false;
  state.frame.closePressed = false;
  RepaintFrame(window);
}

// Our caption parts need not lie where the platform's metrics put its buttons: the platform's
// answer is corrected wherever it named a part of the caption.
LRESULT HitTest(HWND window, const WindowState& state, LRESULT platformHit, LPARAM screenPoint) {
  switch (platformHit) {
    case HTCAPTION:
    case HTCLOSE:
    case HTSYSMENU:
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTHELP:
      break;
    default:
      return platformHit;
  }
  if (!PaintsFrame(window)) return platformHit;
  const POINT point = WindowPoint(window, ScreenPointOf(screenPoint));
  switch (HitCaption(CaptionPartsOf(window, *state.resources), point.x, point.y)) {
    case CaptionHit::Close: return HTCLOSE;
    case CaptionHit::Icon: return HTSYSMENU;
    case CaptionHit::Caption:
    case CaptionHit::Elsewhere: break;
  }
  return HTCAPTION;
}

LRESULT OnNcActivate(HWND window, WindowState& state, WPARAM active) {
  state.frame.active = active != FALSE;
  // -1 asks the platform to record the state without drawing its own caption.
  const LRESULT result = CallPlatform(window, WM_NCACTIVATE, active, -1);
  RepaintFrame(window);
  return result;
}

bool FrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WindowState& state, LRESULT& answer) {
  if (!PaintsFrame(window)) return false;
  switch (message) {
    case WM_NCPAINT:
      RepaintFrame(window);
      answer = 0;
      return true;
    case WM_NCACTIVATE:
      answer = OnNcActivate(window, state, wParam);
      return true;
    case kThemedDrawCaption:
    case kThemedDrawFrame:
      answer = 0;
      return true;
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_ENABLE:
    case WM_STYLECHANGED:
    case WM_SYSCOMMAND:
      // The platform draws its caption straight away for these.
      answer = DefaultThenRepaint(window, message, wParam, lParam, RepaintFrame);
      return true;
    case WM_NCHITTEST:
      answer = HitTest(window, state, CallPlatform(window, message, wParam, lParam), lParam);
      return true;
    case WM_NCMOUSEMOVE:
      SetCloseHot(window, state, wParam == HTCLOSE);
      return false;
    case WM_NCMOUSELEAVE:
      SetCloseHot(window, state, false);
      return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam != HTCLOSE) return false;
      StartCloseTracking(window, state);
      answer = 0;
      return true;
    case WM_PRINT:
      if ((lParam & PRF_NONCLIENT) == 0) return false;
      PaintFrame(window, reinterpret_cast<HDC>(wParam), state.frame, *state.resources);
      answer = CallPlatform(window, message, wParam, lParam & ~static_cast<LPARAM>(PRF_NONCLIENT));
      return true;
    default:
      return false;
  }
}

bool CloseTrackingMessage(HWND window, UINT message, LPARAM lParam, WindowState& state) {
  if (!state.trackingClose) return false;
  switch (message) {
    case WM_MOUSEMOVE: FollowClose(window, state, lParam); return true;
    case WM_LBUTTONUP: FinishClose(window, state, lParam); return true;
    case WM_CAPTURECHANGED: EndCloseTracking(window, state); return false;
    default: return false;
  }
}

LRESULT SurfaceMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WindowState& state) {
  LRESULT answer = 0;
  if (AnswerControlColour(message, wParam, lParam, *state.resources, answer)) return answer;
  switch (message) {
    case WM_ERASEBKGND:
      FillClient(window, reinterpret_cast<HDC>(wParam), *state.resources);
      return 1;
    case WM_PAINT:
      if (!state.paintsOwnBackground) break;
      {
        const PaintDc dc(window);
        FillClient(window, dc.get(), *state.resources);
      }
      return 0;
    case WM_PRINTCLIENT:
      if (!state.paintsOwnBackground) break;
      FillClient(window, reinterpret_cast<HDC>(wParam), *state.resources);
      return 0;
    default:
      break;
  }
  return CallPlatform(window, message, wParam, lParam);
}

LRESULT TopLevelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WindowState& state) {
  if (CloseTrackingMessage(window, message, lParam, state)) return 0;
  LRESULT answer = 0;
  if (FrameMessage(window, message, wParam, lParam, state, answer)) return answer;
  return SurfaceMessage(window, message, wParam, lParam, state);
}

void RepaintButton(HWND button) {
  const WindowState* state = StateOf(button);
  if (state == nullptr || !IsPushButton(button) || !IsWindowVisible(button)) return;
  const WindowDc dc = WindowDc::Client(button);
  if (dc) PaintPushButton(button, dc.get(), state->hot, *state->resources);
}

void StartHot(HWND button, WindowState& state) {
  state.hot = true;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button, 0};
  TrackMouseEvent(&track);
}

LRESULT ButtonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam, WindowState& state) {
  if (!IsPushButton(button)) return CallPlatform(button, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      const PaintDc dc(button);
      PaintPushButton(button, dc.get(), state.hot, *state.resources);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintPushButton(button, reinterpret_cast<HDC>(wParam), state.hot, *state.resources);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      if (state.hot) break;
      StartHot(button, state);
      return DefaultThenRepaint(button, message, wParam, lParam, RepaintButton);
    case WM_MOUSELEAVE:
      state.hot = false;
      return DefaultThenRepaint(button, message, wParam, lParam, RepaintButton);
    // The button draws itself straight away, outside WM_PAINT, when these change its state.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case BM_SETCHECK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      return DefaultThenRepaint(button, message, wParam, lParam, RepaintButton);
    default:
      break;
  }
  return CallPlatform(button, message, wParam, lParam);
}

void RepaintEditEdge(HWND edit) {
  const WindowState* state = StateOf(edit);
  if (state == nullptr || !HasEdge(edit)) return;
  const EditLook look = EditLookOf(edit);
  PaintEdge(edit, look.border, look.background, *state->resources);
}

LRESULT EditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_STYLECHANGED:
    case EM_SETREADONLY:
      return DefaultThenRepaint(edit, message, wParam, lParam, RepaintEditEdge);
    default:
      return CallPlatform(edit, message, wParam, lParam);
  }
}

void RepaintProgressEdge(HWND bar) {
  const WindowState* state = StateOf(bar);
  if (state != nullptr && HasEdge(bar)) PaintEdge(bar, Colour::ProgressBorder, Colour::ProgressTrack, *state->resources);
}

// The program steps its bar while its thread sleeps between steps, so no WM_PAINT would come in
// between: each change is drawn at once.
void RepaintProgressNow(HWND bar) {
  const WindowState* state = StateOf(bar);
  if (state == nullptr || !IsPlainProgressBar(bar) || !IsWindowVisible(bar)) return;
  const WindowDc dc = WindowDc::Client(bar);
  if (!dc) return;
  PaintProgressBar(bar, dc.get(), *state->resources);
  ValidateRect(bar, nullptr);
}

LRESULT ProgressMessage(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, WindowState& state) {
  if (message == WM_NCPAINT) return DefaultThenRepaint(bar, message, wParam, lParam, RepaintProgressEdge);
  if (!IsPlainProgressBar(bar)) return CallPlatform(bar, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      const PaintDc dc(bar);
      PaintProgressBar(bar, dc.get(), *state.resources);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintProgressBar(bar, reinterpret_cast<HDC>(wParam), *state.resources);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case PBM_SETPOS:
    case PBM_DELTAPOS:
    case PBM_STEPIT:
    case PBM_SETRANGE:
    case PBM_SETRANGE32:
    case WM_ENABLE:
      return DefaultThenRepaint(bar, message, wParam, lParam, RepaintProgressNow);
    default:
      return CallPlatform(bar, message, wParam, lParam);
  }
}

LRESULT LabelMessage(HWND label, UINT message, WPARAM wParam, LPARAM lParam, WindowState& state) {
  // A window of the program's class that holds other windows is no label: leave it as it is.
  if (GetWindow(label, GW_CHILD) != nullptr) return CallPlatform(label, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      const PaintDc dc(label);
      PaintProgramLabel(label, dc.get(), *state.resources);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintProgramLabel(label, reinterpret_cast<HDC>(wParam), *state.resources);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT: {
      const LRESULT result = CallPlatform(label, message, wParam, lParam);
      InvalidateRect(label, nullptr, FALSE);
      return result;
    }
    default:
      return CallPlatform(label, message, wParam, lParam);
  }
}

LRESULT Release(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WindowState& state) {
  RemoveWindowSubclass(window, SkinProc, kSubclassId);
  RemovePropA(window, kStateProperty);
  const std::unique_ptr<WindowState> owned(&state);
  return CallPlatform(window, message, wParam, lParam);
}

LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, WindowState& state) {
  if (message == WM_NCDESTROY) return Release(window, message, wParam, lParam, state);
  switch (state.role) {
    case WindowRole::TopLevel: return TopLevelMessage(window, message, wParam, lParam, state);
    case WindowRole::Panel: return SurfaceMessage(window, message, wParam, lParam, state);
    case WindowRole::PushButton: return ButtonMessage(window, message, wParam, lParam, state);
    case WindowRole::Edit: return EditMessage(window, message, wParam, lParam);
    case WindowRole::ProgressBar: return ProgressMessage(window, message, wParam, lParam, state);
    case WindowRole::ProgramLabel: return LabelMessage(window, message, wParam, lParam, state);
    case WindowRole::None: break;
  }
  return CallPlatform(window, message, wParam, lParam);
}

// The program's own exceptions pass through untouched; ours never leave the engine.
LRESULT CALLBACK SkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  try {
    return Dispatch(window, message, wParam, lParam, *reinterpret_cast<WindowState*>(data));
  } catch (const PlatformException& platform) {
    std::rethrow_exception(platform.thrown);
  } catch (...) {
    // Our own drawing failed (out of memory): this message goes without it, the program goes on.
    return 0;
  }
}

WindowFacts FactsOf(HWND window, const std::string& className, const std::string& parentClassName) {
  WindowFacts facts;
  facts.className = className;
  facts.parentClassName = parentClassName;
  facts.child = (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0;
  facts.messageOnly = !facts.child && GetAncestor(window, GA_PARENT) != GetDesktopWindow();
  facts.programClass =
      GetClassLongPtrA(window, GCLP_HMODULE) == reinterpret_cast<ULONG_PTR>(GetModuleHandleA(nullptr));
  facts.classHasBackground = GetClassLongPtrA(window, GCLP_HBRBACKGROUND) != 0;
  return facts;
}

// Desktop composition draws a frame of its own over what WM_NCPAINT paints; a skinned window asks
// it to leave the frame to us. Looked up at run time: older systems have no dwmapi.dll.
void KeepCompositionOffTheFrame(HWND window) {
  using SetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  constexpr DWORD kNonClientRenderingPolicy = 2;  // DWMWA_NCRENDERING_POLICY
  constexpr DWORD kRenderingDisabled = 1;         // DWMNCRP_DISABLED
  static const SetWindowAttribute setAttribute = [] {
    const HMODULE dwm = LoadLibraryA("dwmapi.dll");
    return dwm == nullptr ? nullptr
                          : reinterpret_cast<SetWindowAttribute>(
                                reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")));
  }();
  if (setAttribute != nullptr) setAttribute(window, kNonClientRenderingPolicy, &kRenderingDisabled, sizeof kRenderingDisabled);
}

void Redraw(HWND window, WindowRole role) {
  if (!IsWindowVisible(window)) return;
  UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME;
  // Controls that are not skinned themselves take new colours from their parent's answers.
  if (role == WindowRole::TopLevel || role == WindowRole::Panel) flags |= RDW_ALLCHILDREN;
  RedrawWindow(window, nullptr, nullptr, flags);
}

}  // namespace

bool SkinWindow(HWND window, const std::shared_ptr<const SkinResources>& resources) {
  if (WindowState* held = StateOf(window)) {
    held->resources = resources;
    Redraw(window, held->role);
    return true;
  }
  const std::string className = ClassNameOf(window);
  const HWND parent = GetAncestor(window, GA_PARENT);
  const std::string parentClassName = parent != nullptr ? ClassNameOf(parent) : std::string();
  const WindowFacts facts = FactsOf(window, className, parentClassName);
  const WindowRole role = RoleOf(facts);
  if (role == WindowRole::None) return false;
  auto state = std::make_unique<WindowState>();
  state->resources = resources;
  state->role = role;
  state->paintsOwnBackground = role == WindowRole::TopLevel && facts.programClass && !facts.classHasBackground;
  state->frame.active = GetActiveWindow() == window;
  if (!SetPropA(window, kStateProperty, state.get())) return false;
  if (!SetWindowSubclass(window, SkinProc, kSubclassId, reinterpret_cast<DWORD_PTR>(state.get()))) {
    RemovePropA(window, kStateProperty);
    return false;
  }
  state.release();  // the window owns it now; Release() takes it back at WM_NCDESTROY
  if (role == WindowRole::TopLevel) KeepCompositionOffTheFrame(window);
  Redraw(window, role);
  return true;
}

}  // namespace zuzar::skin
