#include "main/command_runner.h"

#include "command/task_report.h"
#include "language/language.h"
#include "main/entry_texts.h"
#include "main/task_entry.h"
#include "process/image_name.h"
#include "scheduler/elapsed_time.h"

namespace {

template <typename... Branches>
struct Overloaded : Branches... {
  using Branches::operator()...;
};

CommandReply Refused(std::string reason) {
  return {ExitCode::Refused, {}, std::move(reason) + "\n"};
}

// Today at that time of day, or tomorrow when it has passed today; a series
// starts at its first occurrence from today's.
DateTime EnteredTimeOfDay(const TimeOfDayWhen& at, RepeatKind repeat, DateTime now) {
  const DateTime today = AtTimeOfDay(now, at.hour, at.minute, at.second);
  if (repeat != RepeatKind::None || !IsPastMoment(today, now)) return today;
  return AtTimeOfDay(now + 1, at.hour, at.minute, at.second);
}

}  // namespace

CommandReply CommandRunner::Run(const std::vector<std::string>& words, bool& changed) {
  changed = false;
  const CommandReading reading = ReadCommand(words);
  if (!reading.command) return {ExitCode::WrongUsage, {}, reading.error + "\n"};
  const Command& command = *reading.command;
  if (const auto* add = std::get_if<AddCommand>(&command)) return Add(*add, changed);
  if (const auto* list = std::get_if<ListCommand>(&command)) {
    return {ExitCode::Done,
            list->json ? TaskListJson(tasks_.Queue()) : TaskListText(tasks_.Queue()),
            {}};
  }
  if (const auto* cancel = std::get_if<CancelCommand>(&command)) return Cancel(*cancel, changed);
  if (const auto* postpone = std::get_if<PostponeCommand>(&command)) {
    return Postpone(*postpone, changed);
  }
  return {ExitCode::Done, std::string(Text(TextId::CliHelp)), {}};
}

CommandReply CommandRunner::Add(const AddCommand& add, bool& changed) {
  const DateTime now = clock_.Now();
  Task task;
  task.Kind = add.kind;
  task.Param = add.kind == TaskKind::CloseProgram ? CloseProgramParam(add.param) : add.param;
  if (add.kind == TaskKind::OpenProgram && !HasProgramExtension(add.param)) {
    return Refused(kNotAProgramText);
  }
  const auto dated = [&](DateTime entered) -> const char* {
    const std::optional<DatedDue> due = DueForEnteredMoment(entered, add.repeat, now, timeZone_);
    if (!due) return kPastMomentText;
    task.When = due->when;
    task.Repeat = due->repeat;
    return nullptr;
  };
  const auto waiting = [&](WaitCondition condition) -> const char* {
    task.When = kWaitingMoment;
    task.Condition = std::move(condition);
    if (add.repeat == RepeatKind::EachTime) task.Repeat = {RepeatKind::EachTime, 0};
    return nullptr;
  };
  // One branch per form of `when`: a form another trigger adds does not build
  // until it has its own. Each sets the task's moment or trigger, or names the
  // panel's refusal.
  const char* refusal = std::visit(
      Overloaded{
          [&](const CountdownWhen& countdown) -> const char* {
            task.When = ElapsedMinutesLater(now, countdown.minutes, timeZone_);
            return nullptr;
          },
          [&](const TimeOfDayWhen& at) { return dated(EnteredTimeOfDay(at, add.repeat, now)); },
          [&](const MomentWhen& at) { return dated(EncodeDateTime(at.moment)); },
          [&](const ProgramEndWhen& end) -> const char* {
            std::optional<ProgramEndTrigger> trigger = WatchProgram(end);
            if (!trigger) return kCannotWaitText;
            task.When = kWaitingMoment;
            task.AfterProgram = std::move(*trigger);
            return nullptr;
          },
          [&](const DownloadsDoneWhen& done) { return waiting(done.trigger); },
          [&](const IdleWhen& idle) { return waiting(idle.trigger); },
      },
      add.when);
  if (refusal) return Refused(refusal);
  const std::uint32_t id = tasks_.Add(std::move(task));
  changed = true;
  return {ExitCode::Done, std::to_string(id) + "\n", {}};
}

std::optional<ProgramEndTrigger> CommandRunner::WatchProgram(const ProgramEndWhen& end) {
  for (const Processes::SnapshotEntry& entry : processes_.Snapshot()) {
    if (entry.processId == processes_.CurrentProcessId()) continue;
    const bool named = end.processId != 0 ? entry.processId == end.processId
                                          : ImageNameMatches(entry.exeFile, end.imageName);
    if (!named) continue;
    // The first process of the name in the snapshot's order, as the picker lists them.
    return programEnd_.Watch(entry.processId, processes_.StartTime(entry.processId),
                             FileNamePart(entry.exeFile), end.delayMinutes);
  }
  return std::nullopt;
}

CommandReply CommandRunner::Cancel(const CancelCommand& cancel, bool& changed) {
  if (!cancel.id) {
    changed = !tasks_.Queue().Empty();
    if (changed) tasks_.RemoveAll();
    return {};
  }
  const Task* task = tasks_.Queue().Find(*cancel.id);
  if (!task) return Refused(FormatText(TextId::CliNoSuchTask, {std::to_string(*cancel.id)}));
  // As the list's delete: the task leaves, a series with it.
  tasks_.Remove(Task(*task));
  changed = true;
  return {};
}

CommandReply CommandRunner::Postpone(const PostponeCommand& postpone, bool& changed) {
  const Task* task = tasks_.Queue().Find(postpone.id);
  if (!task) return Refused(FormatText(TextId::CliNoSuchTask, {std::to_string(postpone.id)}));
  if (IsWaitingForProgram(*task)) {
    return Refused(FormatText(TextId::CliWaitingTaskPostpone, {std::to_string(postpone.id)}));
  }
  // Later than it was due, in elapsed time: a series keeps its own time of day.
  const Task moved = *task;
  tasks_.Reschedule(moved, ElapsedMinutesLater(moved.When, postpone.minutes, timeZone_));
  changed = true;
  return {};
}
