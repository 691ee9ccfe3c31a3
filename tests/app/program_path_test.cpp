#include "app/program_path.h"

#include <gtest/gtest.h>

namespace zuzar {
namespace {

TEST(SplitProgramPath, CutsAtTheLastBackslash) {
  struct Case {
    const char* path;
    const char* directory;
    const char* withBackslash;
    const char* name;
  };
  const Case cases[] = {
      {"C:\\Program Files\\zuzar\\zuzar.exe", "C:\\Program Files\\zuzar", "C:\\Program Files\\zuzar\\", "zuzar.exe"},
      {"C:\\zuzar.exe", "C:", "C:\\", "zuzar.exe"},
      {"\\\\server\\share\\zuzar.exe", "\\\\server\\share", "\\\\server\\share\\", "zuzar.exe"},
      {"zuzar.exe", "", "", "zuzar.exe"},
      {"", "", "", ""},
      {"D:\\工具\\粉碎机.exe", "D:\\工具", "D:\\工具\\", "粉碎机.exe"},
      // 0x5C as the second byte of a two-byte character in the file name is not a separator.
      {"D:\\x\\\x81\x5C.exe", "D:\\x", "D:\\x\\", "\x81\x5C.exe"},
      {"D:\\\x81\x5C\\a.exe", "D:\\\x81\x5C", "D:\\\x81\x5C\\", "a.exe"},
  };
  for (const Case& c : cases) {
    const ProgramPath split = SplitProgramPath(c.path);
    EXPECT_EQ(split.directory, c.directory) << c.path;
    EXPECT_EQ(split.directoryWithBackslash, c.withBackslash) << c.path;
    EXPECT_EQ(split.fileName, c.name) << c.path;
  }
}

}  // namespace
}  // namespace zuzar
