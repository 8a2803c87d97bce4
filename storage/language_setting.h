#pragma once

#include <string_view>

#include "language/language.h"

// The user's language choice in the settings file ("language=auto", "zh" or "en"): the tray's
// language menu writes it; the program and dusk-cli read it at start.
inline constexpr char kLanguageKey[] = "language";

// The choice a settings file's text holds: automatic where it holds none, one this version does
// not know, or no settings at all (a damaged file speaks no language).
[[nodiscard]] LanguageChoice LanguageChoiceInSettings(std::string_view settingsText);
