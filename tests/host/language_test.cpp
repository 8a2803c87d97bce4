#include "language/language.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "language/text_table.h"

namespace {

const TextTable& TableOf(Language language) {
  return language == Language::English ? kEnglishTexts : kChineseTexts;
}

std::set<std::string> PlaceholdersIn(std::string_view text) {
  std::set<std::string> found;
  for (std::size_t at = text.find('{'); at != std::string_view::npos; at = text.find('{', at + 1)) {
    const std::size_t end = text.find('}', at);
    if (end != std::string_view::npos) found.emplace(text.substr(at, end - at + 1));
  }
  return found;
}

TEST(LanguageTables, EveryNameHasATextInEveryLanguage) {
  for (const Language language : kLanguages) {
    for (std::size_t id = 0; id < kTextCount; ++id) {
      SCOPED_TRACE("language " + std::to_string(static_cast<int>(language)) + ", text " +
                   std::to_string(id));
      EXPECT_FALSE(TableOf(language)[id].empty());
    }
  }
}

TEST(LanguageTables, EveryLanguageTakesTheSameValues) {
  for (std::size_t id = 0; id < kTextCount; ++id) {
    SCOPED_TRACE("text " + std::to_string(id) + ": " + std::string(kChineseTexts[id]));
    EXPECT_EQ(PlaceholdersIn(kChineseTexts[id]), PlaceholdersIn(kEnglishTexts[id]));
  }
}

TEST(LanguageTables, NoEnglishTextHoldsAChineseCharacter) {
  // The language menu names the languages in their own words on purpose.
  const std::set<TextId> namedInBoth = {TextId::LanguageMenu, TextId::LanguageChinese};
  for (std::size_t id = 0; id < kTextCount; ++id) {
    if (namedInBoth.contains(static_cast<TextId>(id))) continue;
    SCOPED_TRACE("text " + std::to_string(id) + ": " + std::string(kEnglishTexts[id]));
    // Every CJK ideograph and full-width form starts with a lead byte E3 to EF in UTF-8.
    for (const char c : kEnglishTexts[id]) {
      EXPECT_FALSE(static_cast<unsigned char>(c) >= 0xe3 && static_cast<unsigned char>(c) <= 0xef);
    }
  }
}

TEST(Language, FollowsTheDisplayLanguageUnlessChosen) {
  struct Case {
    std::uint16_t langId;
    LanguageChoice choice;
    Language expected;
  } const cases[] = {
      {0x0804, LanguageChoice::Automatic, Language::Chinese},  // zh-CN
      {0x1004, LanguageChoice::Automatic, Language::Chinese},  // zh-SG
      {0x0404, LanguageChoice::Automatic, Language::Chinese},  // zh-TW
      {0x0c04, LanguageChoice::Automatic, Language::Chinese},  // zh-HK
      {0x1404, LanguageChoice::Automatic, Language::Chinese},  // zh-MO
      {0x0409, LanguageChoice::Automatic, Language::English},  // en-US
      {0x0411, LanguageChoice::Automatic, Language::English},  // ja-JP
      {0x0407, LanguageChoice::Automatic, Language::English},  // de-DE
      {0x0409, LanguageChoice::Chinese, Language::Chinese},
      {0x0804, LanguageChoice::English, Language::English},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.langId);
    EXPECT_EQ(LanguageFor(c.choice, c.langId), c.expected);
  }
}

TEST(Language, TheChoiceIsKeptByName) {
  for (const LanguageChoice choice :
       {LanguageChoice::Automatic, LanguageChoice::Chinese, LanguageChoice::English}) {
    EXPECT_EQ(LanguageChoiceNamed(LanguageChoiceName(choice)), choice);
  }
  EXPECT_EQ(LanguageChoiceNamed("fr"), std::nullopt);
  EXPECT_EQ(LanguageChoiceNamed(""), std::nullopt);
}

TEST(Language, PlaceholdersTakeTheirValuesInTheLanguagesOrder) {
  EXPECT_EQ(FillPlaceholders("{0}{1}。", {"29秒后", "关机"}), "29秒后关机。");
  EXPECT_EQ(FillPlaceholders("{1} in {0}.", {"29 s", "Shutdown"}), "Shutdown in 29 s.");
  EXPECT_EQ(FillPlaceholders("{0} and {0}", {"a"}), "a and a");
  // A brace that is no placeholder, and a value the text does not take, stay as they are.
  EXPECT_EQ(FillPlaceholders("{x} {5}", {"a"}), "{x} ");
  EXPECT_EQ(FillPlaceholders("tail {", {}), "tail {");
}

TEST(Language, TextsComeInTheActiveLanguage) {
  SetActiveLanguage(Language::English);
  EXPECT_EQ(Text(TextId::LanguageEnglish), "English");
  EXPECT_EQ(Text(TextId::AppTitle), TextIn(Language::English, TextId::AppTitle));
  SetActiveLanguage(Language::Chinese);
  EXPECT_EQ(Text(TextId::AppTitle), "Lumo定时关机");
}

}  // namespace
