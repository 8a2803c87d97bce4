#include "main/quick_picks.h"

#include "command/command_line.h"
#include "language/language.h"
#include "main/quick_pick_texts.h"
#include "scheduler/task_kinds.h"

namespace {

constexpr char kSeparator = '|';

// "45分钟后", "2小时后", "1天后" for "45m", "2h", "1d"; "23:30" for "23:30:00".
std::string AmountText(const RecentEntry& entry) {
  if (!entry.countdown) {
    return entry.amount.ends_with(":00") ? entry.amount.substr(0, entry.amount.size() - 3)
                                         : entry.amount;
  }
  const std::string count = entry.amount.substr(0, entry.amount.size() - 1);
  switch (entry.amount.back()) {
    case 'd':
      return count + kDaysLaterText;
    case 'h':
      return count + kHoursLaterText;
    default:
      return count + kMinutesLaterText;
  }
}

QuickPick PickOf(const RecentEntry& entry) {
  QuickPick pick{AmountText(entry) + std::string(Text(TraitsOf(entry.kind).itemText)),
                 {"add", KindWord(entry.kind), entry.countdown ? "in" : "at", entry.amount}};
  if (const char* option = ParameterOption(entry.kind); option && !entry.param.empty()) {
    pick.command.push_back(option);
    pick.command.push_back(entry.param);
  }
  return pick;
}

}  // namespace

std::string RecentEntryValue(const RecentEntry& entry) {
  return std::string(entry.countdown ? "countdown" : "at") + kSeparator + entry.amount +
         kSeparator + KindWord(entry.kind) + kSeparator + entry.param;
}

std::optional<RecentEntry> ReadRecentEntry(std::string_view value) {
  std::string_view fields[3];
  for (std::string_view& field : fields) {
    const std::size_t end = value.find(kSeparator);
    if (end == std::string_view::npos) return std::nullopt;
    field = value.substr(0, end);
    value.remove_prefix(end + 1);
  }
  RecentEntry entry;
  if (fields[0] != "countdown" && fields[0] != "at") return std::nullopt;
  entry.countdown = fields[0] == "countdown";
  entry.amount = fields[1];
  int kind = 0;
  while (kind < kTaskKindCount && fields[2] != KindWord(static_cast<TaskKind>(kind))) ++kind;
  if (kind == kTaskKindCount || entry.amount.empty()) return std::nullopt;
  entry.kind = static_cast<TaskKind>(kind);
  entry.param = value;
  // What a pick runs must read as a command: a damaged value is no entry.
  const QuickPick pick = PickOf(entry);
  if (!ReadCommand(pick.command).command) return std::nullopt;
  return entry;
}

std::vector<RecentEntry> Remember(std::vector<RecentEntry> recent, RecentEntry added) {
  std::erase_if(recent, [&](const RecentEntry& entry) {
    return entry.kind == added.kind && entry.countdown == added.countdown &&
           entry.amount == added.amount;
  });
  recent.insert(recent.begin(), std::move(added));
  if (recent.size() > kRecentEntryCount) recent.resize(kRecentEntryCount);
  return recent;
}

std::vector<QuickPick> QuickPicks(const std::vector<RecentEntry>& recent, const Task* head,
                                  DateTime now) {
  std::vector<QuickPick> picks = {
      {kShutdownIn30MinutesText, {"add", "shutdown", "in", "30m"}},
      {kShutdownIn1HourText, {"add", "shutdown", "in", "1h"}},
      {kShutdownIn2HoursText, {"add", "shutdown", "in", "2h"}},
  };
  // Past 23:00 "tonight" would be tomorrow night.
  if (CompareDateTime(AtTimeOfDay(now, 23, 0, 0), now) >= 0) {
    picks.push_back({kShutdownTonightText, {"add", "shutdown", "at", "23:00"}});
  }
  for (const RecentEntry& entry : recent) picks.push_back(PickOf(entry));
  if (head && !IsWaitingForProgram(*head)) {
    picks.push_back({kPostponeHeadText, {"postpone", std::to_string(head->Id), "10m"}});
  }
  return picks;
}
