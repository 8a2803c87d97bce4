#include "language/language.h"

#include "language/text_table.h"

namespace {

Language activeLanguage = Language::Chinese;

constexpr std::uint16_t kPrimaryLanguageMask = 0x3ff;
constexpr std::uint16_t kChinesePrimaryLanguage = 0x04;

const TextTable& TableOf(Language language) {
  return language == Language::English ? kEnglishTexts : kChineseTexts;
}

}  // namespace

Language LanguageForDisplayLanguage(std::uint16_t langId) {
  // zh-CN and zh-SG read the Chinese table, and so do zh-TW, zh-HK and zh-MO
  // until a table in traditional characters stands beside it.
  return (langId & kPrimaryLanguageMask) == kChinesePrimaryLanguage ? Language::Chinese
                                                                    : Language::English;
}

Language LanguageFor(LanguageChoice choice, std::uint16_t displayLangId) {
  switch (choice) {
    case LanguageChoice::Chinese:
      return Language::Chinese;
    case LanguageChoice::English:
      return Language::English;
    case LanguageChoice::Automatic:
      break;
  }
  return LanguageForDisplayLanguage(displayLangId);
}

std::string_view LanguageChoiceName(LanguageChoice choice) {
  switch (choice) {
    case LanguageChoice::Chinese:
      return "zh";
    case LanguageChoice::English:
      return "en";
    case LanguageChoice::Automatic:
      break;
  }
  return "auto";
}

std::optional<LanguageChoice> LanguageChoiceNamed(std::string_view name) {
  for (const LanguageChoice choice :
       {LanguageChoice::Automatic, LanguageChoice::Chinese, LanguageChoice::English}) {
    if (LanguageChoiceName(choice) == name) return choice;
  }
  return std::nullopt;
}

void SetActiveLanguage(Language language) { activeLanguage = language; }

Language ActiveLanguage() { return activeLanguage; }

std::string_view Text(TextId id) { return TextIn(activeLanguage, id); }

std::string_view TextIn(Language language, TextId id) {
  return TableOf(language)[static_cast<std::size_t>(id)];
}

std::string FormatText(TextId id, std::initializer_list<std::string_view> values) {
  return FillPlaceholders(Text(id), values);
}

std::string FillPlaceholders(std::string_view pattern,
                             std::initializer_list<std::string_view> values) {
  std::string text;
  text.reserve(pattern.size() + 16);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const bool placeholder = pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 1] >= '0' &&
                             pattern[i + 1] <= '9' && pattern[i + 2] == '}';
    if (!placeholder) {
      text += pattern[i];
      continue;
    }
    const auto index = static_cast<std::size_t>(pattern[i + 1] - '0');
    if (index < values.size()) text += values.begin()[index];
    i += 2;
  }
  return text;
}
