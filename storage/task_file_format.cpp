#include "storage/task_file_format.h"

#include <array>
#include <charconv>

#include "scheduler/task_kinds.h"

namespace {

constexpr std::array<std::string_view, kRepeatKindCount> kRepeatNames{"", "daily", "weekdays",
                                                                      "weekly", "each-time"};

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::optional<RepeatKind> RepeatNamed(std::string_view name) {
  for (std::size_t kind = 0; kind < kRepeatNames.size(); ++kind) {
    if (kRepeatNames[kind] == name) return static_cast<RepeatKind>(kind);
  }
  return std::nullopt;
}

std::optional<TaskKind> KindNamed(std::string_view name) {
  for (const TaskKindTraits& kind : kTaskKinds) {
    if (kind.fileName == name) return kind.kind;
  }
  return std::nullopt;
}

void AppendEscaped(std::string& text, std::string_view param) {
  for (const char c : param) {
    switch (c) {
      case '\\':
        text += "\\\\";
        break;
      case '|':
        text += "\\|";
        break;
      case '\r':
        text += "\\r";
        break;
      case '\n':
        text += "\\n";
        break;
      case '\0':
        text += "\\0";
        break;
      default:
        text += c;
    }
  }
}

std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// "yyyy-mm-dd hh:mm:ss" and nothing else.
std::optional<DateTime> ReadMoment(std::string_view text) {
  static constexpr std::string_view kShape = "0000-00-00 00:00:00";
  if (text.size() != kShape.size()) return std::nullopt;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    if (kShape[i] != '0' && text[i] != kShape[i]) return std::nullopt;
  }
  const auto year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2),
             hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  if (*year < 1 || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month) ||
      *hour > 23 || *minute > 59 || *second > 59) {
    return std::nullopt;
  }
  return EncodeDateTime({*year, *month, *day, *hour, *minute, *second, 0});
}

// The field that starts at `at`, up to the next "|" that is not escaped; `at`
// moves past that "|", or to npos after the last field.
std::string_view NextField(std::string_view line, std::size_t& at) {
  const std::size_t start = at;
  for (std::size_t i = start; i < line.size(); ++i) {
    if (line[i] == '\\') {
      ++i;
    } else if (line[i] == '|') {
      at = i + 1;
      return line.substr(start, i - start);
    }
  }
  at = std::string_view::npos;
  return line.substr(start);
}

template <typename Number>
std::optional<Number> ReadNumber(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<Task> ReadTaskLine(std::string_view line, int format) {
  std::string_view fields[6];
  const std::size_t count = format == 1 ? 3 : format < kTaskFileFormat ? 5 : 6;
  std::size_t at = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (at == std::string_view::npos) return std::nullopt;
    fields[i] = NextField(line, at);
  }
  if (at != std::string_view::npos) return std::nullopt;
  const auto kind = KindNamed(fields[0]);
  const auto when = ReadMoment(fields[1]);
  auto param = UnescapeTaskParam(fields[2]);
  // A series' own occurrence follows its name when the due moment was moved.
  const std::size_t blank = fields[3].find(' ');
  const auto repeat = RepeatNamed(fields[3].substr(0, blank));
  const auto occurrence =
      blank == std::string_view::npos ? when : ReadMoment(fields[3].substr(blank + 1));
  if (!kind || !when || !param || !repeat || !occurrence) return std::nullopt;
  if ((*repeat == RepeatKind::None || *repeat == RepeatKind::EachTime) &&
      blank != std::string_view::npos) {
    return std::nullopt;
  }
  Task task{*when, *kind, std::move(*param)};
  // "每次" has no occurrence of its own.
  if (*repeat != RepeatKind::None) {
    task.Repeat = {*repeat, *repeat == RepeatKind::EachTime ? 0 : *occurrence};
  }
  if (format >= kTaskFileFormat) {
    const auto id = ReadNumber<std::uint32_t>(fields[5]);
    if (!id || *id == 0) return std::nullopt;
    task.Id = *id;
  }
  const auto trigger = UnescapeTaskParam(fields[4]);
  if (!trigger) return std::nullopt;
  if (std::optional<WaitCondition> condition = ReadConditionField(*trigger)) {
    // Dated in its last half minute, or waiting; "每次" or no repeat.
    if (*repeat != RepeatKind::None && *repeat != RepeatKind::EachTime) return std::nullopt;
    task.Condition = *condition;
    return task;
  }
  // "每次" is for a task that waits for a condition.
  if (*repeat == RepeatKind::EachTime) return std::nullopt;
  if (!trigger->empty()) {
    // A series is dated: it never waits for a program.
    if (*repeat != RepeatKind::None) return std::nullopt;
    auto read = ReadTriggerField(*trigger);
    if (!read) return std::nullopt;
    task.AfterProgram = std::move(*read);
    task.When = kWaitingMoment;
  }
  return task;
}

constexpr std::string_view kProgramEndPrefix = "program-end:";
constexpr std::string_view kNetworkQuietPrefix = "net-quiet:";
constexpr std::string_view kNoInputPrefix = "no-input:";

// Whole numbers joined by ":", exactly `count` of them.
template <std::size_t count>
std::optional<std::array<int, count>> ReadNumbers(std::string_view text) {
  std::array<int, count> numbers{};
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t colon = text.find(':');
    if ((colon == std::string_view::npos) != (i + 1 == count)) return std::nullopt;
    const auto number = ReadNumber<int>(text.substr(0, colon));
    if (!number) return std::nullopt;
    numbers[i] = *number;
    text.remove_prefix(colon == std::string_view::npos ? text.size() : colon + 1);
  }
  return numbers;
}

std::optional<bool> ReadFlag(int number) {
  if (number != 0 && number != 1) return std::nullopt;
  return number == 1;
}

// The format number of a header line; none when it is not one of ours.
std::optional<int> ReadHeader(std::string_view line) {
  const std::string_view prefix = kTaskFileHeader;
  if (!line.starts_with(prefix)) return std::nullopt;
  const std::string_view number = line.substr(prefix.size());
  int format = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), format);
  if (error != std::errc() || end != number.data() + number.size() || number.empty() ||
      number[0] == '0' || format < 1) {
    return std::nullopt;
  }
  return format;
}

// The next line without its line end; `rest` moves past it.
std::string_view NextLine(std::string_view& rest) {
  const std::size_t end = rest.find('\n');
  std::string_view line = rest.substr(0, end);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  // A CR in a parameter is written \r, so one at the end is the line's.
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

}  // namespace

std::string EscapeTaskParam(std::string_view param) {
  std::string escaped;
  AppendEscaped(escaped, param);
  return escaped;
}

std::optional<std::string> UnescapeTaskParam(std::string_view escaped) {
  std::string param;
  param.reserve(escaped.size());
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    const char c = escaped[i];
    if (c == '|' || c == '\r' || c == '\n') return std::nullopt;
    if (c != '\\') {
      param += c;
      continue;
    }
    if (++i == escaped.size()) return std::nullopt;
    switch (escaped[i]) {
      case '\\':
        param += '\\';
        break;
      case '|':
        param += '|';
        break;
      case 'r':
        param += '\r';
        break;
      case 'n':
        param += '\n';
        break;
      case '0':
        param += '\0';
        break;
      default:
        return std::nullopt;
    }
  }
  return param;
}

std::string TriggerFieldText(const ProgramEndTrigger& trigger) {
  if (!trigger.Waiting()) return {};
  return std::string(kProgramEndPrefix) + std::to_string(trigger.ProcessId) + ":" +
         std::to_string(trigger.StartTime) + ":" + std::to_string(trigger.DelayMinutes) + ":" +
         trigger.Label();
}

std::optional<ProgramEndTrigger> ReadTriggerField(std::string_view text) {
  if (!text.starts_with(kProgramEndPrefix)) return std::nullopt;
  text.remove_prefix(kProgramEndPrefix.size());
  std::string_view numbers[3];
  for (std::string_view& number : numbers) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    number = text.substr(0, colon);
    text.remove_prefix(colon + 1);
  }
  const auto processId = ReadNumber<std::uint32_t>(numbers[0]);
  const auto startTime = ReadNumber<std::uint64_t>(numbers[1]);
  const auto delay = ReadNumber<int>(numbers[2]);
  if (!processId || !startTime || !delay || *delay < 0 || *delay > kMaxProgramEndDelayMinutes) {
    return std::nullopt;
  }
  ProgramEndTrigger trigger;
  trigger.SetLabel(text);
  if (trigger.ImageName.empty()) return std::nullopt;
  trigger.ProcessId = *processId;
  trigger.StartTime = *startTime;
  trigger.DelayMinutes = *delay;
  return trigger;
}

std::string ConditionFieldText(const WaitCondition& condition) {
  if (const auto* network = std::get_if<NetworkQuietTrigger>(&condition)) {
    return std::string(kNetworkQuietPrefix) + std::to_string(network->rateKilobytes) + ":" +
           std::to_string(network->minutes) + ":" + (network->cpuQuiet ? "1" : "0") + ":" +
           std::to_string(network->cpuPercent);
  }
  if (const auto* idle = std::get_if<NoInputTrigger>(&condition)) {
    return std::string(kNoInputPrefix) + std::to_string(idle->minutes) + ":" +
           (idle->guard ? "1" : "0");
  }
  return {};
}

std::optional<WaitCondition> ReadConditionField(std::string_view text) {
  std::optional<WaitCondition> condition;
  if (text.starts_with(kNetworkQuietPrefix)) {
    const auto numbers = ReadNumbers<4>(text.substr(kNetworkQuietPrefix.size()));
    const auto cpuQuiet = numbers ? ReadFlag((*numbers)[2]) : std::nullopt;
    if (cpuQuiet) {
      condition = NetworkQuietTrigger{(*numbers)[0], (*numbers)[1], *cpuQuiet, (*numbers)[3]};
    }
  } else if (text.starts_with(kNoInputPrefix)) {
    const auto numbers = ReadNumbers<2>(text.substr(kNoInputPrefix.size()));
    const auto guard = numbers ? ReadFlag((*numbers)[1]) : std::nullopt;
    if (guard) condition = NoInputTrigger{(*numbers)[0], *guard};
  }
  if (!condition || !IsValidCondition(*condition)) return std::nullopt;
  return condition;
}

namespace {}  // namespace

std::string WriteTaskFile(const TaskQueue& queue) {
  // Left to grow by doubling: a guess at the size per task would ask the heap
  // for a new size of block with each new length of the list.
  std::string text;
  text += kTaskFileHeader;
  text += std::to_string(kTaskFileFormat);
  text += "\r\n";
  for (std::size_t i = 0; i < queue.Count(); ++i) {
    const Task& task = queue.At(i);
    text += TraitsOf(task.Kind).fileName;
    text += '|';
    AppendMoment(text, task.When, ' ');
    text += '|';
    AppendEscaped(text, task.Param);
    text += '|';
    text += kRepeatNames[static_cast<std::size_t>(task.Repeat.kind)];
    if (task.Repeat.kind != RepeatKind::None && task.Repeat.kind != RepeatKind::EachTime &&
        CompareDateTime(task.Repeat.occurrence, task.When)) {
      text += ' ';
      AppendMoment(text, task.Repeat.occurrence, ' ');
    }
    text += '|';
    if (IsWaitingForProgram(task)) AppendEscaped(text, TriggerFieldText(task.AfterProgram));
    if (HasCondition(task)) AppendEscaped(text, ConditionFieldText(task.Condition));
    text += '|';
    text += std::to_string(task.Id);
    text += "\r\n";
  }
  return text;
}

TaskFileReading ReadTaskFile(std::string_view bytes) {
  TaskFileReading reading;
  // Notepad may have put one there when a person saved it.
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  std::string_view rest = bytes;
  const std::optional<int> format = ReadHeader(NextLine(rest));
  while (!rest.empty()) {
    const std::string_view line = NextLine(rest);
    if (line.empty()) continue;
    if (format && *format <= kTaskFileFormat) {
      if (std::optional<Task> task = ReadTaskLine(line, *format)) {
        reading.tasks.push_back(std::move(*task));
        continue;
      }
    }
    ++reading.unreadLines;
  }
  if (!format) {
    reading.outcome = TaskFileReading::Outcome::NotATaskList;
  } else if (*format > kTaskFileFormat) {
    reading.outcome = TaskFileReading::Outcome::NewerFormat;
  } else if (reading.unreadLines > 0) {
    reading.outcome = TaskFileReading::Outcome::LinesLost;
  }
  return reading;
}
