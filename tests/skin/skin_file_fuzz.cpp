// libFuzzer target for the skin reader: any bytes must give a skin or a refusal, never a read out
// of bounds or undefined behaviour. Each input is also tried with its size and checksum made to
// fit, so that the fuzzer reaches the section table and the sections behind the header checks.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/skin_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zuzar::skin;
  const ReadResult asGiven = ReadSkin(data, size, "");
  if (asGiven.skin.has_value() == (asGiven.error != ReadError::None)) __builtin_trap();
  std::vector<uint8_t> sealed(data, data + size);
  SealSkinFile(sealed);
  const ReadResult read = ReadSkin(sealed.data(), sealed.size(), "pw");
  if (read.skin.has_value() == (read.error != ReadError::None)) __builtin_trap();
  if (read.skin && read.skin->closeGlyph) {
    const AlphaMask& glyph = *read.skin->closeGlyph;
    if (glyph.alpha.size() != static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height)) __builtin_trap();
  }
  return 0;
}
