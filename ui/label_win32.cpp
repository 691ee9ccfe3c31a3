#include <windows.h>

#include "ui/win32_controls.h"
#include "ui/window_ids.h"

namespace zuzar {

namespace {

constexpr UINT kLabelTextFormat = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP;

const LabelSettings* SettingsOf(HWND label) {
  const auto* record = reinterpret_cast<const ControlRecord*>(GetWindowLongPtrA(label, GWLP_USERDATA));
  return record != nullptr ? std::get_if<LabelSettings>(&record->settings) : nullptr;
}

void PaintLabel(HWND label) {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(label, &paint);
  if (dc == nullptr) return;
  const LabelSettings* settings = SettingsOf(label);
  const uint32_t back = settings != nullptr ? settings->backColour : kButtonFaceColour;
  const uint32_t textColour = settings != nullptr ? settings->textColour : 0;
  RECT area{};
  GetClientRect(label, &area);
  BrushHandle ownBrush;
  HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
  if (back != kButtonFaceColour) {
    ownBrush = BrushHandle(CreateSolidBrush(ResolveColour(back)));
    brush = ownBrush.get();
  }
  FillRect(dc, &area, brush);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColour(textColour));
  {
    SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    const std::string text = WindowTextOf(label);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, kLabelTextFormat);
  }
  EndPaint(label, &paint);
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrA(label, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
      break;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole label
    case WM_PAINT:
      PaintLabel(label);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(label, message, wParam, lParam);
      InvalidateRect(label, nullptr, TRUE);
      return result;
    }
    default:
      break;
  }
  return DefWindowProcA(label, message, wParam, lParam);
}

}  // namespace

void RegisterLabelClass(HINSTANCE instance) {
  WNDCLASSEXA labelClass{};
  labelClass.cbSize = sizeof(labelClass);
  labelClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  labelClass.lpfnWndProc = &LabelProc;
  labelClass.hInstance = instance;
  labelClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  labelClass.hbrBackground = nullptr;
  labelClass.lpszClassName = kLabelClassName;
  RegisterClassExA(&labelClass);
}

}  // namespace zuzar
