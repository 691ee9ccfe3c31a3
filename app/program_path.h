#pragma once
// The program's own directory, taken from the full path of its executable.

#include <string>
#include <string_view>

namespace zuzar {

struct ProgramPath {
  std::string directory;               // without a trailing backslash; empty when there is none
  std::string directoryWithBackslash;  // the full path cut after its last backslash
  std::string fileName;                // everything after the last backslash
};

// Splits at the last backslash. With none, the directory is empty and the whole path is the name.
// A drive root keeps its form: "C:\zuzar.exe" gives "C:" and "C:\".
ProgramPath SplitProgramPath(std::string_view fullPath);

}  // namespace zuzar
