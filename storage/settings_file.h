#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/profile_files.h"

// The user's choices that outlive a run (the entry panel's last choices, the
// quick picks of the tray menu), kept beside the saved task list:
//
//   panel.kind=3
//   recent.1=countdown\|45m\|alarm\|喝水
//
// one "key=value" line each, UTF-8, CRLF; in a value a backslash, CR, LF and
// "|" are written as in the saved list (\\ \r \n \|). Keys this version does
// not know, and lines it cannot read, are kept as they are when it saves.
// A file that could not be read at all is never written over.
class SettingsFile {
 public:
  // folder: where the saved list lives; empty when the system names none.
  SettingsFile(ProfileFiles& files, std::string folder);

  // Reads the file once, at start; a missing file holds no settings.
  void Load();
  // The value of the key; `fallback` when there is none.
  [[nodiscard]] std::string Get(std::string_view key, std::string_view fallback = {}) const;
  // Sets the keys and writes the file whole when a value changed; false when
  // it could not be written (the values stay for this run).
  bool Set(const std::vector<std::pair<std::string, std::string>>& values);

 private:
  [[nodiscard]] std::string Path() const { return folder_ + "\\settings.txt"; }

  ProfileFiles& files_;
  const std::string folder_;
  std::map<std::string, std::string, std::less<>> values_;
  std::vector<std::string> unreadLines_;
  bool unreadable_ = false;
};

// The text of the file and back; exposed for the tests.
struct SettingsText {
  std::map<std::string, std::string, std::less<>> values;
  std::vector<std::string> unreadLines;
};
[[nodiscard]] SettingsText ReadSettingsText(std::string_view text);
[[nodiscard]] std::string WriteSettingsText(const SettingsText& settings);
