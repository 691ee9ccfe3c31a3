#pragma once
// Loading the main window "zuzar": the window and its ten controls are built with events blocked,
// the created event runs while the window exists but before it is first shown, and then the window
// is shown. The loaded window is the Controls realisation the handlers work on. Keys (Tab,
// Shift+Tab, Esc, Enter) are handled by the window's own controls, so the program's message loop is
// a plain GetMessage / TranslateMessage / DispatchMessage loop.
//
// In the native build there is no window: loading gives the in-memory model of the controls, and
// the created event runs just the same.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "ui/controls.h"
#include "ui/events.h"
#include "ui/layout.h"

namespace zuzar {

// A Windows icon file (.ico) as bytes; the window takes its 32×32 and 16×16 images from it.
struct IconFileBytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

class MainWindow : public Controls {
 public:
  // False once the window has been destroyed: closed by the user (close box, system menu, Alt+F4,
  // Esc). Every control operation is then fatal, as on a window that is not loaded.
  virtual bool Exists() const = 0;
  // The HWND of the window, as an opaque value; null in the native build and after destruction.
  virtual void* NativeHandle() const = 0;
};

struct MainWindowHooks {
  // Runs once, while the window is being destroyed; the place to post the quit message.
  EventHandler onDestroyed;
};

// Builds the window, binds `handlers` through `events`, raises the created event and, if the window
// still exists then, shows it. `events` must outlive the window. Destroying the returned object
// destroys the window if it still exists (without calling onDestroyed).
std::unique_ptr<MainWindow> LoadMainWindow(EventDispatcher& events, const HandlerBindings& handlers,
                                           IconFileBytes iconFile, MainWindowHooks hooks = {});

}  // namespace zuzar
