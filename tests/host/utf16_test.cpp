#include "platform/utf16.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  const char* what;
  std::string utf8;
  std::u16string utf16;
};

}  // namespace

TEST(Utf16, ConvertsBothWaysWithoutLoss) {
  const Case kCases[] = {
      {"empty", "", u""},
      {"ASCII", "Dusk.exe /tray", u"Dusk.exe /tray"},
      {"CJK", "\xE4\xB8\x8B\xE8\xBD\xBD\xE5\x99\xA8.exe", u"\u4E0B\u8F7D\u5668.exe"},
      {"a surrogate pair", "a\xF0\x9F\x98\x80z", u"a\U0001F600z"},
      {"the last code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"a NUL inside", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
  }
}

TEST(Utf16, ReplacesWhatIsNotValidInsteadOfDroppingIt) {
  const Case kCases[] = {
      {"a stray continuation byte", "a\x80z", u"a\uFFFDz"},
      {"a lead byte no character has", "\xFF\xC0", u"\uFFFD\uFFFD"},
      {"an overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"an overlong three-byte form", "\xE0\x80\xAF", u"\uFFFD"},
      {"a surrogate written in UTF-8", "\xED\xA0\x80", u"\uFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
      {"a character cut short", "\xE4\xB8", u"\uFFFD"},
      {"cut short before ASCII", "\xE4\xB8z", u"\uFFFDz"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
  }
  // Lone surrogates from the system's side.
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', char16_t(0xD800), u'z'}), "a\xEF\xBF\xBDz");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDC00), char16_t(0xD800)}),
            "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Utf16, CutsBetweenCharactersByUtf16Units) {
  struct Cut {
    const char* what;
    std::string text;
    std::size_t maxUnits;
    std::string kept;
  };
  const std::string emoji = "\xF0\x9F\x98\x80";  // two units
  const std::string han = "\xE5\x85\xB3";        // one unit, three bytes
  const Cut kCuts[] = {
      {"fits", "abc", 3, "abc"},
      {"ASCII cut", "abcd", 3, "abc"},
      {"a pair that would be split", std::string(126, 'a') + emoji, 127, std::string(126, 'a')},
      {"a pair that fits", std::string(125, 'a') + emoji, 127, std::string(125, 'a') + emoji},
      {"by units, not bytes", std::string(127, 'a').replace(0, 1, han) + "b", 127,
       han + std::string(126, 'a')},
      {"nothing", "abc", 0, ""},
  };
  for (const Cut& c : kCuts) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CutToUtf16Units(c.text, c.maxUnits), c.kept);
  }
}
