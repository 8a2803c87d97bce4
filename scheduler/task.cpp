#include "scheduler/task.h"

#include "scheduler/moment_text.h"
#include "scheduler/task_kinds.h"

int CompareTasksByWhen(const Task& a, const Task& b) { return CompareDateTime(a.When, b.When); }

std::string ProgramEndTrigger::Label() const {
  return WindowTitle.empty() ? ImageName : WindowTitle + "|" + ImageName;
}

void ProgramEndTrigger::SetLabel(std::string_view label) {
  const std::size_t bar = label.rfind('|');
  ImageName = label.substr(bar == std::string_view::npos ? 0 : bar + 1);
  WindowTitle = bar == std::string_view::npos ? std::string_view() : label.substr(0, bar);
}

std::string TaskRowCaption(const Task& task, const Clock& clock) {
  const std::string moment = IsWaitingForProgram(task)
                                 ? "等待 " + task.AfterProgram.Label() + " 结束后"
                                 : MomentText(clock, task.When);
  // A series names itself on the first line, and its next moment below.
  const std::string repeat = RepeatText(task.Repeat);
  // The kinds that take a parameter end their first line with it.
  const TaskKindTraits& kind = TraitsOf(task.Kind);
  const char* prefix = kind.captionPrefix;
  if (kind.parameter != TaskParameter::None) {
    return prefix + (repeat.empty() ? "" : repeat + " ") + task.Param + "\r\n" + moment;
  }
  return prefix + (repeat.empty() ? moment : repeat + "\r\n" + moment);
}
