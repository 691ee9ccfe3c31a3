#pragma once
// The skin file the build generated, and small tools to take valid files apart.

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "skin/skin_file.h"

namespace zuzar::skin::testing {

// The build tree is a Unix path; a Windows test reaches it through Wine's drive Z:.
inline std::string HostPath(std::string path) {
#if defined(_WIN32)
  if (!path.empty() && path[0] == '/') path.insert(0, "Z:");
#endif
  return path;
}

// The name in the file system's encoding: UTF-8 on Linux, the ANSI code page (GBK) under Wine.
inline std::string SkinFilePath() {
#if defined(_WIN32)
  return HostPath(ZUZAR_SKIN_DIR) + "/皮肤.she";
#else
  return std::string(ZUZAR_SKIN_DIR) + reinterpret_cast<const char*>(u8"/皮肤.she");
#endif
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<uint8_t> GeneratedSkin() { return ReadBytes(SkinFilePath()); }

inline uint32_t Get32(const std::vector<uint8_t>& file, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(file.at(offset + i)) << (8 * i);
  return value;
}

inline void Put16(std::vector<uint8_t>& file, size_t offset, uint16_t value) {
  file.at(offset) = static_cast<uint8_t>(value);
  file.at(offset + 1) = static_cast<uint8_t>(value >> 8);
}

inline void Put32(std::vector<uint8_t>& file, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) file.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

inline void Put64(std::vector<uint8_t>& file, size_t offset, uint64_t value) {
  Put32(file, offset, static_cast<uint32_t>(value));
  Put32(file, offset + 4, static_cast<uint32_t>(value >> 32));
}

// Where the section table entry with this tag lies (0 when there is none).
inline size_t SectionEntry(const std::vector<uint8_t>& file, std::string_view tag) {
  const size_t count = file.at(layout::kSectionCount) | file.at(layout::kSectionCount + 1) << 8;
  for (size_t i = 0; i < count; ++i) {
    const size_t entry = layout::kHeaderSize + i * layout::kSectionEntrySize;
    if (std::memcmp(&file.at(entry), tag.data(), 4) == 0) return entry;
  }
  return 0;
}

inline size_t SectionStart(const std::vector<uint8_t>& file, std::string_view tag) {
  return Get32(file, SectionEntry(file, tag) + 4);
}

inline std::vector<uint8_t> Protected(std::vector<uint8_t> file, std::string_view password) {
  Put32(file, layout::kFlags, layout::kPasswordFlag);
  Put64(file, layout::kPasswordHash, PasswordHash(password));
  SealSkinFile(file);
  return file;
}

}  // namespace zuzar::skin::testing
