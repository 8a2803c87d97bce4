#include "upgrade/base64.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

TEST(Base64, DecodesStandardTextOnly) {
  struct Case {
    std::string_view text;
    std::optional<std::string_view> bytes;
  };
  static const Case kCases[] = {
      // The examples of RFC 4648.
      {""sv, ""sv},
      {"Zg=="sv, "f"sv},
      {"Zm8="sv, "fo"sv},
      {"Zm9v"sv, "foo"sv},
      {"Zm9vYg=="sv, "foob"sv},
      {"Zm9vYmE="sv, "fooba"sv},
      {"Zm9vYmFy"sv, "foobar"sv},
      {"AP8+/w=="sv, "\x00\xFF\x3E\xFF"sv},
      {"+w=="sv, "\xFB"sv},
      {"/w=="sv, "\xFF"sv},
      // Padding: required, in its place, and nothing to spare.
      {"Zg"sv, std::nullopt},
      {"Zg="sv, std::nullopt},
      {"Zg==="sv, std::nullopt},
      {"Zg======"sv, std::nullopt},
      {"Zm9vYg"sv, std::nullopt},
      {"Zg==Zm9v"sv, std::nullopt},
      {"Zm=v"sv, std::nullopt},
      {"===="sv, std::nullopt},
      {"Z==="sv, std::nullopt},
      // Bits past the last byte must be zero, so no two texts give the same bytes.
      {"Zh=="sv, std::nullopt},
      {"Zm9="sv, std::nullopt},
      // Nothing outside the alphabet: no blanks, breaks, other alphabets or bytes.
      {"Zm9v\r\n"sv, std::nullopt},
      {" Zm9v"sv, std::nullopt},
      {"Zm 9v"sv, std::nullopt},
      {"Zm9vYmFy\0"sv, std::nullopt},
      {"-w=="sv, std::nullopt},
      {"_w=="sv, std::nullopt},
      {"Zm9\xFF"sv, std::nullopt},
      {"Zm9v\0\0\0\0"sv, std::nullopt},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
    EXPECT_EQ(DecodeBase64(c.text), c.bytes);
  }
}
