#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// The settings file's place and its text, apart from the reading and writing of it
// (SettingsFile): dusk-cli reads the language choice by these alone.

// The settings file in the folder of the program's files (TaskListFolder).
[[nodiscard]] inline std::string SettingsFilePath(const std::string& folder) {
  return folder + "\\settings.txt";
}
// A few choices fill a few hundred bytes: more than this is no settings file of ours.
inline constexpr std::size_t kSettingsMaxBytes = 64u << 10;

// A key of a setting: lower-case letters, digits, '-' and '.'.
[[nodiscard]] bool IsSettingKey(std::string_view key);

// The settings in a file's text, or none when the text is no settings file of ours.
[[nodiscard]] std::optional<std::map<std::string, std::string, std::less<>>> ParseSettings(
    std::string_view text);
[[nodiscard]] std::string WriteSettings(
    const std::map<std::string, std::string, std::less<>>& values);
