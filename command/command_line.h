#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "command/when_words.h"
#include "scheduler/repeat.h"
#include "scheduler/task.h"

// The commands of dusk-cli (and of "Dusk.exe add"), read from their words.

struct AddCommand {
  TaskKind kind = TaskKind::TurnOff;
  When when;
  // The task's parameter: the reminder, the program, the address; empty for
  // the kinds without one.
  std::string param;
  RepeatKind repeat = RepeatKind::None;
};
struct ListCommand {
  bool json = false;
};
struct CancelCommand {
  std::optional<std::uint32_t> id;  // none: every task
};
struct PostponeCommand {
  std::uint32_t id = 0;
  long long minutes = 0;
};
struct HelpCommand {};

using Command = std::variant<AddCommand, ListCommand, CancelCommand, PostponeCommand, HelpCommand>;

struct CommandReading {
  std::optional<Command> command;
  std::string error;  // why the words make no command, when they do not
};

// The words after the program's name, in UTF-8.
[[nodiscard]] CommandReading ReadCommand(std::span<const std::string> words);

// The option that carries the kind's parameter: "--text", "--program" or
// "--url"; nullptr for a kind without one.
[[nodiscard]] const char* ParameterOption(TaskKind kind);
// The word a script names the kind by: "shutdown", "alarm", ...
[[nodiscard]] const char* KindWord(TaskKind kind);
// "daily", "weekdays", "weekly"; empty without a repeat.
[[nodiscard]] const char* RepeatWord(RepeatKind kind);
