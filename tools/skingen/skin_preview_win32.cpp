// A window laid out like zuzar's, drawn in the freshly built skin, to judge a change of
// skin/skin.txt by eye.
//   skin_preview.exe [held] [message] [open]
// held: the state with a file held (Start and Cancel enabled, Open and the path box disabled);
// message: a Yes/No message box over the window once it is shown; open: the open-file dialog.

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "skin/jedata.h"

namespace {

// Build paths of this machine; a Unix path is reached through Wine's drive Z:.
std::string HostPath(const char* path) { return path[0] == '/' ? std::string("Z:") + path : std::string(path); }

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  char text[128] = {};
  GetWindowTextA(window, text, sizeof text);
  const HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, text, -1, &client, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
  SelectObject(dc, old);
  EndPaint(window, &paint);
  return 0;
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    DestroyWindow(window);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance) {
  WNDCLASSA main{};
  main.lpfnWndProc = MainProc;
  main.hInstance = instance;
  main.hCursor = LoadCursor(nullptr, IDC_ARROW);
  main.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  main.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  main.lpszClassName = "SkinPreviewWindow";
  RegisterClassA(&main);
  WNDCLASSA label{};
  label.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  label.lpfnWndProc = LabelProc;
  label.hInstance = instance;
  label.hCursor = LoadCursor(nullptr, IDC_ARROW);
  label.lpszClassName = "SkinPreviewLabel";
  RegisterClassA(&label);
}

HWND Control(HWND parent, const char* className, const char* text, DWORD style, DWORD exStyle, RECT box) {
  const HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                                       box.left, box.top, box.right, box.bottom, parent, nullptr,
                                       GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  return control;
}

HWND BuildWindow(bool held) {
  const int left = (GetSystemMetrics(SM_CXSCREEN) - 475) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - 321) / 2;
  const HWND window = CreateWindowExA(0, "SkinPreviewWindow", "zuzar", WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU,
                                      left, top, 475, 321, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  const DWORD button = WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
  const DWORD disabledWhenHeld = held ? WS_DISABLED : 0;
  const DWORD disabledWhenFree = held ? 0 : WS_DISABLED;
  Control(window, "SkinPreviewLabel", "准备粉碎的文件：", 0, 0, RECT{56, 30, 120, 16});
  Control(window, "EDIT", held ? "C:\\users\\资料\\旧报表.xls" : "", WS_TABSTOP | ES_AUTOHSCROLL | disabledWhenHeld,
          WS_EX_STATICEDGE, RECT{56, 48, 352, 24});
  Control(window, "BUTTON", "打开", button | disabledWhenHeld, 0, RECT{344, 16, 64, 24});
  const HWND progress = Control(window, PROGRESS_CLASSA, "", 0, WS_EX_STATICEDGE, RECT{40, 266, 425, 16});
  SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  SendMessageA(progress, PBM_SETPOS, held ? 0 : 60, 0);
  Control(window, "EDIT",
          held ? "文件名：旧报表.xls\r\n目录：C:\\users\\资料\r\n粉碎后可释放空间：1,048,576 字节\r\n"
               : "2024-05-01 10:12:33\r\n文件粉碎成功。\r\n",
          WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_READONLY, WS_EX_STATICEDGE,
          RECT{56, 75, 352, 101});
  Control(window, "BUTTON", "开始粉碎", button | disabledWhenFree, 0, RECT{110, 184, 98, 32});
  Control(window, "BUTTON", "撤  消", button | disabledWhenFree, 0, RECT{240, 184, 98, 32});
  Control(window, "SkinPreviewLabel", "进程", 0, 0, RECT{8, 256, 32, 32});
  Control(window, "BUTTON", "Norvik粉丝论坛", button, 0, RECT{176, 224, 96, 32});
  return window;
}

bool Attach() {
  const HMODULE engine = LoadLibraryA(HostPath(ZUZAR_SKIN_ENGINE).c_str());
  if (engine == nullptr) return false;
  const auto attach = reinterpret_cast<SkinH_AttachExFunction>(
      reinterpret_cast<void*>(GetProcAddress(engine, "SkinH_AttachEx")));
  return attach != nullptr && attach(HostPath(ZUZAR_SKIN_FILE_PATH).c_str(), "") == JEDATA_ATTACHED;
}

void ShowOpenDialog(HWND owner) {
  char file[MAX_PATH] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = "所有文件(*.*)\0*.*\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER;
  GetOpenFileNameA(&dialog);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  const bool held = std::strstr(commandLine, "held") != nullptr;
  const bool message = std::strstr(commandLine, "message") != nullptr;
  RegisterClasses(instance);
  const HWND window = BuildWindow(held);
  if (!Attach()) MessageBoxA(window, "无法加载皮肤。", "skin_preview", MB_ICONERROR);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  if (message) MessageBoxA(window, "该操作不可恢复，确定继续吗？", "信息：", MB_YESNO | MB_ICONQUESTION);
  if (std::strstr(commandLine, "open") != nullptr) ShowOpenDialog(window);
  MSG msg{};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
