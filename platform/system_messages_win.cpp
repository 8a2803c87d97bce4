#include <windows.h>

#include <string>

#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"

std::string Win32SystemMessages::Describe(SystemError error) const {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length == 0 || !text) return std::to_string(error);
  std::wstring message(text, length);
  LocalFree(text);
  while (!message.empty() &&
         (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.pop_back();
  }
  return FromWide(message);
}
