#include "platform/run_at_logon_win.h"

#include <windows.h>

#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

std::optional<std::string> Win32RunAtLogon::Read(const std::string& name) const {
  const std::wstring valueName = ToWide(name);
  // A text value, its variables expanded as the shell expands them at logon.
  // It may grow between asking its size and reading it: then again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD bytes = 0;
    LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, kRunKey, valueName.c_str(), RRF_RT_REG_SZ,
                                  nullptr, nullptr, &bytes);
    if (status != ERROR_SUCCESS) return std::nullopt;
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    status = RegGetValueW(HKEY_CURRENT_USER, kRunKey, valueName.c_str(), RRF_RT_REG_SZ, nullptr,
                          text.data(), &bytes);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return std::nullopt;
    text.resize(wcsnlen(text.c_str(), text.size()));
    return FromWide(text);
  }
  return std::nullopt;
}

bool Win32RunAtLogon::Write(const std::string& name, const std::string& command) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const UniqueRegistryKey key(opened);
  const std::wstring text = ToWide(command);
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key.Get(), ToWide(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

bool Win32RunAtLogon::Remove(const std::string& name) {
  HKEY opened = nullptr;
  const LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &opened);
  if (status == ERROR_FILE_NOT_FOUND) return true;
  if (status != ERROR_SUCCESS) return false;
  const UniqueRegistryKey key(opened);
  const LSTATUS deleted = RegDeleteValueW(key.Get(), ToWide(name).c_str());
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}
