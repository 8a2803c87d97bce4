#include "command/command_line.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "command/duration_words.h"
#include "language/language.h"
#include "scheduler/task_kinds.h"

namespace {

// The words scripts name the kinds by. Other kinds add a row here.
constexpr struct {
  std::string_view word;
  TaskKind kind;
} kKinds[] = {
    {"shutdown", TaskKind::TurnOff},
    {"restart", TaskKind::Restart},
    {"logoff", TaskKind::LogOff},
    {"sleep", TaskKind::Sleep},
    {"lock", TaskKind::Lock},
    {"alarm", TaskKind::Alarm},
    {"open", TaskKind::OpenProgram},
    {"close", TaskKind::CloseProgram},
    {"url", TaskKind::OpenWebPage},
    {"hibernate", TaskKind::Hibernate},
    {"screen-off", TaskKind::ScreenOff},
};

// By RepeatKind; "each-time" is for a task that waits for quiet or for nobody.
constexpr std::string_view kRepeatWords[] = {"", "daily", "weekdays", "weekly", "each-time"};
static_assert(std::size(kRepeatWords) == kRepeatKindCount);
constexpr std::size_t kEachTime = static_cast<std::size_t>(RepeatKind::EachTime);

CommandReading Wrong(TextId error) { return {std::nullopt, std::string(Text(error))}; }
// The error names the word as the user wrote it.
CommandReading Wrong(TextId error, std::string_view word) {
  return {std::nullopt, FormatText(error, {word})};
}

std::optional<std::uint32_t> ReadId(std::string_view word) {
  std::uint32_t id = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), id);
  if (error != std::errc() || end != word.data() + word.size() || word.empty() || id == 0) {
    return std::nullopt;
  }
  return id;
}

CommandReading ReadAdd(std::span<const std::string> words) {
  if (words.empty()) return Wrong(TextId::CliMissingKind);
  const auto entry = std::find_if(std::begin(kKinds), std::end(kKinds),
                                  [&](const auto& kind) { return words[0] == kind.word; });
  if (entry == std::end(kKinds)) return Wrong(TextId::CliUnknownKind, words[0]);
  const char* paramOption = ParameterOption(entry->kind);
  // The reminder may be left out, as on the panel; a program or an address may not.
  const bool paramRequired = TraitsOf(entry->kind).parameter != TaskParameter::None &&
                             TraitsOf(entry->kind).parameter != TaskParameter::Text;
  const WhenReading when = ReadWhen(words.subspan(1));
  if (!when.when) return {std::nullopt, when.error};

  AddCommand add{entry->kind, *when.when, {}, RepeatKind::None};
  bool paramGiven = false;
  bool repeatGiven = false;
  for (std::size_t at = 1 + when.wordsUsed; at < words.size(); at += 2) {
    const std::string& option = words[at];
    const bool isParam = option == "--text" || option == "--program" || option == "--url";
    if (!isParam && option != "--repeat") {
      return Wrong(option.starts_with("--") ? TextId::CliUnknownOption : TextId::CliExtraWord,
                   option);
    }
    if (at + 1 == words.size()) return Wrong(TextId::CliMissingValue, option);
    const std::string& value = words[at + 1];
    if (isParam) {
      if (!paramOption || option != paramOption) {
        return Wrong(TextId::CliOptionNotForKind, option);
      }
      if (paramGiven) return Wrong(TextId::CliOptionTwice, option);
      paramGiven = true;
      add.param = value;
      continue;
    }
    if (repeatGiven) return Wrong(TextId::CliOptionTwice, option);
    repeatGiven = true;
    std::size_t kind = 1;
    while (kind < std::size(kRepeatWords) && kRepeatWords[kind] != value) ++kind;
    if (kind == std::size(kRepeatWords)) return Wrong(TextId::CliBadRepeat, value);
    // As on the panel: a task due at a time of day comes back on days, one that waits for
    // quiet or for nobody each time; a countdown or a program's end never.
    const bool waits = std::holds_alternative<DownloadsDoneWhen>(add.when) ||
                       std::holds_alternative<IdleWhen>(add.when);
    const bool dated = std::holds_alternative<TimeOfDayWhen>(add.when) ||
                       std::holds_alternative<MomentWhen>(add.when);
    if (waits != (kind == kEachTime) || (!waits && !dated)) {
      return Wrong(TextId::CliRepeatNeedsMoment);
    }
    add.repeat = static_cast<RepeatKind>(kind);
  }
  if (paramRequired && !paramGiven) {
    return Wrong(TraitsOf(entry->kind).parameter == TaskParameter::WebAddress
                     ? TextId::CliNeedsUrl
                     : TextId::CliNeedsProgram);
  }
  return {add, {}};
}

CommandReading ReadList(std::span<const std::string> words) {
  ListCommand list;
  for (const std::string& word : words) {
    if (word == "--json" && !list.json) {
      list.json = true;
      continue;
    }
    const TextId what = word == "--json"         ? TextId::CliOptionTwice
                        : word.starts_with("--") ? TextId::CliUnknownOption
                                                 : TextId::CliExtraWord;
    return Wrong(what, word);
  }
  return {list, {}};
}

CommandReading ReadCancel(std::span<const std::string> words) {
  if (words.empty()) return Wrong(TextId::CliMissingId);
  if (words.size() > 1) return Wrong(TextId::CliExtraWord, words[1]);
  if (words[0] == "all") return {CancelCommand{}, {}};
  const auto id = ReadId(words[0]);
  if (!id) return Wrong(TextId::CliBadId, words[0]);
  return {CancelCommand{*id}, {}};
}

CommandReading ReadPostpone(std::span<const std::string> words) {
  if (words.empty()) return Wrong(TextId::CliMissingId);
  const auto id = ReadId(words[0]);
  if (!id) return Wrong(TextId::CliBadId, words[0]);
  if (words.size() < 2) return Wrong(TextId::CliMissingDuration);
  if (words.size() > 2) return Wrong(TextId::CliExtraWord, words[2]);
  const auto minutes = ParseDurationMinutes(words[1]);
  if (!minutes || *minutes < 1) return Wrong(TextId::CliBadDuration, words[1]);
  return {PostponeCommand{*id, *minutes}, {}};
}

}  // namespace

CommandReading ReadCommand(std::span<const std::string> words) {
  if (words.empty()) return Wrong(TextId::CliHelp);
  if (words[0] == "--help" || words[0] == "help" || words[0] == "/?") return {HelpCommand{}, {}};
  const std::span<const std::string> rest = words.subspan(1);
  if (words[0] == "add") return ReadAdd(rest);
  if (words[0] == "list") return ReadList(rest);
  if (words[0] == "cancel") return ReadCancel(rest);
  if (words[0] == "postpone") return ReadPostpone(rest);
  return Wrong(TextId::CliUnknownCommand, words[0]);
}

const char* ParameterOption(TaskKind kind) {
  switch (TraitsOf(kind).parameter) {
    case TaskParameter::Text:
      return "--text";
    case TaskParameter::ProgramFile:
    case TaskParameter::RunningProgram:
      return "--program";
    case TaskParameter::WebAddress:
      return "--url";
    case TaskParameter::None:
      break;
  }
  return nullptr;
}

const char* KindWord(TaskKind kind) {
  for (const auto& entry : kKinds) {
    if (entry.kind == kind) return entry.word.data();
  }
  return "";
}

const char* RepeatWord(RepeatKind kind) {
  return kRepeatWords[static_cast<std::size_t>(kind)].data();
}
