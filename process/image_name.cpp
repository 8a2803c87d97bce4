#include "process/image_name.h"

namespace {

unsigned char AsciiUpper(unsigned char byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

}  // namespace

std::string_view FileNamePart(std::string_view exeFile) {
  const std::size_t separator = exeFile.find_last_of("\\:");
  return separator == std::string_view::npos ? exeFile : exeFile.substr(separator + 1);
}

std::string_view DirectoryPart(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\/:");
  return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator + 1);
}

bool SameImageName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(static_cast<unsigned char>(a[i])) !=
        AsciiUpper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool ImageNameMatches(std::string_view exeFile, std::string_view name) {
  return SameImageName(FileNamePart(exeFile), name) || SameImageName(exeFile, name);
}
