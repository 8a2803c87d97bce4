// The fake code page on the host: GBK read by iconv.
#include <iconv.h>

#include <cerrno>

#include "tests/fakes/fake_platform.h"

std::string FakeCodePage::ToUtf8(std::string_view bytes) const {
  const iconv_t converter = iconv_open("UTF-8", "GBK");
  std::string in(bytes);
  std::string text;
  char* from = in.data();
  std::size_t left = in.size();
  while (left > 0) {
    char out[256];
    char* to = out;
    std::size_t room = sizeof out;
    const std::size_t converted = iconv(converter, &from, &left, &to, &room);
    text.append(out, static_cast<std::size_t>(to - out));
    if (converted == static_cast<std::size_t>(-1) && errno != E2BIG) {
      text += "\xEF\xBF\xBD";  // a byte it cannot read
      ++from;
      --left;
    }
  }
  iconv_close(converter);
  return text;
}
