#include "triggers/program_end_watch.h"

#include <algorithm>

#include "scheduler/elapsed_time.h"
#include "scheduler/task_kinds.h"
#include "scheduler/tick.h"

DateTime ProgramEndDueMoment(TaskKind kind, int delayMinutes, DateTime now, const TimeZone& zone) {
  // The delay is a countdown: its minutes pass whatever the wall clock does.
  const DateTime due = ElapsedMinutesLater(now, delayMinutes, zone);
  if (!IsPowerAction(kind)) return due;
  return std::max(due, now + static_cast<double>(kWarningLeadSeconds) / kSecondsPerDay);
}

std::optional<ProgramEndTrigger> ProgramEndWatch::Watch(std::uint32_t processId,
                                                        std::uint64_t startTime,
                                                        std::string_view pickerText,
                                                        int delayMinutes) {
  ProgramEndTrigger trigger;
  trigger.SetLabel(pickerText);
  // The image name is what marks the task as waiting, and names it in the saved list.
  if (trigger.ImageName.empty()) return std::nullopt;
  // Without a start time the process picked cannot be told from a stranger.
  if (startTime == 0) return std::nullopt;
  std::unique_ptr<Processes::WatchedProcess> process = processes_.OpenToWatch(processId);
  // Ended between the listing and the add, its id perhaps passed on: nothing
  // is left to wait for.
  if (!process || process->StartTime() != startTime || process->HasEnded()) return std::nullopt;
  trigger.ProcessId = processId;
  trigger.StartTime = startTime;
  trigger.DelayMinutes = std::clamp(delayMinutes, 0, kMaxProgramEndDelayMinutes);
  (void)Keep(trigger, std::move(process));
  return trigger;
}

bool ProgramEndWatch::Keep(const ProgramEndTrigger& trigger,
                           std::unique_ptr<Processes::WatchedProcess> process) {
  // A second task for the same process shares the handle kept first.
  if (!watched_.try_emplace(KeyOf(trigger), std::move(process)).second) return false;
  ListHandles();
  return true;
}

void ProgramEndWatch::ListHandles() {
  handles_.clear();
  handleKeys_.clear();
  for (const auto& [key, process] : watched_) {
    handles_.push_back(process.get());
    handleKeys_.push_back(key);
  }
}

void ProgramEndWatch::BindAgain(DateTime now, std::vector<Ended>& ended,
                                std::vector<Task>& missed) {
  const TaskQueue& queue = tasks_.Queue();
  for (std::size_t i = 0; i < queue.Count(); ++i) {
    const Task& task = queue.At(i);
    if (!IsWaitingForProgram(task) || watched_.contains(KeyOf(task.AfterProgram))) continue;
    std::unique_ptr<Processes::WatchedProcess> process =
        processes_.OpenToWatch(task.AfterProgram.ProcessId);
    if (process && process->StartTime() == task.AfterProgram.StartTime && !process->HasEnded()) {
      (void)Keep(task.AfterProgram, std::move(process));
    } else if (IsPowerAction(task.Kind)) {
      missed.push_back(task);
    } else {
      ended.push_back({task, ProgramEndDueMoment(task.Kind, 0, now, timeZone_)});
    }
  }
}

std::vector<Task> ProgramEndWatch::Follow(DateTime now) {
  std::vector<Ended> ended;
  std::vector<Task> missed;
  if (std::exchange(unbound_, false)) BindAgain(now, ended, missed);
  const std::vector<bool> which =
      handles_.empty() ? std::vector<bool>() : processes_.WhichEnded(handles_);
  std::vector<ProcessKey> endedKeys;
  for (std::size_t i = 0; i < which.size(); ++i) {
    if (which[i]) endedKeys.push_back(handleKeys_[i]);
  }
  if (!endedKeys.empty()) {
    const TaskQueue& queue = tasks_.Queue();
    for (std::size_t i = 0; i < queue.Count(); ++i) {
      const Task& task = queue.At(i);
      if (IsWaitingForProgram(task) && std::find(endedKeys.begin(), endedKeys.end(),
                                                 KeyOf(task.AfterProgram)) != endedKeys.end()) {
        ended.push_back(
            {task, ProgramEndDueMoment(task.Kind, task.AfterProgram.DelayMinutes, now, timeZone_)});
      }
    }
  }
  // In queue order, which is the order they were added.
  for (const Ended& e : ended) {
    Task due = e.task;
    due.When = e.due;
    due.AfterProgram = {};
    tasks_.Replace(e.task, std::move(due));
  }
  for (const Task& task : missed) tasks_.Finish(task, now);
  return missed;
}

void ProgramEndWatch::QueueChanged(const TaskQueue& queue) {
  std::map<ProcessKey, std::unique_ptr<Processes::WatchedProcess>> kept;
  for (std::size_t i = 0; i < queue.Count(); ++i) {
    if (!IsWaitingForProgram(queue.At(i))) continue;
    const ProcessKey key = KeyOf(queue.At(i).AfterProgram);
    if (kept.contains(key)) continue;
    const auto found = watched_.find(key);
    if (found == watched_.end()) {
      unbound_ = true;
    } else {
      kept.insert(watched_.extract(found));
    }
  }
  watched_ = std::move(kept);
  ListHandles();
}
