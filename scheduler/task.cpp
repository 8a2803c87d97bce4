#include "scheduler/task.h"

#include "language/language.h"
#include "scheduler/condition_texts.h"
#include "scheduler/moment_text.h"
#include "scheduler/task_kinds.h"

bool IsWaitingForCondition(const Task& task) {
  return HasCondition(task) && CompareDateTime(task.When, kWaitingMoment) == 0;
}

int CompareTasksByWhen(const Task& a, const Task& b) { return CompareDateTime(a.When, b.When); }

std::string ProgramEndTrigger::Label() const {
  return WindowTitle.empty() ? ImageName : WindowTitle + "|" + ImageName;
}

void ProgramEndTrigger::SetLabel(std::string_view label) {
  const std::size_t bar = label.rfind('|');
  ImageName = label.substr(bar == std::string_view::npos ? 0 : bar + 1);
  WindowTitle = bar == std::string_view::npos ? std::string_view() : label.substr(0, bar);
}

namespace {

// The caption's second line: when the task is due, or what it waits for.
std::string MomentLine(const Task& task, const Clock& clock, const WaitProgress& progress) {
  if (IsWaitingForProgram(task)) {
    return FormatText(TextId::WaitingForProgramRow, {task.AfterProgram.Label()});
  }
  if (IsWaitingForCondition(task)) return WaitingRowText(task.Condition, progress);
  // The user may still stop it from the keyboard or the mouse.
  if (std::holds_alternative<NoInputTrigger>(task.Condition)) {
    return MomentText(clock, task.When) + " " + std::string(Text(TextId::BackToWaiting));
  }
  return MomentText(clock, task.When);
}

}  // namespace

std::string TaskRowCaption(const Task& task, const Clock& clock, const WaitProgress& progress) {
  const std::string moment = MomentLine(task, clock, progress);
  // A series names itself on the first line, and its next moment below.
  const std::string repeat = RepeatText(task.Repeat);
  // The kinds that take a parameter end their first line with it.
  const TaskKindTraits& kind = TraitsOf(task.Kind);
  const std::string prefix(Text(kind.captionPrefix));
  if (kind.parameter != TaskParameter::None) {
    return prefix + (repeat.empty() ? "" : repeat + " ") + task.Param + "\r\n" + moment;
  }
  return prefix + (repeat.empty() ? moment : repeat + "\r\n" + moment);
}
