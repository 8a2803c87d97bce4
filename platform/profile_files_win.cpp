#include "platform/profile_files_win.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>

#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"

namespace {

// Larger writes and reads go in pieces a DWORD can count.
constexpr std::size_t kLargestPiece = 1u << 30;

SystemError Answer(BOOL succeeded) { return succeeded ? kSucceeded : GetLastError(); }

class Win32NewFile : public ProfileFiles::NewFile {
 public:
  explicit Win32NewFile(UniqueFile file) : file_(std::move(file)) {}

  SystemError Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD wanted = static_cast<DWORD>(std::min(bytes.size(), kLargestPiece));
      DWORD written = 0;
      if (!WriteFile(file_.Get(), bytes.data(), wanted, &written, nullptr)) return GetLastError();
      bytes.remove_prefix(written);
    }
    return kSucceeded;
  }

  SystemError Flush() override { return Answer(FlushFileBuffers(file_.Get())); }

 private:
  UniqueFile file_;
};

}  // namespace

std::string Win32ProfileFiles::RoamingAppDataFolder() const {
  // The session's APPDATA names the folder: read before the main window
  // shows, it costs no load of the shell's library. Without it, the shell
  // answers (SHGetFolderPathW rather than SHGetKnownFolderPath: no COM
  // allocator to free its answer with, and no ole32.dll loaded for it).
  std::wstring folder(MAX_PATH, L'\0');
  const DWORD length =
      GetEnvironmentVariableW(L"APPDATA", folder.data(), static_cast<DWORD>(folder.size()));
  if (length > 0 && length < folder.size()) {
    folder.resize(length);
  } else {
    wchar_t path[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
      return {};
    }
    folder = path;
  }
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return FromWide(folder);
}

SystemError Win32ProfileFiles::CreateFolder(const std::string& path) {
  if (CreateDirectoryW(ToWide(path).c_str(), nullptr)) return kSucceeded;
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS) {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return kSucceeded;
    }
  }
  return error;
}

ProfileFiles::Contents Win32ProfileFiles::ReadWhole(const std::string& path,
                                                    std::size_t maxBytes) const {
  const UniqueFile file(CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      return {Contents::Outcome::Missing, {}, error};
    }
    return {Contents::Outcome::Failed, {}, error};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) return {Contents::Outcome::Failed, {}, GetLastError()};
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    return {Contents::Outcome::TooLarge, {}, kSucceeded};
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(std::min(bytes.size() - filled, kLargestPiece));
    if (!ReadFile(file.Get(), bytes.data() + filled, wanted, &read, nullptr)) {
      return {Contents::Outcome::Failed, {}, GetLastError()};
    }
    if (read == 0) break;  // cut short since its size was read
    filled += read;
  }
  bytes.resize(filled);
  return {Contents::Outcome::Read, std::move(bytes), kSucceeded};
}

ProfileFiles::Created Win32ProfileFiles::Create(const std::string& path) {
  UniqueFile file(CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {GetLastError(), nullptr};
  return {kSucceeded, std::make_unique<Win32NewFile>(std::move(file))};
}

SystemError Win32ProfileFiles::MoveReplacing(const std::string& from, const std::string& to) {
  return Answer(MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

SystemError Win32ProfileFiles::MoveToNewName(const std::string& from, const std::string& to) {
  return Answer(MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), MOVEFILE_WRITE_THROUGH));
}

bool Win32ProfileFiles::Exists(const std::string& path) const {
  return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

SystemError Win32ProfileFiles::Delete(const std::string& path) {
  return Answer(DeleteFileW(ToWide(path).c_str()));
}
