#include <windows.h>

#include "app/library_loader.h"

namespace zuzar {
namespace {

class SystemLibraryLoader final : public LibraryLoader {
 public:
  Module Load(const std::string& path) override { return LoadLibraryA(path.c_str()); }

  void* FindExport(Module module, const std::string& exportName) override {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), exportName.c_str()));
  }

  void Release(Module module) override { FreeLibrary(static_cast<HMODULE>(module)); }
};

}  // namespace

std::unique_ptr<LibraryLoader> MakeSystemLibraryLoader() { return std::make_unique<SystemLibraryLoader>(); }

}  // namespace zuzar
