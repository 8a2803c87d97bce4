#pragma once

#include "scheduler/task_queue.h"

// Told after every change of the pending tasks (an add, a delete, a task
// performed, dropped or moved), once the list and the tray hint show it.
class QueueObserver {
 public:
  QueueObserver() = default;
  QueueObserver(const QueueObserver&) = delete;
  QueueObserver& operator=(const QueueObserver&) = delete;
  virtual ~QueueObserver() = default;
  virtual void QueueChanged(const TaskQueue& queue) = 0;
};
