#include "scheduler/program_end_watch.h"

#include <algorithm>
#include <vector>

#include "scheduler/tick.h"

DateTime ProgramEndDueMoment(TaskKind kind, int delayMinutes, DateTime now) {
  // On the minute scale, as a countdown's moment is worked out.
  const DateTime due = (now * kMinutesPerDay + delayMinutes) / kMinutesPerDay;
  if (!IsPowerAction(kind)) return due;
  return std::max(due, now + static_cast<double>(kLatePowerActionWarningSeconds) / kSecondsPerDay);
}

std::optional<ProgramEndTrigger> ProgramEndWatch::Watch(std::uint32_t processId,
                                                        std::string_view pickerText,
                                                        int delayMinutes) {
  std::unique_ptr<Processes::WatchedProcess> process = processes_.OpenToWatch(processId);
  // Ended between the listing and the add: nothing is left to wait for.
  if (!process || process->HasEnded()) return std::nullopt;
  ProgramEndTrigger trigger;
  trigger.SetLabel(pickerText);
  trigger.ProcessId = processId;
  trigger.StartTime = process->StartTime();
  trigger.DelayMinutes = std::clamp(delayMinutes, 0, kMaxProgramEndDelayMinutes);
  watched_.try_emplace(KeyOf(trigger), std::move(process));
  return trigger;
}

Processes::WatchedProcess* ProgramEndWatch::BindAgain(const ProgramEndTrigger& trigger) {
  std::unique_ptr<Processes::WatchedProcess> process = processes_.OpenToWatch(trigger.ProcessId);
  if (!process || process->StartTime() != trigger.StartTime || process->HasEnded()) return nullptr;
  return watched_.try_emplace(KeyOf(trigger), std::move(process)).first->second.get();
}

void ProgramEndWatch::Follow(DateTime now) {
  struct Ended {
    Task task;
    DateTime due;
  };
  std::vector<Ended> ended;
  const TaskQueue& queue = tasks_.Queue();
  // The waiting tasks sort after every dated one.
  for (std::size_t i = queue.Count(); i-- > 0 && IsWaitingForProgram(queue.At(i));) {
    const Task& task = queue.At(i);
    const auto found = watched_.find(KeyOf(task.AfterProgram));
    if (found == watched_.end()) {
      if (!BindAgain(task.AfterProgram))
        ended.push_back({task, ProgramEndDueMoment(task.Kind, 0, now)});
      continue;
    }
    if (found->second->HasEnded()) {
      ended.push_back({task, ProgramEndDueMoment(task.Kind, task.AfterProgram.DelayMinutes, now)});
    }
  }
  // In the order they were added.
  std::reverse(ended.begin(), ended.end());
  for (Ended& e : ended) {
    Task due = e.task;
    due.When = e.due;
    due.AfterProgram = {};
    tasks_.Replace(e.task, std::move(due));
  }
}

void ProgramEndWatch::QueueChanged(const TaskQueue& queue) {
  if (watched_.empty()) return;
  std::map<ProcessKey, std::unique_ptr<Processes::WatchedProcess>> kept;
  for (std::size_t i = queue.Count(); i-- > 0 && IsWaitingForProgram(queue.At(i));) {
    const auto found = watched_.find(KeyOf(queue.At(i).AfterProgram));
    if (found != watched_.end()) kept.insert(watched_.extract(found));
  }
  watched_ = std::move(kept);
}
