#include "app/skin_installation.h"

#include <string_view>

#include "app/embedded_bytes.h"
#include "fileio/file_system.h"
#include "text/text.h"

namespace zuzar {
namespace {

// Built afresh for every step from the current directory, as the program has always done.
Text InCurrentDirectory(std::string_view name) { return ConcatText({GetCurrentDir(), name}); }

}  // namespace

CarriedSkin ProgramCarriedSkin() { return CarriedSkin{SkinLibraryBytes(), SkinFileBytes()}; }

void InstallSkin(DllCommandTable& dllCommands, const CarriedSkin& carried) {
  WriteToFile(InCurrentDirectory(kSkinLibraryName).c_str(), {carried.library});
  WriteToFile(InCurrentDirectory(kSkinFileName).c_str(), {carried.skin});
  SetFileAttrs(InCurrentDirectory(kSkinLibraryName).c_str(), kSkinFileAttributes);
  SetFileAttrs(InCurrentDirectory(kSkinFileName).c_str(), kSkinFileAttributes);
  // The password is the empty text: our skin has none.
  CallDllCommand(dllCommands, kSkinHAttachEx, InCurrentDirectory(kSkinFileName).c_str(), "");
}

void OnMainWindowCreated(DllCommandTable& dllCommands) { InstallSkin(dllCommands, ProgramCarriedSkin()); }

}  // namespace zuzar
