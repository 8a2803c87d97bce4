#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "language/text_id.h"

// The languages the program speaks.
enum class Language : std::uint8_t { Chinese, English };
inline constexpr std::array kLanguages{Language::Chinese, Language::English};

// What the user chose in the language menu: follow Windows, or one language.
enum class LanguageChoice : std::uint8_t { Automatic, Chinese, English };

// The language of the program's texts for a Windows display language (a LANGID):
// Chinese for every Chinese, English for every other.
[[nodiscard]] Language LanguageForDisplayLanguage(std::uint16_t langId);
[[nodiscard]] Language LanguageFor(LanguageChoice choice, std::uint16_t displayLangId);

// The choice as the settings file keeps it ("auto", "zh", "en"), and back.
[[nodiscard]] std::string_view LanguageChoiceName(LanguageChoice choice);
[[nodiscard]] std::optional<LanguageChoice> LanguageChoiceNamed(std::string_view name);

// The language every text comes in from now on. The program sets it once at
// start and again when the user chooses another; the windows then show their
// texts again.
void SetActiveLanguage(Language language);
[[nodiscard]] Language ActiveLanguage();

// A text in the active language, or in the one given.
[[nodiscard]] std::string_view Text(TextId id);
[[nodiscard]] std::string_view TextIn(Language language, TextId id);

// The text with "{0}", "{1}", ... replaced by the values in that order.
[[nodiscard]] std::string FormatText(TextId id, std::initializer_list<std::string_view> values);
[[nodiscard]] std::string FillPlaceholders(std::string_view pattern,
                                           std::initializer_list<std::string_view> values);
