#pragma once

#include <map>

#include "platform/machine_activity.h"
#include "platform/presence_sensor.h"
#include "scheduler/queue_observer.h"
#include "scheduler/task_listing.h"
#include "scheduler/waiting_progress.h"
#include "triggers/activity_meter.h"
#include "triggers/network_quiet.h"
#include "triggers/no_input.h"

// Dates the tasks that wait for a quiet network or for nobody at the
// computer once their condition holds: due at once, or a shut-down, restart,
// log-off or sleep half a minute later, with its warning. Input before a
// "无人操作时" task is performed sends it back to waiting: the user is back.
// One sample of each kind per tick, taken only while a task needs it; tasks
// with the same values share one decision, which starts again once they fire.
class ConditionWatch : public QueueObserver, public WaitingProgress {
 public:
  ConditionWatch(MachineActivity& activity, PresenceSensor& presence, TaskListing& tasks)
      : activity_(activity), presence_(presence), tasks_(tasks) {}

  // Every tick, before the due tasks are run; the rows show the new figures.
  void Follow(DateTime now);
  void QueueChanged(const TaskQueue& queue) override;
  [[nodiscard]] WaitProgress ProgressOf(const Task& task) const override;

 private:
  void Sample();
  // The tasks whose condition holds, dated; the "无人操作时" tasks whose user
  // came back, waiting again.
  void DateOrSendBack(DateTime now);

  MachineActivity& activity_;
  PresenceSensor& presence_;
  TaskListing& tasks_;
  ActivityMeter meter_;
  std::optional<std::uint64_t> bytesPerSecond_;
  std::map<NetworkQuietTrigger, NetworkQuiet> networkQuiet_;
  std::map<NoInputTrigger, NoInput> noInput_;
};
