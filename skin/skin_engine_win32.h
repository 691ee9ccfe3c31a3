#pragma once
// Skinning a thread: the windows it has, and every window it creates from now on.

#include <memory>

#include "skin/skin_resources_win32.h"

namespace zuzar::skin {

// The library's life, from DllMain: the thread slot is made when the library is loaded; a thread's
// hook and skin are released when that thread ends.
bool StartEngine();
void EndThreadSkin();
void StopEngine();

// Skins the calling thread's windows and watches it for new ones. A second call moves the thread
// and its skinned windows to the new skin. False, with no window touched, when the thread cannot
// be watched.
bool AttachSkinToThread(const std::shared_ptr<const SkinResources>& resources);

}  // namespace zuzar::skin
