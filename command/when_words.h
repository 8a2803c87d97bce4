#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "platform/date_time.h"
#include "scheduler/wait_conditions.h"

// When a task added from the command line is due, as its words said it; what
// moment that is, the running copy works out with its own clock.

// "in 1h30m": that much elapsed time from now.
struct CountdownWhen {
  long long minutes = 0;
};
// "at 23:00": today, or tomorrow when that time of day has passed.
struct TimeOfDayWhen {
  int hour = 0;
  int minute = 0;
  int second = 0;
};
// "at 2026-12-24 23:00": that moment; refused when it has passed.
struct MomentWhen {
  CalendarTime moment;
};
// "after-exit 4242 +10m" or "after-exit aria2c.exe": when that process ends,
// and the delay after its end.
struct ProgramEndWhen {
  std::uint32_t processId = 0;  // 0: the process is named by its image name
  std::string imageName;
  int delayMinutes = 0;
};
// "downloads-done below 20KB/s for 3m cpu-below 15%": when the network (and, if
// named, the processors) stay quiet that long; each part may be left out.
struct DownloadsDoneWhen {
  NetworkQuietTrigger trigger;
};
// "idle 30m": when nobody has used the keyboard or the mouse that long; with
// "even-watching", a full-screen program or a film counts as nobody too.
struct IdleWhen {
  NoInputTrigger trigger;
};
// A trigger of another kind adds its form as one more alternative here and one
// more entry in the table of when_words.cpp.
using When = std::variant<CountdownWhen, TimeOfDayWhen, MomentWhen, ProgramEndWhen,
                          DownloadsDoneWhen, IdleWhen>;

struct WhenReading {
  std::optional<When> when;
  std::size_t wordsUsed = 0;
  std::string error;  // why the words are no `when`, when they are not
};

// Reads the `when` at the start of the words; the words after it are left.
[[nodiscard]] WhenReading ReadWhen(std::span<const std::string> words);

// The words that name a waiting condition as ReadWhen reads them back
// ("downloads-done below 20KB/s for 3m cpu-below 15%", "idle 30m"); empty for none.
[[nodiscard]] std::string ConditionWords(const WaitCondition& condition);
