#include <algorithm>

#include "platform/drive_root.h"
#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"

std::string Win32Files::ProgramFilePath() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return FromWide(path);
    }
    path.resize(path.size() * 2);  // cut short: a long path
  }
}

bool Win32Files::Exists(const std::string& path) const {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DriveKind Win32Files::KindOfDrive(const std::string& path) const {
  if (IsUncPath(path)) return DriveKind::Network;
  const std::optional<std::string> root = DriveLetterRoot(path);
  if (!root) return DriveKind::Other;
  switch (GetDriveTypeW(ToWide(*root).c_str())) {
    case DRIVE_FIXED:
      return DriveKind::Fixed;
    case DRIVE_REMOVABLE:
    case DRIVE_CDROM:
      return DriveKind::Removable;
    case DRIVE_REMOTE:
      return DriveKind::Network;
    default:
      return DriveKind::Other;
  }
}

bool Win32Files::Delete(const std::string& path) {
  return DeleteFileW(ToWide(path).c_str()) != FALSE;
}

bool Win32Files::CopyReplacing(const std::string& from, const std::string& to) {
  return CopyFileW(ToWide(from).c_str(), ToWide(to).c_str(), FALSE) != FALSE;
}

bool Win32Files::MoveReplacing(const std::string& from, const std::string& to) {
  return MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

namespace {

class Win32HeldFile : public Files::HeldFile {
 public:
  explicit Win32HeldFile(UniqueFile file) : file_(std::move(file)) {}

 private:
  UniqueFile file_;
};

}  // namespace

std::unique_ptr<Files::HeldFile> Win32Files::Hold(const std::string& path) {
  UniqueFile file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32HeldFile>(std::move(file));
}

std::optional<std::string> Win32Files::ReadPrefix(const std::string& path,
                                                  std::size_t maxBytes) const {
  const UniqueFile file(CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes(maxBytes, '\0');
  std::size_t filled = 0;
  while (filled < maxBytes) {
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(maxBytes - filled, 1 << 20));
    if (!ReadFile(file.Get(), bytes.data() + filled, wanted, &read, nullptr)) return std::nullopt;
    if (read == 0) break;
    filled += read;
  }
  bytes.resize(filled);
  return bytes;
}
