#include "app/program_path.h"

#include "text/text.h"

namespace zuzar {

// The search walks GBK characters: a file name may hold a two-byte character whose second byte is
// 0x5C, and that byte is not a separator.
ProgramPath SplitProgramPath(std::string_view fullPath) {
  const int32_t position = FindTextReverse(fullPath, "\\", std::nullopt, false);
  if (position < 1) {
    return ProgramPath{std::string(), std::string(), std::string(fullPath)};
  }
  const size_t slash = static_cast<size_t>(position - 1);
  return ProgramPath{std::string(fullPath.substr(0, slash)), std::string(fullPath.substr(0, slash + 1)),
                     std::string(fullPath.substr(slash + 1))};
}

}  // namespace zuzar
