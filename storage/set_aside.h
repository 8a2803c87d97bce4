#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/profile_files.h"

// A file of ours found damaged is renamed aside, never deleted or written over: the user (or
// whoever helps them) may still want what was in it.

// "tasks.bad-20261210-233005.txt" for the file "tasks.txt" set aside at that moment; the
// attempt counts names taken in the same second ("…-233005-2.txt").
[[nodiscard]] std::string SetAsideFileName(std::string_view stem, const CalendarTime& at,
                                           int attempt);

struct SetAsideResult {
  SystemError error = kSucceeded;
  std::string path;  // where the file went; empty when it was gone already
};
// Renames folder\stem.txt to the first free set-aside name of this second; a file that is gone
// meanwhile needs nothing.
[[nodiscard]] SetAsideResult SetFileAside(ProfileFiles& files, const Clock& clock,
                                          const std::string& folder, std::string_view stem);
