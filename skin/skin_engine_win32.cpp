#include "skin/skin_engine_win32.h"

#include <windows.h>

#include "skin/skinned_windows_win32.h"

namespace zuzar::skin {
namespace {

class ThreadSkin {
 public:
  ThreadSkin(HHOOK hook, std::shared_ptr<const SkinResources> resources)
      : hook_(hook), resources_(std::move(resources)) {}
  ThreadSkin(const ThreadSkin&) = delete;
  ThreadSkin& operator=(const ThreadSkin&) = delete;
  ~ThreadSkin() { UnhookWindowsHookEx(hook_); }

  const std::shared_ptr<const SkinResources>& resources() const { return resources_; }
  void set_resources(std::shared_ptr<const SkinResources> resources) { resources_ = std::move(resources); }

 private:
  HHOOK hook_;
  std::shared_ptr<const SkinResources> resources_;
};

// A hook procedure has no context argument: each thread that attached a skin finds its ThreadSkin
// in this thread-local slot, which owns it. (A Win32 slot rather than thread_local, whose MinGW
// form would pull a threads library into the DLL.)
DWORD threadSlot = TLS_OUT_OF_INDEXES;

ThreadSkin* CurrentThreadSkin() {
  return threadSlot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<ThreadSkin*>(TlsGetValue(threadSlot));
}

// Callbacks of the platform may not let an exception through: on 32-bit Windows it could not unwind
// the platform's frames at all. A window that cannot be skinned is left as it is.
void SkinWindowOrLeaveIt(HWND window, const std::shared_ptr<const SkinResources>& resources) {
  try {
    SkinWindow(window, resources);
  } catch (...) {
    // Out of memory: this window keeps the platform's look.
  }
}

LRESULT CALLBACK OnCbtEvent(int code, WPARAM wParam, LPARAM lParam) {
  // The new window exists and has its class, styles and parent; its creation messages are yet to
  // come, so a subclass set now sees them all.
  const ThreadSkin* threadSkin = CurrentThreadSkin();
  if (code == HCBT_CREATEWND && threadSkin != nullptr) {
    SkinWindowOrLeaveIt(reinterpret_cast<HWND>(wParam), threadSkin->resources());
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Subclassed windows and the hook call into this module for as long as they live, and the program
// releases the library at its end while windows may still exist. Pinning keeps the code mapped.
HMODULE PinnedEngineModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCSTR>(&OnCbtEvent), &module);
  return module;
}

BOOL CALLBACK SkinChild(HWND child, LPARAM resources) {
  SkinWindowOrLeaveIt(child, *reinterpret_cast<const std::shared_ptr<const SkinResources>*>(resources));
  return TRUE;
}

// Parents before their children, so that a control's first paint already finds its parent's
// colours.
BOOL CALLBACK SkinTopLevel(HWND window, LPARAM resources) {
  SkinWindowOrLeaveIt(window, *reinterpret_cast<const std::shared_ptr<const SkinResources>*>(resources));
  EnumChildWindows(window, SkinChild, resources);
  return TRUE;
}

}  // namespace

bool StartEngine() {
  threadSlot = TlsAlloc();
  return threadSlot != TLS_OUT_OF_INDEXES;
}

void EndThreadSkin() {
  if (threadSlot == TLS_OUT_OF_INDEXES) return;
  const std::unique_ptr<ThreadSkin> owned(CurrentThreadSkin());
  TlsSetValue(threadSlot, nullptr);
}

void StopEngine() {
  EndThreadSkin();
  if (threadSlot != TLS_OUT_OF_INDEXES) TlsFree(threadSlot);
  threadSlot = TLS_OUT_OF_INDEXES;
}

bool AttachSkinToThread(const std::shared_ptr<const SkinResources>& resources) {
  if (threadSlot == TLS_OUT_OF_INDEXES) return false;
  if (ThreadSkin* threadSkin = CurrentThreadSkin()) {
    threadSkin->set_resources(resources);
  } else {
    const HMODULE module = PinnedEngineModule();
    if (module == nullptr) return false;
    const HHOOK hook = SetWindowsHookExA(WH_CBT, OnCbtEvent, module, GetCurrentThreadId());
    if (hook == nullptr) return false;
    auto created = std::make_unique<ThreadSkin>(hook, resources);
    if (!TlsSetValue(threadSlot, created.get())) return false;
    created.release();  // the slot owns it now; EndThreadSkin() takes it back
  }
  EnumThreadWindows(GetCurrentThreadId(), SkinTopLevel, reinterpret_cast<LPARAM>(&resources));
  return true;
}

}  // namespace zuzar::skin
