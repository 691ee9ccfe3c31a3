// Times the overwrite that shredding does, on one existing file: overwrite_bench FILE
// Opens FILE as the Open handler does (read and write, nobody else), calls OverwriteWithZeros once
// and prints "bytes=N seconds=S"; the time covers the overwrite and its flush, not the open.

#include <chrono>
#include <cstdio>

#include "fileio/file_numbers.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: overwrite_bench FILE\n");
    return 2;
  }
  constexpr int32_t kReadWrite = 3;
  constexpr int32_t kShareNothing = 4;
  const zuzar::FileNumber file = zuzar::OpenFile(argv[1], kReadWrite, kShareNothing);
  if (file == 0) {
    std::fprintf(stderr, "overwrite_bench: cannot open %s\n", argv[1]);
    return 1;
  }
  const int64_t bytes = zuzar::GetFileLength64(file);
  const auto start = std::chrono::steady_clock::now();
  const bool overwritten = zuzar::OverwriteWithZeros(file, {});
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  zuzar::CloseFile(file);
  if (!overwritten) {
    std::fprintf(stderr, "overwrite_bench: the overwrite of %s failed\n", argv[1]);
    return 1;
  }
  std::printf("bytes=%lld seconds=%.6f\n", static_cast<long long>(bytes), elapsed.count());
  return 0;
}
