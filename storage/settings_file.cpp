#include "storage/settings_file.h"

#include "platform/utf16.h"
#include "platform/whole_file_write.h"
#include "storage/set_aside.h"

namespace {

constexpr char kHeader[] = "# Dusk settings";

using Outcome = ProfileFiles::Contents::Outcome;

bool IsKey(std::string_view key) {
  if (key.empty()) return false;
  for (const char c : key) {
    if (!(c >= 'a' && c <= 'z') && !(c >= '0' && c <= '9') && c != '-' && c != '.') return false;
  }
  return true;
}

}  // namespace

std::optional<std::map<std::string, std::string, std::less<>>> ParseSettings(
    std::string_view text) {
  // Bytes that are no UTF-8 come back changed from the round trip.
  if (Utf16ToUtf8(Utf8ToUtf16(text)) != text) return std::nullopt;
  std::map<std::string, std::string, std::less<>> values;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || !IsKey(line.substr(0, equals))) return std::nullopt;
    values.insert_or_assign(std::string(line.substr(0, equals)),
                            std::string(line.substr(equals + 1)));
  }
  return values;
}

std::string WriteSettings(const std::map<std::string, std::string, std::less<>>& values) {
  std::string text = std::string(kHeader) + "\r\n";
  for (const auto& [key, value] : values) text += key + "=" + value + "\r\n";
  return text;
}

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
    if (!IsKey(key) || value.find_first_of("\r\n") != std::string::npos) return false;
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
