#include <windows.h>

#include "app/program_image.h"
#include "app/resource_ids.h"

namespace zuzar {

std::string ExecutablePath() {
  // GetModuleFileNameA cuts a path that does not fit without failing, so grow until it fits.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

IconFileBytes ProgramIconFile() {
  HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(ZUZAR_ICON_FILE_DATA), RT_RCDATA);
  if (!resource) return {};
  // A loaded resource belongs to the module's image and is never released.
  HGLOBAL loaded = LoadResource(nullptr, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return IconFileBytes{static_cast<const uint8_t*>(bytes), SizeofResource(nullptr, resource)};
}

}  // namespace zuzar
