// The fake code page in the Windows-side tests: GBK read by the system.
#include <windows.h>

#include "platform/wide_text_win.h"
#include "tests/fakes/fake_platform.h"

std::string FakeCodePage::ToUtf8(std::string_view bytes) const {
  constexpr UINT kGbk = 936;
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  // What it cannot read becomes U+FFFD, as the system's default does.
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(kGbk, 0, bytes.data(), size, wide.data(), size)));
  return FromWide(wide);
}
