#include "storage/set_aside.h"

namespace {

// Names taken by earlier files set aside in the same second are skipped; so
// many in one second mean something else is wrong.
constexpr int kSetAsideAttempts = 100;
constexpr SystemError kFileExists = 80;

}  // namespace

std::string SetAsideFileName(std::string_view stem, const CalendarTime& at, int attempt) {
  std::string fileName(stem);
  fileName += ".bad-";
  AppendZeroPadded(fileName, at.year, 4);
  AppendZeroPadded(fileName, at.month, 2);
  AppendZeroPadded(fileName, at.day, 2);
  fileName += '-';
  AppendZeroPadded(fileName, at.hour, 2);
  AppendZeroPadded(fileName, at.minute, 2);
  AppendZeroPadded(fileName, at.second, 2);
  if (attempt > 1) {
    fileName += '-';
    fileName += std::to_string(attempt);
  }
  fileName += ".txt";
  return fileName;
}

SetAsideResult SetFileAside(ProfileFiles& files, const Clock& clock, const std::string& folder,
                            std::string_view stem) {
  const std::string path = folder + "\\" + std::string(stem) + ".txt";
  if (!files.Exists(path)) return {};
  const CalendarTime now = DecodeDateTime(clock.Now());
  for (int attempt = 1; attempt <= kSetAsideAttempts; ++attempt) {
    std::string aside = folder + "\\" + SetAsideFileName(stem, now, attempt);
    if (files.Exists(aside)) continue;
    if (const SystemError error = files.MoveToNewName(path, aside); error != kSucceeded) {
      return {error, {}};
    }
    return {kSucceeded, std::move(aside)};
  }
  return {kFileExists, {}};
}
