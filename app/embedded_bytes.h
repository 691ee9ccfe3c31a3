#pragma once
// The two files the program carries inside itself, each stored as an EmbeddedBytes block: the
// layout of a ByteBuffer (u32 1, u32 N, the N bytes), so a block is passed unchanged wherever a
// buffer is taken. The build puts them in from the files it has just made: the skin engine of the
// program's own architecture and the skin.

#include "fileio/byte_buffer.h"

namespace zuzar {

// jedata.dll. A build without Windows has no engine to carry: the block is then empty (N = 0).
ByteBufferView SkinLibraryBytes();
// 皮肤.she.
ByteBufferView SkinFileBytes();

}  // namespace zuzar
