#include "storage/language_setting.h"

#include "storage/settings_text.h"

LanguageChoice LanguageChoiceInSettings(std::string_view settingsText) {
  const auto settings = ParseSettings(settingsText);
  if (!settings) return LanguageChoice::Automatic;
  const auto value = settings->find(std::string_view(kLanguageKey));
  if (value == settings->end()) return LanguageChoice::Automatic;
  return LanguageChoiceNamed(value->second).value_or(LanguageChoice::Automatic);
}
