#include "app/embedded_bytes.h"

#include <cstdint>

// Defined by embedded_bytes_data.cpp under these exact assembler names.
extern "C" const uint8_t kSkinLibraryBlock[] asm("zuzar_skin_library_block");
extern "C" const uint8_t kSkinFileBlock[] asm("zuzar_skin_file_block");

namespace zuzar {

ByteBufferView SkinLibraryBytes() { return ByteBufferView(kSkinLibraryBlock); }
ByteBufferView SkinFileBytes() { return ByteBufferView(kSkinFileBlock); }

}  // namespace zuzar
