#include "scheduler/wake_keeper.h"

void WakeKeeper::QueueChanged(const TaskQueue& queue) {
  // A task waiting for a program's end has no moment to wake for.
  head_ = queue.Empty() || IsWaitingForProgram(queue.Head()) ? std::nullopt
                                                             : std::optional(queue.Head().When);
  if (head_ != armedFor_) ArmFor(head_);
  Follow(clock_.Now());
}

void WakeKeeper::Follow(DateTime now) {
  // A late head counts as close: the tick is about to handle it.
  const bool wanted = head_ && CompareDateTime(*head_, now + kAwakeAheadDays) <= 0;
  if (wanted == keptAwake_) return;
  keptAwake_ = wanted;
  // Refused: the system may sleep as before, and the next change asks again.
  (void)power_.KeepSystemAwake(wanted);
}

void WakeKeeper::AfterClockJump(DateTime now) {
  ArmFor(head_);
  Follow(now);
}

void WakeKeeper::ArmFor(std::optional<DateTime> head) {
  armedFor_ = head;
  if (!head) {
    power_.CancelWakeTimer();
    return;
  }
  // Without wake timers the head is handled when the computer wakes anyway.
  (void)power_.ArmWakeTimer(*head - kWakeEarlySeconds / kSecondsPerDay);
}
