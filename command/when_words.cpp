#include "command/when_words.h"

#include <string_view>

#include "command/duration_words.h"
#include "language/language.h"
#include "scheduler/task.h"
#include "scheduler/wait_conditions.h"

namespace {

std::optional<int> Number(std::string_view text, std::size_t minDigits, std::size_t maxDigits) {
  if (text.size() < minDigits || text.size() > maxDigits) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// "23:00", "7:05" or "07:05:30"; hours 0 to 23: "24:00" is the next day's 0:00,
// which a script writes as such.
std::optional<TimeOfDayWhen> ReadTimeOfDay(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view rest = text.substr(colon + 1);
  const std::size_t second = rest.find(':');
  const auto hour = Number(text.substr(0, colon), 1, 2);
  const auto minute = Number(rest.substr(0, second), 2, 2);
  const auto seconds = second == std::string_view::npos ? std::optional<int>(0)
                                                        : Number(rest.substr(second + 1), 2, 2);
  if (!hour || !minute || !seconds || *hour > 23 || *minute > 59 || *seconds > 59) {
    return std::nullopt;
  }
  return TimeOfDayWhen{*hour, *minute, *seconds};
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// "2026-12-24": a day the calendar has.
std::optional<CalendarTime> ReadDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = Number(text.substr(0, 4), 4, 4);
  const auto month = Number(text.substr(5, 2), 2, 2);
  const auto day = Number(text.substr(8, 2), 2, 2);
  if (!year || !month || !day || *year < 1900 || *month < 1 || *month > 12 || *day < 1) {
    return std::nullopt;
  }
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int days = *month == 2 && IsLeapYear(*year) ? 29 : kDays[*month - 1];
  if (*day > days) return std::nullopt;
  CalendarTime date;
  date.year = *year;
  date.month = *month;
  date.day = *day;
  return date;
}

WhenReading Refusal(TextId error) { return {std::nullopt, 0, std::string(Text(error))}; }
// The error names the word as the user wrote it.
WhenReading Refusal(TextId error, std::string_view word) {
  return {std::nullopt, 0, FormatText(error, {word})};
}

WhenReading ReadCountdown(std::span<const std::string> words) {
  if (words.size() < 2) return Refusal(TextId::CliMissingDuration);
  const auto minutes = ParseDurationMinutes(words[1]);
  if (!minutes || *minutes < 1) return Refusal(TextId::CliBadDuration, words[1]);
  return {CountdownWhen{*minutes}, 2, {}};
}

WhenReading ReadAt(std::span<const std::string> words) {
  if (words.size() < 2) return Refusal(TextId::CliMissingTime);
  if (const auto time = ReadTimeOfDay(words[1])) return {*time, 2, {}};
  const auto date = ReadDate(words[1]);
  if (!date) {
    return Refusal(
        words[1].find('-') == std::string::npos ? TextId::CliBadTime : TextId::CliBadDate,
        words[1]);
  }
  if (words.size() < 3) return Refusal(TextId::CliMissingTime);
  const auto time = ReadTimeOfDay(words[2]);
  if (!time) return Refusal(TextId::CliBadTime, words[2]);
  CalendarTime moment = *date;
  moment.hour = time->hour;
  moment.minute = time->minute;
  moment.second = time->second;
  return {MomentWhen{moment}, 3, {}};
}

WhenReading ReadProgramEnd(std::span<const std::string> words) {
  if (words.size() < 2 || words[1].empty() || words[1].starts_with('-')) {
    return Refusal(TextId::CliMissingProgram);
  }
  ProgramEndWhen end;
  if (const auto id = Number(words[1], 1, 9); id && *id > 0) {
    end.processId = static_cast<std::uint32_t>(*id);
  } else if (words[1].find_first_of("\\/:") != std::string::npos) {
    // The running process is named by its image name, not by a path.
    return Refusal(TextId::CliBadProgram, words[1]);
  } else {
    end.imageName = words[1];
  }
  if (words.size() < 3 || !words[2].starts_with('+')) return {end, 2, {}};
  const auto delay = ParseDurationMinutes(std::string_view(words[2]).substr(1));
  if (!delay || *delay > kMaxProgramEndDelayMinutes) {
    return Refusal(TextId::CliBadDelay, words[2]);
  }
  end.delayMinutes = static_cast<int>(*delay);
  return {end, 3, {}};
}

// A number followed by its unit ("20KB/s", "15%"), within the bounds the panel holds it to.
std::optional<int> NumberWithUnit(std::string_view text, std::string_view unit, int least,
                                  int most) {
  if (!text.ends_with(unit)) return std::nullopt;
  const auto value = Number(text.substr(0, text.size() - unit.size()), 1, 7);
  if (!value || *value < least || *value > most) return std::nullopt;
  return value;
}

// Minutes of a condition: 1 to a day.
std::optional<int> ConditionMinutes(std::string_view text) {
  const auto minutes = ParseDurationMinutes(text);
  if (!minutes || *minutes < 1 || *minutes > kMaxConditionMinutes) return std::nullopt;
  return static_cast<int>(*minutes);
}

WhenReading ReadDownloadsDone(std::span<const std::string> words) {
  DownloadsDoneWhen done;
  std::size_t used = 1;
  while (used < words.size()) {
    const std::string& part = words[used];
    if (part != "below" && part != "for" && part != "cpu-below") break;
    if (used + 1 == words.size()) return Refusal(TextId::CliMissingValue, part);
    const std::string& value = words[used + 1];
    if (part == "below") {
      const auto rate = NumberWithUnit(value, "KB/s", 1, kMaxRateKilobytes);
      if (!rate) return Refusal(TextId::CliBadRate, value);
      done.trigger.rateKilobytes = *rate;
    } else if (part == "for") {
      const auto minutes = ConditionMinutes(value);
      if (!minutes) return Refusal(TextId::CliBadConditionMinutes, value);
      done.trigger.minutes = *minutes;
    } else {
      const auto percent = NumberWithUnit(value, "%", kMinCpuPercent, kMaxCpuPercent);
      if (!percent) return Refusal(TextId::CliBadCpu, value);
      done.trigger.cpuQuiet = true;
      done.trigger.cpuPercent = *percent;
    }
    used += 2;
  }
  return {done, used, {}};
}

WhenReading ReadIdle(std::span<const std::string> words) {
  if (words.size() < 2) return Refusal(TextId::CliMissingDuration);
  const auto minutes = ConditionMinutes(words[1]);
  if (!minutes) return Refusal(TextId::CliBadConditionMinutes, words[1]);
  IdleWhen idle;
  idle.trigger.minutes = *minutes;
  if (words.size() > 2 && words[2] == "even-watching") {
    idle.trigger.guard = false;
    return {idle, 3, {}};
  }
  return {idle, 2, {}};
}

constexpr struct {
  std::string_view word;
  WhenReading (*read)(std::span<const std::string>);
} kWhenForms[] = {
    {"in", ReadCountdown},
    {"at", ReadAt},
    {"after-exit", ReadProgramEnd},
    {"downloads-done", ReadDownloadsDone},
    {"idle", ReadIdle},
};

}  // namespace

WhenReading ReadWhen(std::span<const std::string> words) {
  if (words.empty()) return Refusal(TextId::CliMissingWhen);
  for (const auto& form : kWhenForms) {
    if (words[0] == form.word) return form.read(words);
  }
  return Refusal(TextId::CliUnknownWhen, words[0]);
}

std::string ConditionWords(const WaitCondition& condition) {
  if (const auto* quiet = std::get_if<NetworkQuietTrigger>(&condition)) {
    std::string words = "downloads-done below " + std::to_string(quiet->rateKilobytes) +
                        "KB/s for " + std::to_string(quiet->minutes) + "m";
    if (quiet->cpuQuiet) words += " cpu-below " + std::to_string(quiet->cpuPercent) + "%";
    return words;
  }
  if (const auto* idle = std::get_if<NoInputTrigger>(&condition)) {
    return "idle " + std::to_string(idle->minutes) + "m" + (idle->guard ? "" : " even-watching");
  }
  return {};
}
