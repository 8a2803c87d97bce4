#pragma once

#include <optional>

#include "platform/clock.h"
#include "platform/power_requests.h"
#include "scheduler/queue_observer.h"

// Keeps the computer from sleeping while a task is due within twelve hours or
// waits for a condition (a download's end, the user's leaving),
// and keeps a timer that wakes it a minute before the head task. It follows
// the queue as its observer and the passing of time through the tick, and
// asks the system only when what it wants changes, or again at the next tick
// while the system refuses. Where the system cannot wake, the tick still
// handles the task late, as ever.
class WakeKeeper : public QueueObserver {
 public:
  static constexpr double kAwakeAheadDays = 0.5;
  static constexpr double kWakeEarlySeconds = 60;

  WakeKeeper(PowerRequests& power, const Clock& clock) : power_(power), clock_(clock) {}

  void QueueChanged(const TaskQueue& queue) override;
  // Every tick: a task comes within twelve hours without any change.
  void Follow(DateTime now);
  // The clock jumped or the zone changed: the timer's absolute time is worked
  // out again from the head's local moment.
  void AfterClockJump(DateTime now);

 private:
  void ArmFor(std::optional<DateTime> head);
  void KeepAwakeWhileClose(DateTime now);

  PowerRequests& power_;
  const Clock& clock_;
  std::optional<DateTime> head_;
  bool waitingForCondition_ = false;
  // What the system granted: only that is not asked for again.
  bool keptAwake_ = false;
  // The head the timer was last set for (none: cancelled), and whether the
  // system set it.
  std::optional<DateTime> askedFor_;
  bool timerHeld_ = true;
};
