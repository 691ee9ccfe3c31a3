#pragma once
// Move-only owners of the GDI objects and device contexts the engine draws with.

#include <windows.h>

#include <utility>

namespace zuzar::skin {

template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  void Reset() {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = nullptr;
  }
  Handle handle_ = nullptr;
};

using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;

// Puts an object into a DC and takes it out again when the scope ends.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// GetDC / GetWindowDC, released with the window they came from.
class WindowDc {
 public:
  static WindowDc Client(HWND window) { return WindowDc(window, GetDC(window)); }
  static WindowDc Whole(HWND window) { return WindowDc(window, GetWindowDC(window)); }
  WindowDc(WindowDc&& other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&&) = delete;
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
  HWND window_;
  HDC dc_;
};

class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window) { BeginPaint(window, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(window_, &paint_); }

  HDC get() const { return paint_.hdc; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
};

// An off-screen picture of a given size, drawn whole and then copied in one step, so that the
// screen never shows a half-painted control.
class MemoryDc {
 public:
  MemoryDc(HDC target, int width, int height)
      : target_(target),
        width_(width),
        height_(height),
        dc_(CreateCompatibleDC(target)),
        bitmap_(CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1)),
        previous_(dc_ != nullptr ? SelectObject(dc_, bitmap_.get()) : nullptr) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_ == nullptr) return;
    if (previous_ != nullptr) SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr && bitmap_; }
  void CopyToTarget() const { BitBlt(target_, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY); }

 private:
  HDC target_;
  int width_;
  int height_;
  HDC dc_;
  Bitmap bitmap_;
  HGDIOBJ previous_;
};

}  // namespace zuzar::skin
