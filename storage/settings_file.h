#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/profile_files.h"
#include "storage/settings_text.h"

// The user's choices that outlive the program (how a shut-down closes programs, what the entry
// panel showed last, ...), kept beside the task list in settings.txt: one "key=value" line
// each, UTF-8, written whole and moved over the old file like the list.
//
// A file that is damaged (a line that is no setting, bytes that are no UTF-8, far too large)
// is renamed aside and the defaults hold; one that cannot be read at all is left alone, and
// read again before the next choice is written. Keys this version does not know are kept as
// they were: a newer version's choices survive a run of this one.
class SettingsFile {
 public:
  SettingsFile(ProfileFiles& files, const Clock& clock, std::string folder);

  [[nodiscard]] std::string Path() const { return SettingsFilePath(folder_); }

  // Reads the file; before it, every key is unset.
  void Load();

  // None when the key was never set (or the file was set aside).
  [[nodiscard]] std::optional<std::string> Get(std::string_view key) const;
  // Remembers the value at once and writes the file; false when it could not be written: the
  // value holds for this run and is written with the next choice.
  bool Set(const std::string& key, std::string value);
  // Several choices made together, in one write; none is taken when one is no setting.
  bool Set(std::vector<std::pair<std::string, std::string>> values);

 private:
  enum class FileState { Ours, Unread };
  void TakeIn(const ProfileFiles::Contents& contents);
  [[nodiscard]] bool Save();

  ProfileFiles& files_;
  const Clock& clock_;
  const std::string folder_;
  FileState fileState_ = FileState::Ours;
  bool setAsideNeeded_ = false;
  std::map<std::string, std::string, std::less<>> values_;
};
