#include "scheduler/wake_keeper.h"

void WakeKeeper::QueueChanged(const TaskQueue& queue) {
  // A task waiting for a program's end or a condition has no moment to wake for.
  head_ =
      queue.Empty() || IsWaiting(queue.Head()) ? std::nullopt : std::optional(queue.Head().When);
  // The computer must not sleep before the download ends or the user leaves.
  waitingForCondition_ = false;
  for (std::size_t i = 0; i < queue.Count(); ++i) {
    if (IsWaitingForCondition(queue.At(i))) waitingForCondition_ = true;
  }
  Follow(clock_.Now());
}

void WakeKeeper::Follow(DateTime now) {
  // A refused timer is asked for again here, at the next tick.
  if (head_ != askedFor_ || !timerHeld_) ArmFor(head_);
  KeepAwakeWhileClose(now);
}

void WakeKeeper::AfterClockJump(DateTime now) {
  ArmFor(head_);
  KeepAwakeWhileClose(now);
}

void WakeKeeper::KeepAwakeWhileClose(DateTime now) {
  // A late head counts as close: the tick is about to handle it.
  const bool wanted =
      waitingForCondition_ || (head_ && CompareDateTime(*head_, now + kAwakeAheadDays) <= 0);
  if (wanted == keptAwake_) return;
  // Refused: the system may sleep as before, and the next tick asks again.
  if (power_.KeepSystemAwake(wanted)) keptAwake_ = wanted;
}

void WakeKeeper::ArmFor(std::optional<DateTime> head) {
  askedFor_ = head;
  if (!head) {
    power_.CancelWakeTimer();
    timerHeld_ = true;
    return;
  }
  // Without wake timers the head is handled when the computer wakes anyway.
  timerHeld_ = power_.ArmWakeTimer(*head - kWakeEarlySeconds / kSecondsPerDay);
}
