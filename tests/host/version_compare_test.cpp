#include "upgrade/version_compare.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

TEST(SplitByDelimiter, TrimsEveryPieceAndSkipsOnlyEmptyStretches) {
  struct Case {
    const char* text;
    const char* delimiter;
    std::vector<std::string> pieces;
  };
  static const Case kCases[] = {
      {"1.0.1.2", ".", {"1", "0", "1", "2"}},
      {"1. .2", ".", {"1", "", "2"}},
      {".1.2.", ".", {"1", "2"}},
      {"1..0.2.0", ".", {"1", "0", "2", "0"}},
      {" 1 . 0 . 2 . 0 ", ".", {"1", "0", "2", "0"}},
      {"\t1.\r0\x01.2\r\n", ".", {"1", "0", "2"}},  // every byte up to 32 is a blank
      {"1.  .  ", ".", {"1", ""}},                  // the trailing blanks go before cutting
      {"   ", ".", {}},
      {"", ".", {}},
      {"1", ".", {"1"}},
      {"a::b:: ::c::", "::", {"a", "b", "", "c"}},
      {"a::b", ":::", {"a::b"}},
      {" a.b ", "", {"a.b"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" by \"" << c.delimiter << '"');
    std::vector<std::string> pieces{"left over"};
    SplitByDelimiter(c.text, pieces, c.delimiter);
    EXPECT_EQ(pieces, c.pieces);
  }
}

TEST(ParseVersionNumber, ReadsSignedDecimalAndHexadecimalWithin32Bits) {
  struct Case {
    const char* piece;
    std::optional<std::int32_t> number;
  };
  static const Case kCases[] = {
      {"0", 0},
      {"07", 7},
      {"10", 10},
      {"  12", 12},
      {"+3", 3},
      {"-3", -3},
      {"$1F", 31},
      {"x1f", 31},
      {"X1F", 31},
      {"0x1F", 31},
      {"0X1f", 31},
      {"$000000000001", 1},
      {"-$1F", -31},
      {"+0x10", 16},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$7FFFFFFF", 2147483647},
      {"-$80000000", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"$80000000", std::nullopt},  // no wrapping round to negative numbers
      {"$FFFFFFFF", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"$G", std::nullopt},
      {"1F", std::nullopt},
      {"00x1", std::nullopt},
      {"$-1", std::nullopt},
      {"--1", std::nullopt},
      {"- 1", std::nullopt},
      {"1 ", std::nullopt},
      {"1 2", std::nullopt},
      {"beta", std::nullopt},
      {"3a", std::nullopt},
      {"\357\273\2771", std::nullopt},  // behind a UTF-8 byte-order mark
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << '"' << c.piece << '"');
    EXPECT_EQ(ParseVersionNumber(c.piece), c.number);
  }
}

TEST(IsNewerVersion, ComparesPieceByPieceAsNumbers) {
  struct Case {
    const char* current;
    const char* other;
    bool newer;
  };
  static const Case kCases[] = {
      {"1.0.1.2", "1.0.1.10", true},
      {"1.0.1.2", "1.0.1.02", false},
      {"1.0.1.2", "1.0.1.2", false},
      {"1.0.1.2", "1.0.2", false},
      {"1.0.1.2", "1.0.1.2.0", false},
      {"1.0.1.2", "2.0.0.0", true},
      {"1.0.1.2", "0.9.9.9", false},
      {"1.0.1.2", " 1 . 0 . 2 . 0 ", true},
      {"1.0.1.2", "1..0.2.0", true},
      {"1.0.1.2", "2.beta.0.0", true},  // decided before the walk reaches "beta"
      {"1.0.1.2", "1.0.2.x", true},
      {"", "1", false},
      {"", "1.0.2.0", false},
      {"", "", false},
      {"-1", "5", true},
      {"-1", "1.0.2.0", false},
      {"2.10.0.7", "2.9.0.8", false},
      {"1.0.1.2", "1.0.1.+3", true},
      {"1.0.1.2", "1.0.1.-3", false},
      {"1.0.1.2", "1.0.1.$A", true},
      {"1.0.1.10", "1.0.1.0xA", false},
      {"-30", "-$1F", false},
      {"-32", "-$1F", true},
      {"1.0.1.2", "1.0.1.2147483647", true},
      {"-2147483648", "0", true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << '"' << c.current << "\" against \"" << c.other << '"');
    EXPECT_EQ(IsNewerVersion(c.current, c.other), c.newer);
  }
}

TEST(IsNewerVersion, APieceThatIsNotANumberOnceReachedIsNeverNewer) {
  struct Case {
    const char* current;
    const char* other;
  };
  static const Case kCases[] = {
      {"1.0.1.2", "1.0.beta.0"},
      {"1.0.1.2", "1.0.1.3a"},
      {"1.0.1.2", "1.0. .3"},  // the blanks leave an empty piece
      {"1.0.1.2", "1.0.1.2147483648"},
      {"1.0.1.2", "1.0.1.$80000000"},
      {"1.0.1.2", "\357\273\2772.0.0.0"},  // behind a UTF-8 byte-order mark
      {"1.x.1.2", "1.0.2.0"},              // our own version unreadable at the deciding piece
      {"1.0.1.2", "1.0.1.99999999999"},
      {"-5", "$FFFFFFFF"},  // not -1 by wrapping
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << '"' << c.current << "\" against \"" << c.other << '"');
    EXPECT_FALSE(IsNewerVersion(c.current, c.other));
  }
}
