#include "storage/language_setting.h"

#include <gtest/gtest.h>

// The language choice dusk-cli and the program read from the settings file.
TEST(LanguageSetting, TheSettingsFileNamesTheChoiceOrLeavesItAutomatic) {
  static const struct {
    const char* name;
    std::string_view text;
    LanguageChoice choice;
  } kCases[] = {
      {"English", "# Dusk settings\r\nlanguage=en\r\n", LanguageChoice::English},
      {"Chinese among others", "a=1\nlanguage=zh\nz=2\n", LanguageChoice::Chinese},
      {"automatic", "language=auto\r\n", LanguageChoice::Automatic},
      {"no file", "", LanguageChoice::Automatic},
      {"no choice", "shutdown-method=force\r\n", LanguageChoice::Automatic},
      {"a language this version does not speak", "language=fr\r\n", LanguageChoice::Automatic},
      {"a name in other letters", "language=EN\r\n", LanguageChoice::Automatic},
      {"a damaged file", "language=en\r\nno setting\r\n", LanguageChoice::Automatic},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LanguageChoiceInSettings(c.text), c.choice);
  }
}
