#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/processes.h"
#include "scheduler/queue_observer.h"
#include "scheduler/task_listing.h"

// When a task that waited for a program's end is due, seen at `now`: after its
// delay, and a shut-down, restart or log-off not before its half-minute warning.
[[nodiscard]] DateTime ProgramEndDueMoment(TaskKind kind, int delayMinutes, DateTime now);

// Holds the processes that tasks wait for, one handle each, and turns a
// waiting task into a dated one once its process has ended. A tick asks each
// kept handle once, without waiting and without a snapshot. A task from the
// saved list is bound again at the first tick to the process of its id and
// start time; when that process is gone, the task is due at once.
class ProgramEndWatch : public QueueObserver {
 public:
  ProgramEndWatch(Processes& processes, TaskListing& tasks)
      : processes_(processes), tasks_(tasks) {}

  // The picked process, held from now on for a task about to be added; none
  // when it cannot be opened to be waited for.
  [[nodiscard]] std::optional<ProgramEndTrigger> Watch(std::uint32_t processId,
                                                       std::string_view pickerText,
                                                       int delayMinutes);
  // Every tick, before the due tasks are run.
  void Follow(DateTime now);
  // A process no waiting task names any more is let go.
  void QueueChanged(const TaskQueue& queue) override;

 private:
  using ProcessKey = std::pair<std::uint32_t, std::uint64_t>;
  [[nodiscard]] static ProcessKey KeyOf(const ProgramEndTrigger& trigger) {
    return {trigger.ProcessId, trigger.StartTime};
  }
  // The handle of a trigger read from the saved list; none when its process is gone.
  [[nodiscard]] Processes::WatchedProcess* BindAgain(const ProgramEndTrigger& trigger);

  Processes& processes_;
  TaskListing& tasks_;
  std::map<ProcessKey, std::unique_ptr<Processes::WatchedProcess>> watched_;
};
