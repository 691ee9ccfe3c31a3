#pragma once
// A fresh directory per test, removed afterwards, and the small helpers the file tests share.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fileio/byte_buffer.h"
#include "fileio/file_numbers.h"

namespace zuzar::test {

inline ByteBuffer Bytes(const std::string& bytes) {
  return ByteBuffer::Copy(reinterpret_cast<const uint8_t*>(bytes.data()),
                          static_cast<int32_t>(bytes.size()));
}

inline std::string AsString(ByteBufferView buffer) {
  if (buffer.empty()) return {};
  return std::string(reinterpret_cast<const char*>(buffer.data()), buffer.size());
}

// `length` bytes of a repeating, position-dependent pattern, so that a moved piece shows.
inline std::string Pattern(int32_t length) {
  std::string bytes(length, '\0');
  for (int32_t i = 0; i < length; ++i) bytes[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
  return bytes;
}

// Everything from the position to the end; moves the position to the end.
inline std::string RestOf(FileNumber file) {
  return AsString(ReadBytes(file, GetFileLength(file) + 1));
}

// Creates `path` with `size` bytes that take no room on the disk; false where the file system
// cannot. Realised per platform.
bool MakeSparseFile(const std::string& path, int64_t size);

class ScratchDir : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    dir_ = std::filesystem::temp_directory_path() /
           ("zuzar-fileio-" + std::to_string(stamp) + "-" + std::to_string(++serial));
    std::filesystem::create_directories(dir_);
  }

  void TearDown() override {
    CloseAllFiles();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Dir() const { return dir_.string(); }

  // A file in the scratch directory with exactly these bytes; returns its path.
  std::string MakeFile(const std::string& name, const std::string& content) const {
    const std::string path = Path(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    return path;
  }

  static std::string ContentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  std::filesystem::path dir_;
};

}  // namespace zuzar::test
