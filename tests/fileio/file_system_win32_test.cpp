// What only Windows (here: Wine) can show: share modes against other callers, attribute bits,
// drive roots and huge files.

#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <string>

#include "fileio/file_numbers.h"
#include "fileio/file_system.h"
#include "tests/fileio/scratch_dir.h"

namespace zuzar {
namespace test {

bool MakeSparseFile(const std::string& path, int64_t size) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD ignored = 0;
  // Without the sparse flag NTFS would reserve the space; ext4 under Wine is sparse anyway.
  DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
  LARGE_INTEGER end;
  end.QuadPart = size;
  const bool made = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  return made;
}

}  // namespace test

namespace {

using test::Bytes;

bool RunsUnderWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

class FileSystemWin32Test : public test::ScratchDir {
 protected:
  void TearDown() override {
    // Read-only, hidden or system bits would stop the scratch directory's removal.
    for (const auto& entry : std::filesystem::directory_iterator(Dir())) {
      SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    ScratchDir::TearDown();
  }
};

TEST_F(FileSystemWin32Test, ExclusiveOpenHoldsAgainstEveryOtherCaller) {
  const std::string path = MakeFile("held", "secret");
  const FileNumber held = OpenFile(path.c_str(), std::nullopt, 4);
  ASSERT_NE(held, 0);
  const DWORD shares[] = {0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE};
  for (DWORD share : shares) {
    const HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE) << "share " << share;
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
  }
  EXPECT_FALSE(DeleteFileA(path.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(MoveFileA(path.c_str(), Path("moved").c_str()));
  CloseFile(held);
  EXPECT_EQ(ContentOf(path), "secret");
}

// Wine shows every regular file as archive, whatever was set; Windows shows exactly the bits set.
DWORD AttributesShown(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return RunsUnderWine() ? attributes & ~FILE_ATTRIBUTE_ARCHIVE : attributes;
}

TEST_F(FileSystemWin32Test, SetFileAttrsKeepsOnlyTheFourAttributeBits) {
  const std::string path = MakeFile("f", "x");
  ASSERT_TRUE(SetFileAttrs(path.c_str(), 6 + 64 + 128));
  EXPECT_EQ(AttributesShown(path),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(SetFileAttrs(path.c_str(), 1));
  EXPECT_EQ(AttributesShown(path), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

// Windows refuses a create-always open with normal attributes on a hidden or system file, so
// the files written at start are kept on later starts. Wine lets the open succeed and replaces
// the content; there the test checks that the attributes survive.
TEST_F(FileSystemWin32Test, WriteToFileOnAHiddenSystemFile) {
  const std::string path = MakeFile("skin", "first");
  ASSERT_TRUE(SetFileAttrs(path.c_str(), 6));
  const bool written = WriteToFile(path.c_str(), {Bytes("second")});
  const DWORD attributes = GetFileAttributesA(path.c_str());
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_SYSTEM);
  if (RunsUnderWine()) {
    EXPECT_TRUE(written);
    EXPECT_EQ(ContentOf(path), "second");
  } else {
    EXPECT_FALSE(written);
    EXPECT_EQ(ContentOf(path), "first");
  }
}

TEST(CurrentDirWin32Test, ADriveRootEndsInABackslash) {
  char saved[MAX_PATH];
  ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, saved), 0u);
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
  const Text root = GetCurrentDir();
  SetCurrentDirectoryA(saved);
  EXPECT_EQ(root.view(), "C:\\");
}

}  // namespace
}  // namespace zuzar
