#include "fileio/file_registry.h"

#include <utility>

namespace zuzar {

int32_t FileRegistry::Validate(FileNumber number) const {
  const int64_t index = IndexOf(number);
  return index < 0 ? -1 : static_cast<int32_t>(kinds_[index]);
}

FileObject* FileRegistry::Find(FileNumber number) const {
  const int64_t index = IndexOf(number);
  return index < 0 ? nullptr : files_[index].get();
}

FileNumber FileRegistry::Register(std::unique_ptr<FileObject> file, FileKind kind) {
  numbers_.reserve(numbers_.size() + 1);
  kinds_.reserve(kinds_.size() + 1);
  files_.reserve(files_.size() + 1);
  const FileNumber number = NextFreeNumber();
  numbers_.push_back(number);
  kinds_.push_back(kind);
  files_.push_back(std::move(file));
  return number;
}

std::unique_ptr<FileObject> FileRegistry::Unregister(FileNumber number) {
  const int64_t index = IndexOf(number);
  if (index < 0) return nullptr;
  std::unique_ptr<FileObject> file = std::move(files_[index]);
  numbers_.erase(numbers_.begin() + index);
  kinds_.erase(kinds_.begin() + index);
  files_.erase(files_.begin() + index);
  return file;
}

void FileRegistry::CloseAll() {
  for (auto& file : files_) {
    try {
      file->Close();
    } catch (const FileError&) {
    }
    file.reset();
  }
  numbers_.clear();
  kinds_.clear();
  files_.clear();
}

int64_t FileRegistry::IndexOf(FileNumber number) const {
  if (number <= 0) return -1;
  for (size_t i = 0; i < numbers_.size(); ++i) {
    if (numbers_[i] == number) return static_cast<int64_t>(i);
  }
  return -1;
}

// Numbers count up from 1, skip any still open and wrap after INT32_MAX. An object's address
// would not fit 32 bits on a 64-bit build; a counter also keeps a closed number from naming the
// very next file opened, so a stale number meets "not registered" instead of another file.
FileNumber FileRegistry::NextFreeNumber() {
  do {
    lastNumber_ = lastNumber_ == INT32_MAX ? 1 : lastNumber_ + 1;
  } while (IndexOf(lastNumber_) >= 0);
  return lastNumber_;
}

FileRegistry& TheFileRegistry() {
  static FileRegistry registry;
  return registry;
}

}  // namespace zuzar
