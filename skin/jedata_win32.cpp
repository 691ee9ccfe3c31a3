#include "skin/jedata.h"

#include <windows.h>

#include <optional>
#include <utility>
#include <vector>

#include "skin/skin_engine_win32.h"
#include "skin/skin_file.h"
#include "skin/skin_resources_win32.h"

namespace zuzar::skin {
namespace {

// Far above any real skin; a bigger file is refused before it is read into memory.
constexpr DWORD kMaxSkinFileSize = 1u << 20;

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }

  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

std::optional<std::vector<uint8_t>> ReadSkinBytes(const char* path) {
  const FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxSkinFileSize) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  const auto wanted = static_cast<DWORD>(bytes.size());
  if (!ReadFile(file.get(), bytes.data(), wanted, &read, nullptr) || read != wanted) return std::nullopt;
  return bytes;
}

bool Attach(const char* skinPath, const char* password) {
  if (skinPath == nullptr) return false;
  const auto bytes = ReadSkinBytes(skinPath);
  if (!bytes) return false;
  const ReadResult read = ReadSkin(bytes->data(), bytes->size(), password != nullptr ? password : "");
  if (!read.skin) return false;
  const auto resources = SkinResources::Create(*read.skin);
  return resources != nullptr && AttachSkinToThread(resources);
}

}  // namespace
}  // namespace zuzar::skin

// Only thread-slot bookkeeping here: nothing that loads or frees a library.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID processEnding) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return zuzar::skin::StartEngine() ? TRUE : FALSE;
    case DLL_THREAD_DETACH:
      zuzar::skin::EndThreadSkin();
      return TRUE;
    case DLL_PROCESS_DETACH:
      // At process exit the system reclaims everything; only an unload needs tidying.
      if (processEnding == nullptr) zuzar::skin::StopEngine();
      return TRUE;
    default:
      return TRUE;
  }
}

extern "C" int __stdcall SkinH_AttachEx(const char* skinPath, const char* password) {
  try {
    return zuzar::skin::Attach(skinPath, password) ? JEDATA_ATTACHED : JEDATA_NOT_ATTACHED;
  } catch (...) {
    return JEDATA_NOT_ATTACHED;
  }
}
