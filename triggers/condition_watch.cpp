#include "triggers/condition_watch.h"

#include <vector>

#include "scheduler/task_kinds.h"

namespace {

// Kept where the queue still names them, made for new ones, dropped otherwise.
template <typename Trigger, typename Decision>
void FollowQueue(const TaskQueue& queue, std::map<Trigger, Decision>& decisions) {
  std::map<Trigger, Decision> kept;
  for (std::size_t i = 0; i < queue.Count(); ++i) {
    const auto* trigger = std::get_if<Trigger>(&queue.At(i).Condition);
    if (!trigger || kept.contains(*trigger)) continue;
    const auto found = decisions.find(*trigger);
    if (found == decisions.end()) {
      kept.emplace(*trigger, Decision(*trigger));
    } else {
      kept.insert(decisions.extract(found));
    }
  }
  decisions = std::move(kept);
}

// The decision of a task in the queue: QueueChanged made one for each.
template <typename Trigger, typename Decision>
Decision& DecisionOf(std::map<Trigger, Decision>& decisions, const Trigger& trigger) {
  return decisions.find(trigger)->second;
}

}  // namespace

void ConditionWatch::QueueChanged(const TaskQueue& queue) {
  FollowQueue(queue, networkQuiet_);
  FollowQueue(queue, noInput_);
  // Measured again from the next sample: an old one would span a gap anyway.
  if (networkQuiet_.empty()) {
    meter_ = ActivityMeter();
    bytesPerSecond_.reset();
  }
}

void ConditionWatch::Sample() {
  if (!networkQuiet_.empty()) {
    const std::optional<ActivityInterval> interval = meter_.Add(activity_.Sample());
    if (interval) {
      for (auto& [trigger, decision] : networkQuiet_) decision.Add(*interval);
      bytesPerSecond_ = networkQuiet_.begin()->second.BytesPerSecond();
    }
  }
  if (!noInput_.empty()) {
    const PresenceSample sample = presence_.Sample();
    for (auto& [trigger, decision] : noInput_) decision.Add(sample);
  }
}

void ConditionWatch::DateOrSendBack(DateTime now) {
  struct Change {
    Task task;
    DateTime when;
  };
  std::vector<Change> changes;
  const TaskQueue& queue = tasks_.Queue();
  for (std::size_t i = 0; i < queue.Count(); ++i) {
    const Task& task = queue.At(i);
    bool holds = false;
    bool userBack = false;
    if (const auto* network = std::get_if<NetworkQuietTrigger>(&task.Condition)) {
      holds = DecisionOf(networkQuiet_, *network).Holds();
    } else if (const auto* idle = std::get_if<NoInputTrigger>(&task.Condition)) {
      holds = DecisionOf(noInput_, *idle).Holds();
      userBack = DecisionOf(noInput_, *idle).InputSeen();
    } else {
      continue;
    }
    if (IsWaitingForCondition(task)) {
      if (!holds) continue;
      // A power action is announced: its warning's half minute.
      const double lead = IsPowerAction(task.Kind) ? kWarningLeadSeconds / kSecondsPerDay : 0.0;
      changes.push_back({task, now + lead});
    } else if (userBack) {
      changes.push_back({task, kWaitingMoment});
    }
  }
  for (const Change& change : changes) {
    // Fired: the next wait of a "每次" task needs its minutes again.
    if (const auto* network = std::get_if<NetworkQuietTrigger>(&change.task.Condition)) {
      DecisionOf(networkQuiet_, *network).Restart();
    } else if (const auto* idle = std::get_if<NoInputTrigger>(&change.task.Condition)) {
      DecisionOf(noInput_, *idle).Restart();
    }
    tasks_.Reschedule(change.task, change.when);
  }
}

void ConditionWatch::Follow(DateTime now) {
  if (networkQuiet_.empty() && noInput_.empty()) return;
  Sample();
  DateOrSendBack(now);
  tasks_.RefreshCaptions();
}

WaitProgress ConditionWatch::ProgressOf(const Task& task) const {
  if (const auto* network = std::get_if<NetworkQuietTrigger>(&task.Condition)) {
    const auto found = networkQuiet_.find(*network);
    if (found == networkQuiet_.end()) return {};
    return {bytesPerSecond_, found->second.QuietMilliseconds()};
  }
  if (const auto* idle = std::get_if<NoInputTrigger>(&task.Condition)) {
    const auto found = noInput_.find(*idle);
    if (found == noInput_.end()) return {};
    return {std::nullopt, found->second.IdleMilliseconds()};
  }
  return {};
}
