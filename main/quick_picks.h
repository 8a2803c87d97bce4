#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date_time.h"
#include "scheduler/task.h"

// The tray menu's "快速定时": tasks added with one click, each carried out as
// the command line's words through the running copy's own command.

// A task the user added through the panel, as a pick repeats it: a countdown
// ("45m", "2h", "1d") or a time of day ("23:30:00"), of a kind, with its
// parameter.
struct RecentEntry {
  bool countdown = true;
  std::string amount;
  TaskKind kind = TaskKind::TurnOff;
  std::string param;
};

// The settings value of an entry and back; none when the value is no entry.
[[nodiscard]] std::string RecentEntryValue(const RecentEntry& entry);
[[nodiscard]] std::optional<RecentEntry> ReadRecentEntry(std::string_view value);

// The entries with `added` first; an entry of the same kind, timing and amount
// gives way to it, and only the first three stay.
[[nodiscard]] std::vector<RecentEntry> Remember(std::vector<RecentEntry> recent, RecentEntry added);
inline constexpr std::size_t kRecentEntryCount = 3;

struct QuickPick {
  std::string label;
  std::vector<std::string> command;
};

// The fixed picks ("今晚23:00关机" only until 23:00), then the recent
// entries, then "推迟10分钟" for the head task when it has a moment to move.
[[nodiscard]] std::vector<QuickPick> QuickPicks(const std::vector<RecentEntry>& recent,
                                                const Task* head, DateTime now);
