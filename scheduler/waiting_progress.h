#pragma once

#include "scheduler/task.h"

// How far the tasks that wait for a condition got, for their rows, the tray
// hint and the headline; the live figures change with every tick.
class WaitingProgress {
 public:
  WaitingProgress() = default;
  WaitingProgress(const WaitingProgress&) = delete;
  WaitingProgress& operator=(const WaitingProgress&) = delete;
  virtual ~WaitingProgress() = default;
  // Nothing seen yet for other tasks.
  [[nodiscard]] virtual WaitProgress ProgressOf(const Task& task) const = 0;
};

// For a listing whose tasks nothing watches.
class NoWaitingProgress : public WaitingProgress {
 public:
  [[nodiscard]] WaitProgress ProgressOf(const Task&) const override { return {}; }
};
