#include "upgrade/version_file.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/fakes/fake_platform.h"

using namespace std::string_view_literals;

namespace {

std::string Printable(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte >= 127) {
      static const char kHex[] = "0123456789ABCDEF";
      text += "\\x";
      text += kHex[byte >> 4];
      text += kHex[byte & 15];
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace

TEST(VersionFile, CutsTheTextIntoTokens) {
  const FakeCodePage codePage;
  struct Case {
    std::string_view bytes;
    std::vector<std::string> tokens;
  };
  static const Case kCases[] = {
      {"1.0.2.0\r\nhttp://h/Dusk.exe\r\n"sv, {"1.0.2.0", "http://h/Dusk.exe"}},
      {"1.0.2.0\nhttp://h/Dusk.exe"sv, {"1.0.2.0", "http://h/Dusk.exe"}},
      {"1.0.2.0\rhttp://h/Dusk.exe\r"sv, {"1.0.2.0", "http://h/Dusk.exe"}},
      {"1.0.2.0 http://h/Dusk.exe"sv, {"1.0.2.0", "http://h/Dusk.exe"}},
      {"1.0.2.0,http://h/Dusk.exe"sv, {"1.0.2.0", "http://h/Dusk.exe"}},
      {"1.0.2.0 , \thttp://h/Dusk.exe"sv, {"1.0.2.0", "http://h/Dusk.exe"}},
      {"  \r\n\r\n1.0.2.0\t\x01\x1Fhttp://h/Dusk.exe  \r\n\r\n"sv,
       {"1.0.2.0", "http://h/Dusk.exe"}},
      {"1.0.2.0,,http://h/Dusk.exe"sv, {"1.0.2.0", "", "http://h/Dusk.exe"}},
      {"1.0.2.0 ,, http://h/Dusk.exe"sv, {"1.0.2.0", "", "http://h/Dusk.exe"}},
      {",1.0.2.0 http://h/Dusk.exe"sv, {"", "1.0.2.0", "http://h/Dusk.exe"}},
      {"1.0.2.0,"sv, {"1.0.2.0"}},  // a comma at the end adds nothing
      {"1.0.2.0 extra tokens"sv, {"1.0.2.0", "extra", "tokens"}},
      {""sv, {}},
      {" \r\n\t "sv, {}},
      // Quoted: separators kept, a doubled quote is one quote.
      {"1.0.2.0 \"http://h/a b,c?q=\"\"x\"\"\""sv, {"1.0.2.0", "http://h/a b,c?q=\"x\""}},
      {"\"\" x"sv, {"", "x"}},
      {"\"a\"b"sv, {"a", "b"}},
      {"a\"b c"sv, {"a\"b", "c"}},  // a quote inside a bare token is ordinary
      // Every line break inside quotes becomes CR LF.
      {"\"a\nb\rc\r\nd\n\re\""sv, {"a\r\nb\r\nc\r\nd\r\n\r\ne"}},
      // A missing closing quote runs to the end, the last line's CR LF included.
      {"1.0.2.0 \"http://h/a b"sv, {"1.0.2.0", "http://h/a b\r\n"}},
      {"1.0.2.0\n\"http://h/a\n\n"sv, {"1.0.2.0", "http://h/a\r\n\r\n"}},
      // Nothing from the first byte 0 on.
      {"1.0.2.0\r\nhttp://h/Dusk.exe\0 2.0.0.0 http://evil/\r\n"sv,
       {"1.0.2.0", "http://h/Dusk.exe"}},
      {"1.0.2.0 \"http://h/a\0b\""sv, {"1.0.2.0", "http://h/a\r\n"}},
      {"\0 1.0.2.0 http://h/"sv, {}},
      // Read in the system's code page (GBK here: 新版本 is D0C2 B0E6 B1BE)
      // and handed on as UTF-8.
      {"1.0.2.0 http://h/\xD0\xC2\xB0\xE6\xB1\xBE.exe"sv, {"1.0.2.0", "http://h/新版本.exe"}},
      {"1.0.2.0 \"http://h/\xD0\xC2 \xB0\xE6\xB1\xBE.exe\""sv, {"1.0.2.0", "http://h/新 版本.exe"}},
      // A UTF-8 byte-order mark is no GBK text: it stays in front, unreadable.
      {"\357\273\2771.0.2.0\r\nhttp://h/"sv, {"锘\uFFFD1.0.2.0", "http://h/"}},
      // A lead byte takes the next byte along, whatever it is; a pair the code
      // page cannot read comes through as U+FFFD.
      {"1.0.2.0 a\x81,b"sv, {"1.0.2.0", "a\uFFFD,b"}},
      {"1.0.2.0 a\x81 b"sv, {"1.0.2.0", "a\uFFFD b"}},
      {"1.0.2.0 a\x81\"b"sv, {"1.0.2.0", "a\uFFFD\"b"}},
      {"1.0.2.0 \"a\x81\" b\""sv, {"1.0.2.0", "a\uFFFD\" b"}},
      {"1.0.2.0 \"a\x81\"\"\"\" b"sv, {"1.0.2.0", "a\uFFFD\"\"", "b"}},
      {"\x81,x"sv, {"\uFFFD,x"}},
      {"\x81\"x\""sv, {"\uFFFD\"x\""}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(Printable(c.bytes));
    EXPECT_EQ(VersionFileTokens(c.bytes, codePage), c.tokens);
  }
}

TEST(VersionFile, LooksNoFurtherThanItsBound) {
  const FakeCodePage codePage;
  const std::string head = "1.0.2.0 ";
  const std::string address = "http://h/Dusk.exe";
  const std::string padding(kVersionFileMaxBytes - head.size() - address.size(), ' ');

  const std::string fits = head + padding + address;
  ASSERT_EQ(fits.size(), kVersionFileMaxBytes);
  EXPECT_EQ(VersionFileTokens(fits + " beyond", codePage),
            (std::vector<std::string>{"1.0.2.0", address}));

  const std::string oneOver = head + " " + padding + address;
  EXPECT_EQ(VersionFileTokens(oneOver, codePage),
            (std::vector<std::string>{"1.0.2.0", "http://h/Dusk.ex"}));

  const std::string quotedOver = head + "\"" + std::string(kVersionFileMaxBytes, 'a') + "\"";
  const std::vector<std::string> tokens = VersionFileTokens(quotedOver, codePage);
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[1], std::string(kVersionFileMaxBytes - head.size() - 1, 'a') + "\r\n");
}

TEST(VersionFile, OffersTheAddressOnlyForANewerVersion) {
  const FakeCodePage codePage;
  struct Case {
    std::string_view bytes;
    const char* appVersion;
    const char* candidate;
  };
  static const Case kCases[] = {
      {"1.0.2.0\r\nhttp://h/Dusk.exe\r\n"sv, "1.0.1.2", "http://h/Dusk.exe"},
      {"1.0.2.0 , http://h/Dusk.exe"sv, "1.0.1.2", "http://h/Dusk.exe"},
      {"1.0.2.0 \"http://h/a b.exe?x=1\""sv, "1.0.1.2", "http://h/a b.exe?x=1"},
      {"1.0.2.0\r\nhttp://h/Dusk.exe\r\n"sv, "1.0.2.0", ""},
      {"1.0.2.0\r\nhttp://h/Dusk.exe\r\n"sv, "1.0.3.0", ""},
      {"1.0.2\r\nhttp://h/Dusk.exe\r\n"sv, "1.0.1.2", ""},
      {"1.0.2.0\r\n"sv, "1.0.1.2", ""},
      {""sv, "1.0.1.2", ""},
      {"1.0.2.0,,http://h/Dusk.exe"sv, "1.0.1.2", ""},
      {"\357\273\2771.0.2.0\r\nhttp://h/Dusk.exe"sv, "1.0.1.2", ""},
      {"1.0.beta.0\r\nhttp://h/Dusk.exe"sv, "1.0.1.2", ""},
      {"1.0.2.0\r\nhttp://h/Dusk.exe"sv, "", ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << Printable(c.bytes) << " for " << c.appVersion);
    EXPECT_EQ(UpdateCandidateFrom(VersionFileTokens(c.bytes, codePage), c.appVersion), c.candidate);
  }
}
