#include "skin/painters_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace zuzar::skin {
namespace {

constexpr LONG_PTR kButtonTypeMask = 0x0F;

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrA(window, GWL_STYLE); }
LONG_PTR ExStyleOf(HWND window) { return GetWindowLongPtrA(window, GWL_EXSTYLE); }

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

SIZE WindowSize(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

Rect ClientInWindow(HWND window) {
  RECT bounds{};
  RECT client{};
  GetWindowRect(window, &bounds);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int left = origin.x - bounds.left;
  const int top = origin.y - bounds.top;
  return Rect{left, top, left + client.right, top + client.bottom};
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

void Fill(HDC dc, const RECT& area, HBRUSH brush) { FillRect(dc, &area, brush); }

// An inside-frame pen keeps the border, whatever its width, within the box, corners included.
void DrawRoundedBox(HDC dc, const RECT& box, int radius, int borderWidth, COLORREF border, HBRUSH face) {
  const GdiObject<HPEN> pen(CreatePen(PS_INSIDEFRAME, borderWidth, border));
  if (!pen) return;
  const Selection chosenPen(dc, pen.get());
  const Selection fill(dc, face);
  RoundRect(dc, box.left, box.top, box.right, box.bottom, radius * 2, radius * 2);
}

HICON CaptionIcon(HWND window) {
  if ((ExStyleOf(window) & WS_EX_DLGMODALFRAME) != 0 || (StyleOf(window) & WS_SYSMENU) == 0) return nullptr;
  auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
  return icon;
}

void DrawGlyph(HDC dc, const AlphaMask& mask, const Rect& box, Rgb ink, Rgb ground) {
  const std::vector<uint32_t> pixels = TintMask(mask, ink, ground);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = mask.width;
  info.bmiHeader.biHeight = -mask.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const int x = box.left + (box.Width() - mask.width) / 2;
  const int y = box.top + (box.Height() - mask.height) / 2;
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(mask.width), static_cast<DWORD>(mask.height), 0, 0, 0,
                    static_cast<UINT>(mask.height), pixels.data(), &info, DIB_RGB_COLORS);
}

CloseState CloseStateOf(HWND window, const FrameState& state) {
  if (!CloseEnabled(window)) return CloseState::Disabled;
  if (state.closePressed) return CloseState::Pressed;
  return state.closeHot ? CloseState::Hot : CloseState::Normal;
}

void DrawCaptionText(HDC dc, HWND window, const Rect& area, COLORREF colour, HFONT font) {
  const std::string title = WindowText(window);
  const Selection chosen(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  RECT box = ToRECT(area);
  DrawTextA(dc, title.c_str(), static_cast<int>(title.size()), &box,
            DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

UINT ButtonTextFormat(LONG_PTR style, HWND button) {
  UINT format = 0;
  switch (style & BS_CENTER) {
    case BS_LEFT: format |= DT_LEFT; break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    default: format |= DT_CENTER; break;
  }
  if ((SendMessageA(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0) format |= DT_HIDEPREFIX;
  return format;
}

// Multi-line captions are measured first, so the block of lines can be placed as one.
void DrawButtonText(HDC dc, HWND button, RECT box, COLORREF colour) {
  const std::string text = WindowText(button);
  const LONG_PTR style = StyleOf(button);
  const Selection font(dc, FontOf(button));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  UINT format = ButtonTextFormat(style, button);
  const LONG_PTR vertical = style & BS_VCENTER;
  if ((style & BS_MULTILINE) == 0) {
    format |= DT_SINGLELINE | (vertical == BS_TOP ? DT_TOP : vertical == BS_BOTTOM ? DT_BOTTOM : DT_VCENTER);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    return;
  }
  format |= DT_WORDBREAK;
  RECT measured = box;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
  const int height = measured.bottom - measured.top;
  if (vertical == BS_BOTTOM) {
    box.top = box.bottom - height;
  } else if (vertical != BS_TOP) {
    box.top += (box.bottom - box.top - height) / 2;
  }
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
}

}  // namespace

bool PaintsFrame(HWND window) {
  const LONG_PTR style = StyleOf(window);
  const LONG_PTR exStyle = ExStyleOf(window);
  FrameFacts facts;
  facts.caption = (style & WS_CAPTION) == WS_CAPTION;
  facts.menuBar = GetMenu(window) != nullptr;
  facts.minimiseOrMaximiseBox = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0;
  facts.helpButton = (exStyle & WS_EX_CONTEXTHELP) != 0;
  facts.toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
  facts.iconic = IsIconic(window) != FALSE;
  return PaintsFrame(facts);
}

bool HasCloseButton(HWND window) { return (StyleOf(window) & WS_SYSMENU) != 0; }

bool CloseEnabled(HWND window) {
  if (!HasCloseButton(window) || (GetClassLongPtrA(window, GCL_STYLE) & CS_NOCLOSE) != 0) return false;
  const HMENU menu = GetSystemMenu(window, FALSE);
  if (menu == nullptr) return true;
  const UINT state = GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

CaptionParts CaptionPartsOf(HWND window, const SkinResources& resources) {
  return LayoutCaption(WindowSize(window).cx, ClientInWindow(window), CaptionIcon(window) != nullptr,
                       HasCloseButton(window), resources.skin());
}

void PaintFrame(HWND window, HDC windowDc, const FrameState& state, const SkinResources& resources) {
  const SIZE size = WindowSize(window);
  const Rect client = ClientInWindow(window);
  const HICON icon = CaptionIcon(window);
  const CaptionParts parts =
      LayoutCaption(size.cx, client, icon != nullptr, HasCloseButton(window), resources.skin());
  const MemoryDc picture(windowDc, size.cx, size.cy);
  if (!picture) return;
  const HDC dc = picture.get();
  const RECT whole{0, 0, size.cx, size.cy};
  Fill(dc, whole, resources.BrushOf(FrameColour(state.active)));
  FrameRect(dc, &whole, resources.BrushOf(Colour::FrameOutline));
  if (icon != nullptr) {
    DrawIconEx(dc, parts.icon.left, parts.icon.top, icon, parts.icon.Width(), parts.icon.Height(), 0, nullptr,
               DI_NORMAL);
  }
  DrawCaptionText(dc, window, parts.text, resources.ColourOf(CaptionTextColour(state.active)),
                  resources.CaptionFont());
  if (!parts.close.Empty()) {
    const CloseLook look = CloseLookFor(CloseStateOf(window, state), state.active);
    Fill(dc, ToRECT(parts.close), resources.BrushOf(look.face));
    DrawGlyph(dc, resources.CloseGlyph(), parts.close, resources.skin()[look.glyph], resources.skin()[look.face]);
  }
  // The target may be a caller's DC (WM_PRINT): its clipping is restored for the client paint.
  const int saved = SaveDC(windowDc);
  ExcludeClipRect(windowDc, client.left, client.top, client.right, client.bottom);
  picture.CopyToTarget();
  RestoreDC(windowDc, saved);
}

void FillClient(HWND window, HDC dc, const SkinResources& resources) {
  RECT client{};
  GetClientRect(window, &client);
  Fill(dc, client, resources.BrushOf(Colour::WindowBackground));
}

bool IsPushButton(HWND button) {
  const LONG_PTR style = StyleOf(button);
  const LONG_PTR type = style & kButtonTypeMask;
  return (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) && (style & (BS_BITMAP | BS_ICON)) == 0;
}

void PaintPushButton(HWND button, HDC dc, bool hot, const SkinResources& resources) {
  RECT client{};
  GetClientRect(button, &client);
  const MemoryDc picture(dc, client.right, client.bottom);
  if (!picture) return;
  const LRESULT pushState = SendMessageA(button, BM_GETSTATE, 0, 0);
  ButtonState state;
  state.enabled = IsWindowEnabled(button) != FALSE;
  state.pressed = (pushState & BST_PUSHED) != 0;
  state.hot = hot;
  state.focused = GetFocus() == button;
  state.isDefault = (StyleOf(button) & kButtonTypeMask) == BS_DEFPUSHBUTTON;
  const ButtonLook look = ButtonLookFor(resources.skin(), state);
  const int radius = resources.skin()[Metric::ButtonCornerRadius];
  Fill(picture.get(), client, resources.BrushOf(Colour::WindowBackground));
  DrawRoundedBox(picture.get(), client, radius, look.borderWidth, resources.ColourOf(look.border),
                 resources.BrushOf(look.face));
  RECT face = client;
  InflateRect(&face, -look.borderWidth, -look.borderWidth);
  RECT text = face;
  InflateRect(&text, -2, -1);
  OffsetRect(&text, look.textShift, look.textShift);
  DrawButtonText(picture.get(), button, text, resources.ColourOf(look.text));
  picture.CopyToTarget();
}

bool HasEdge(HWND window) {
  return (ExStyleOf(window) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) != 0 || (StyleOf(window) & WS_BORDER) != 0;
}

void PaintEdge(HWND window, Colour border, Colour inside, const SkinResources& resources) {
  const Rect client = ClientInWindow(window);
  const int edge = std::clamp(client.left, 0, 3);
  if (edge == 0) return;
  const WindowDc dc = WindowDc::Whole(window);
  if (!dc) return;
  const SIZE size = WindowSize(window);
  RECT ring{0, 0, size.cx, size.cy};
  FrameRect(dc.get(), &ring, resources.BrushOf(border));
  for (int i = 1; i < edge; ++i) {
    InflateRect(&ring, -1, -1);
    FrameRect(dc.get(), &ring, resources.BrushOf(inside));
  }
  const RECT above{client.left, edge, client.right, client.top};
  const RECT below{client.left, client.bottom, client.right, size.cy - edge};
  if (above.bottom > above.top) Fill(dc.get(), above, resources.BrushOf(inside));
  if (below.bottom > below.top) Fill(dc.get(), below, resources.BrushOf(inside));
}

EditLook EditLookOf(HWND edit) {
  EditState state;
  state.enabled = IsWindowEnabled(edit) != FALSE;
  state.readOnly = (StyleOf(edit) & ES_READONLY) != 0;
  state.focused = GetFocus() == edit;
  return EditLookFor(state);
}

bool IsPlainProgressBar(HWND bar) { return (StyleOf(bar) & (PBS_VERTICAL | PBS_MARQUEE)) == 0; }

void PaintProgressBar(HWND bar, HDC dc, const SkinResources& resources) {
  RECT client{};
  GetClientRect(bar, &client);
  const MemoryDc picture(dc, client.right, client.bottom);
  if (!picture) return;
  PBRANGE range{};
  SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  const auto position = static_cast<int32_t>(SendMessageA(bar, PBM_GETPOS, 0, 0));
  Fill(picture.get(), client, resources.BrushOf(Colour::ProgressTrack));
  const Rect area{client.left, client.top, client.right, client.bottom};
  for (const Rect& block : ProgressBlocks(area, range.iLow, range.iHigh, position, resources.skin())) {
    Fill(picture.get(), ToRECT(block), resources.BrushOf(Colour::ProgressBar));
  }
  picture.CopyToTarget();
}

void PaintProgramLabel(HWND label, HDC dc, const SkinResources& resources) {
  RECT client{};
  GetClientRect(label, &client);
  Fill(dc, client, resources.BrushOf(Colour::WindowBackground));
  const std::string text = WindowText(label);
  const Selection font(dc, FontOf(label));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, resources.ColourOf(Colour::Text));
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
}

std::string ClassNameOf(HWND window) {
  char name[256] = {};
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, static_cast<size_t>(std::max(0, length)));
}

}  // namespace zuzar::skin
