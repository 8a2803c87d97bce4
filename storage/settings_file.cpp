#include "storage/settings_file.h"

#include "platform/whole_file_write.h"
#include "storage/set_aside.h"

namespace {

using Outcome = ProfileFiles::Contents::Outcome;

}  // namespace

SettingsFile::SettingsFile(ProfileFiles& files, const Clock& clock, std::string folder)
    : files_(files), clock_(clock), folder_(std::move(folder)) {}

void SettingsFile::Load() {
  if (folder_.empty()) return;
  TakeIn(files_.ReadWhole(Path(), kSettingsMaxBytes));
}

void SettingsFile::TakeIn(const ProfileFiles::Contents& contents) {
  fileState_ = FileState::Ours;
  switch (contents.outcome) {
    case Outcome::Missing:
      return;
    case Outcome::Failed:
      fileState_ = FileState::Unread;
      return;
    case Outcome::TooLarge:
      setAsideNeeded_ = true;
      return;
    case Outcome::Read:
      break;
  }
  auto read = ParseSettings(contents.bytes);
  if (!read) {
    setAsideNeeded_ = true;
    return;
  }
  values_ = std::move(*read);
}

std::optional<std::string> SettingsFile::Get(std::string_view key) const {
  const auto found = values_.find(key);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

bool SettingsFile::Set(const std::string& key, std::string value) {
  return Set({{key, std::move(value)}});
}

bool SettingsFile::Set(std::vector<std::pair<std::string, std::string>> values) {
  for (const auto& [key, value] : values) {
    if (!IsSettingKey(key) || value.find_first_of("\r\n") != std::string::npos) return false;
  }
  if (fileState_ == FileState::Unread) {
    // Read once more first: what the file holds must not be lost to this one choice.
    std::map<std::string, std::string, std::less<>> chosen = values_;
    values_.clear();
    TakeIn(files_.ReadWhole(Path(), kSettingsMaxBytes));
    for (auto& [chosenKey, chosenValue] : chosen) {
      values_.insert_or_assign(chosenKey, std::move(chosenValue));
    }
  }
  for (auto& [key, value] : values) values_.insert_or_assign(std::move(key), std::move(value));
  if (fileState_ == FileState::Unread) return false;
  return Save();
}

bool SettingsFile::Save() {
  if (folder_.empty() || files_.CreateFolder(folder_) != kSucceeded) return false;
  if (setAsideNeeded_) {
    if (SetFileAside(files_, clock_, folder_, "settings").error != kSucceeded) return false;
    setAsideNeeded_ = false;
  }
  return ReplaceWholeFile(files_, Path(), folder_ + "\\settings.tmp", WriteSettings(values_)) ==
         kSucceeded;
}
