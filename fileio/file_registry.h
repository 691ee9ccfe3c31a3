#pragma once
// The program's one registry of open files: numbers and kinds in order of registration, with the
// object each number names. Lookups are linear; the program never has more than a few files open.

#include <cstdint>
#include <memory>
#include <vector>

#include "fileio/file_numbers.h"
#include "fileio/file_object.h"

namespace zuzar {

enum class FileKind : uint8_t { kDisk = 1, kMemory = 2 };

class FileRegistry {
 public:
  // The kind of a registered number, or -1.
  int32_t Validate(FileNumber number) const;
  // The object of a registered number, or null.
  FileObject* Find(FileNumber number) const;
  // Takes the object and gives it a fresh number. May throw std::bad_alloc; then nothing is
  // registered and the object is destroyed.
  FileNumber Register(std::unique_ptr<FileObject> file, FileKind kind);
  // Removes the entry, later entries moving up, and hands the object back; null when the
  // number is not registered.
  std::unique_ptr<FileObject> Unregister(FileNumber number);
  // Closes and destroys every file, first to last, errors ignored; empties the registry.
  void CloseAll();

 private:
  int64_t IndexOf(FileNumber number) const;
  FileNumber NextFreeNumber();

  std::vector<FileNumber> numbers_;
  std::vector<FileKind> kinds_;
  std::vector<std::unique_ptr<FileObject>> files_;
  FileNumber lastNumber_ = 0;
};

FileRegistry& TheFileRegistry();

}  // namespace zuzar
