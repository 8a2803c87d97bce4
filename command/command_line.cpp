#include "command/command_line.h"

#include <charconv>
#include <string_view>

#include "command/command_texts.h"
#include "command/duration_words.h"

namespace {

// The option that carries a kind's parameter.
enum class ParamOption { None, Text, Program, Url };

struct KindEntry {
  std::string_view word;
  TaskKind kind;
  ParamOption option;
  bool optionRequired;
};

// Other kinds add a row here.
constexpr KindEntry kKinds[] = {
    {"shutdown", TaskKind::TurnOff, ParamOption::None, false},
    {"restart", TaskKind::Restart, ParamOption::None, false},
    {"logoff", TaskKind::LogOff, ParamOption::None, false},
    {"sleep", TaskKind::Sleep, ParamOption::None, false},
    {"lock", TaskKind::Lock, ParamOption::None, false},
    {"alarm", TaskKind::Alarm, ParamOption::Text, false},
    {"open", TaskKind::OpenProgram, ParamOption::Program, true},
    {"close", TaskKind::CloseProgram, ParamOption::Program, true},
    {"url", TaskKind::OpenWebPage, ParamOption::Url, true},
};

constexpr std::string_view kOptionWords[] = {"", "--text", "--program", "--url"};

constexpr std::string_view kRepeatWords[] = {"", "daily", "weekdays", "weekly"};

CommandReading Wrong(std::string error) { return {std::nullopt, std::move(error)}; }

std::optional<std::uint32_t> ReadId(std::string_view word) {
  std::uint32_t id = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), id);
  if (error != std::errc() || end != word.data() + word.size() || word.empty() || id == 0) {
    return std::nullopt;
  }
  return id;
}

CommandReading ReadAdd(std::span<const std::string> words) {
  if (words.empty()) return Wrong(kMissingKindText);
  const KindEntry* entry = nullptr;
  for (const KindEntry& kind : kKinds) {
    if (words[0] == kind.word) entry = &kind;
  }
  if (!entry) return Wrong(QuotedError(kUnknownKindText, words[0]));
  const WhenReading when = ReadWhen(words.subspan(1));
  if (!when.when) return Wrong(when.error);

  AddCommand add{entry->kind, *when.when, {}, RepeatKind::None};
  bool paramGiven = false;
  bool repeatGiven = false;
  for (std::size_t at = 1 + when.wordsUsed; at < words.size(); at += 2) {
    const std::string& option = words[at];
    const bool isParam = option == "--text" || option == "--program" || option == "--url";
    if (!isParam && option != "--repeat") {
      return Wrong(
          QuotedError(option.starts_with("--") ? kUnknownOptionText : kExtraWordText, option));
    }
    if (at + 1 == words.size()) return Wrong(QuotedError(kMissingValueText, option));
    const std::string& value = words[at + 1];
    if (isParam) {
      if (option != kOptionWords[static_cast<int>(entry->option)]) {
        return Wrong(QuotedError(kOptionNotForKindText, option));
      }
      if (paramGiven) return Wrong(QuotedError(kOptionTwiceText, option));
      paramGiven = true;
      add.param = value;
      continue;
    }
    if (repeatGiven) return Wrong(QuotedError(kOptionTwiceText, option));
    repeatGiven = true;
    std::size_t kind = 1;
    while (kind < std::size(kRepeatWords) && kRepeatWords[kind] != value) ++kind;
    if (kind == std::size(kRepeatWords)) return Wrong(QuotedError(kBadRepeatText, value));
    // As on the panel: only a task due at a time of day comes back.
    if (std::holds_alternative<CountdownWhen>(add.when) ||
        std::holds_alternative<ProgramEndWhen>(add.when)) {
      return Wrong(kRepeatNeedsMomentText);
    }
    add.repeat = static_cast<RepeatKind>(kind);
  }
  if (entry->optionRequired && !paramGiven) {
    return Wrong(entry->option == ParamOption::Url ? kNeedsUrlText : kNeedsProgramText);
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
    const char* what = word == "--json"         ? kOptionTwiceText
                       : word.starts_with("--") ? kUnknownOptionText
                                                : kExtraWordText;
    return Wrong(QuotedError(what, word));
  }
  return {list, {}};
}

CommandReading ReadCancel(std::span<const std::string> words) {
  if (words.empty()) return Wrong(kMissingIdText);
  if (words.size() > 1) return Wrong(QuotedError(kExtraWordText, words[1]));
  if (words[0] == "all") return {CancelCommand{}, {}};
  const auto id = ReadId(words[0]);
  if (!id) return Wrong(QuotedError(kBadIdText, words[0]));
  return {CancelCommand{*id}, {}};
}

CommandReading ReadPostpone(std::span<const std::string> words) {
  if (words.empty()) return Wrong(kMissingIdText);
  const auto id = ReadId(words[0]);
  if (!id) return Wrong(QuotedError(kBadIdText, words[0]));
  if (words.size() < 2) return Wrong(kMissingDurationText);
  if (words.size() > 2) return Wrong(QuotedError(kExtraWordText, words[2]));
  const auto minutes = ParseDurationMinutes(words[1]);
  if (!minutes || *minutes < 1) return Wrong(QuotedError(kBadDurationText, words[1]));
  return {PostponeCommand{*id, *minutes}, {}};
}

}  // namespace

CommandReading ReadCommand(std::span<const std::string> words) {
  if (words.empty()) return Wrong(kHelpText);
  if (words[0] == "--help" || words[0] == "help" || words[0] == "/?") return {HelpCommand{}, {}};
  const std::span<const std::string> rest = words.subspan(1);
  if (words[0] == "add") return ReadAdd(rest);
  if (words[0] == "list") return ReadList(rest);
  if (words[0] == "cancel") return ReadCancel(rest);
  if (words[0] == "postpone") return ReadPostpone(rest);
  return Wrong(QuotedError(kUnknownCommandText, words[0]));
}

const char* KindWord(TaskKind kind) {
  for (const KindEntry& entry : kKinds) {
    if (entry.kind == kind) return entry.word.data();
  }
  return "";
}

const char* RepeatWord(RepeatKind kind) {
  return kRepeatWords[static_cast<std::size_t>(kind)].data();
}
