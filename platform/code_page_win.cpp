#include <string>

#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"

bool Win32CodePage::IsLeadByte(unsigned char byte) const { return IsDBCSLeadByte(byte) != FALSE; }

std::string Win32CodePage::ToUtf8(std::string_view bytes) const {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
  return FromWide(wide);
}
