#include "platform/drive_root.h"

namespace {

constexpr std::string_view kLongPathPrefix = "\\\\?\\";

std::string_view WithoutLongPathPrefix(std::string_view path) {
  if (path.starts_with(kLongPathPrefix)) path.remove_prefix(kLongPathPrefix.size());
  return path;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool IsUncPath(std::string_view path) {
  if (path.starts_with(kLongPathPrefix)) {
    path.remove_prefix(kLongPathPrefix.size());
    return path.size() > 4 && (path[0] == 'U' || path[0] == 'u') &&
           (path[1] == 'N' || path[1] == 'n') && (path[2] == 'C' || path[2] == 'c') &&
           IsSeparator(path[3]);
  }
  // \\.\ names a device, not a share.
  return path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] != '.' &&
         path[2] != '?' && !IsSeparator(path[2]);
}

std::optional<std::string> DriveLetterRoot(std::string_view path) {
  path = WithoutLongPathPrefix(path);
  if (path.size() < 3 || !IsAsciiLetter(path[0]) || path[1] != ':' || !IsSeparator(path[2])) {
    return std::nullopt;
  }
  return std::string(path.substr(0, 2)) + "\\";
}
