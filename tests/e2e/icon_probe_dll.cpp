// The probe library: loaded by Wine into the program's process because it holds the hook procedure.

#include <windows.h>

#include "tests/e2e/icon_probe.h"

namespace zuzar::e2e {
namespace {

void Measure(HICON icon, int32_t& width, int32_t& height) {
  ICONINFO info{};
  width = height = 0;
  if (!icon || !GetIconInfo(icon, &info)) return;
  BITMAP bitmap{};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  width = bitmap.bmWidth;
  height = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
}

// Draws the icon at `size` over the probe background into a top-down 32-bit DIB.
void Draw(HICON icon, int size, uint32_t* pixels) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  auto* target = static_cast<uint32_t*>(bits);
  for (int i = 0; i < size * size; ++i) target[i] = kIconProbeBackground;
  if (icon) DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  GdiFlush();
  for (int i = 0; i < size * size; ++i) pixels[i] = target[i] & 0x00FFFFFF;
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

void Probe(HWND window, DWORD driverProcessId) {
  HANDLE block = OpenFileMappingA(FILE_MAP_WRITE, FALSE, IconProbeBlockName(driverProcessId).c_str());
  if (!block) return;
  auto* result = static_cast<IconProbeResult*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, sizeof(IconProbeResult)));
  if (result) {
    const auto big = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    const auto small = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    Measure(big, result->bigWidth, result->bigHeight);
    Measure(small, result->smallWidth, result->smallHeight);
    Draw(big, 32, result->bigPixels);
    Draw(small, 16, result->smallPixels);
    InterlockedExchange(&result->done, 1);
    UnmapViewOfFile(result);
  }
  CloseHandle(block);
}

}  // namespace
}  // namespace zuzar::e2e

extern "C" __declspec(dllexport) LRESULT CALLBACK IconProbeHook(int code, WPARAM removal, LPARAM message) {
  static const UINT probeMessage = RegisterWindowMessageA(zuzar::e2e::kIconProbeMessageName);
  const auto* queued = reinterpret_cast<const MSG*>(message);
  if (code == HC_ACTION && removal == PM_REMOVE && queued->message == probeMessage) {
    zuzar::e2e::Probe(queued->hwnd, static_cast<DWORD>(queued->wParam));
  }
  return CallNextHookEx(nullptr, code, removal, message);
}
