#include "fileio/file_system.h"

#include <memory>
#include <new>

#include "fileio/file_object.h"

namespace zuzar {

// Opened as OpenFile's mode 4 (create or empty, write only) with share 4 (nobody else meanwhile).
bool WriteToFile(const char* path, std::initializer_list<ByteBufferView> buffers) {
  if (!path || path[0] == '\0') return false;
  std::unique_ptr<FileObject> file;
  try {
    file = OpenDiskFile(path, 4, 4);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!file) return false;
  try {
    for (const ByteBufferView& buffer : buffers) {
      if (!buffer.empty()) file->Write(buffer.data(), buffer.size());
    }
    file->Close();
    return true;
  } catch (const FileError&) {
    return false;
  }
}

}  // namespace zuzar
