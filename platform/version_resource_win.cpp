#include <new>
#include <vector>

#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"

VersionResource::Result Win32VersionResource::ReadFileVersion(const std::string& path) const {
  DWORD ignoredHandle = 0;
  // The whole size: a block above 64 KiB must not be read cut short.
  const std::wstring file = ToWide(path);
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignoredHandle);
  if (size == 0) return {Outcome::NoVersionInfo};
  try {
    std::vector<char> block(size);
    (void)GetFileVersionInfoW(file.c_str(), 0, size, block.data());
    void* value = nullptr;
    UINT valueLength = 0;
    if (!VerQueryValueW(block.data(), L"\\", &value, &valueLength) || !value ||
        valueLength < sizeof(VS_FIXEDFILEINFO)) {
      return {Outcome::NoVersionInfo};
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    return {Outcome::Found, fixed->dwFileVersionMS, fixed->dwFileVersionLS};
  } catch (const std::bad_alloc&) {
    return {Outcome::Failed};
  }
}
