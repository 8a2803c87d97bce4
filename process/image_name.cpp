#include "process/image_name.h"

namespace {

unsigned char AsciiUpper(unsigned char byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}


// Where the file-name part of a path starts: after the last separator byte
// that is not the second byte of a double-byte character.
std::size_t FileNameStart(std::string_view path, std::string_view separators,
                          const CodePage& codePage) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size();) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (codePage.IsLeadByte(byte) && i + 1 < path.size()) {
      i += 2;  // "\" (0x5C) is a common second byte in GBK
      continue;
    }
    if (separators.find(path[i]) != std::string_view::npos) start = i + 1;
    ++i;
  }
  return start;
}

}  // namespace

std::string_view FileNamePart(std::string_view exeFile, const CodePage& codePage) {
  return exeFile.substr(FileNameStart(exeFile, "\\:", codePage));
}

std::string_view DirectoryPart(std::string_view path, const CodePage& codePage) {
  return path.substr(0, FileNameStart(path, "\\/:", codePage));
}

bool SameImageName(std::string_view a, std::string_view b, const CodePage& codePage) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    // Second bytes run from 0x40 and take in the ASCII letters: never fold them.
    if (codePage.IsLeadByte(x) && i + 1 < a.size()) {
      if (x != y || a[i + 1] != b[i + 1]) return false;
      i += 2;
      continue;
    }
    if (AsciiUpper(x) != AsciiUpper(y)) return false;
    ++i;
  }
  return true;
}

bool ImageNameMatches(std::string_view exeFile, std::string_view name, const CodePage& codePage) {
  return SameImageName(FileNamePart(exeFile, codePage), name, codePage) ||
         SameImageName(exeFile, name, codePage);
}
