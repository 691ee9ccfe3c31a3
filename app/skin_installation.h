#pragma once
// The skin goes on before the main window is first shown: the created event writes the engine and
// the skin that the program carries into the current directory (the program directory by then),
// hides them, and hands the skin to the engine, which draws the program's windows from then on.

#include <cstdint>

#include "app/dll_command_table.h"
#include "fileio/byte_buffer.h"

namespace zuzar {

// Appended to the current directory.
inline constexpr char kSkinLibraryName[] = "\\jedata.dll";
inline constexpr char kSkinFileName[] = "\\皮肤.she";
// Hidden (2) + system (4).
inline constexpr int32_t kSkinFileAttributes = 6;

// The two blocks that InstallSkin writes, each with the layout of a ByteBuffer.
struct CarriedSkin {
  ByteBufferView library;
  ByteBufferView skin;
};

// What the program carries inside itself.
CarriedSkin ProgramCarriedSkin();

// Writes both files, marks them hidden and system, then calls SkinH_AttachEx(skin file, "") through
// entry 0 of the table. No result is looked at: on a later start the writes are refused for the
// hidden files left by the first, and the engine takes those. An engine that cannot be loaded is
// fatal (the table's report).
void InstallSkin(DllCommandTable& dllCommands, const CarriedSkin& carried);

// The created event of the main window: it runs inside the window load, after the window and its
// controls exist and before the window is first shown.
void OnMainWindowCreated(DllCommandTable& dllCommands);

}  // namespace zuzar
