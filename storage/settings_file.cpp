#include "storage/settings_file.h"

#include "platform/whole_file_write.h"
#include "scheduler/task_file_format.h"

namespace {

// Far more than a few choices take: a larger file is no settings file of ours.
constexpr std::size_t kSettingsMaxBytes = 64 * 1024;

}  // namespace

SettingsText ReadSettingsText(std::string_view text) {
  SettingsText settings;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    const auto value = equals == std::string_view::npos
                           ? std::nullopt
                           : UnescapeTaskParam(line.substr(equals + 1));
    if (equals == 0 || !value) {
      settings.unreadLines.emplace_back(line);
      continue;
    }
    settings.values[std::string(line.substr(0, equals))] = *value;
  }
  return settings;
}

std::string WriteSettingsText(const SettingsText& settings) {
  std::string text;
  for (const auto& [key, value] : settings.values) {
    text += key + "=" + EscapeTaskParam(value) + "\r\n";
  }
  for (const std::string& line : settings.unreadLines) text += line + "\r\n";
  return text;
}

SettingsFile::SettingsFile(ProfileFiles& files, std::string folder)
    : files_(files), folder_(std::move(folder)) {}

void SettingsFile::Load() {
  if (folder_.empty()) return;
  const ProfileFiles::Contents contents = files_.ReadWhole(Path(), kSettingsMaxBytes);
  if (contents.outcome == ProfileFiles::Contents::Outcome::Missing) return;
  if (contents.outcome != ProfileFiles::Contents::Outcome::Read) {
    unreadable_ = true;
    return;
  }
  SettingsText read = ReadSettingsText(contents.bytes);
  values_ = std::move(read.values);
  unreadLines_ = std::move(read.unreadLines);
}

std::string SettingsFile::Get(std::string_view key, std::string_view fallback) const {
  const auto found = values_.find(key);
  return found == values_.end() ? std::string(fallback) : found->second;
}

bool SettingsFile::Set(const std::vector<std::pair<std::string, std::string>>& values) {
  bool changed = false;
  for (const auto& [key, value] : values) {
    auto [at, added] = values_.try_emplace(key, value);
    if (!added && at->second == value) continue;
    at->second = value;
    changed = true;
  }
  if (!changed) return true;
  if (folder_.empty() || unreadable_) return false;
  (void)files_.CreateFolder(folder_);
  return ReplaceWholeFile(files_, Path(), folder_ + "\\settings.tmp",
                          WriteSettingsText({values_, unreadLines_})) == kSucceeded;
}
