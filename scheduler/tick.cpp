#include "scheduler/tick.h"

#include "scheduler/condition_texts.h"

std::string HeadlinePrefix(std::int64_t seconds) {
  if (seconds <= 60) return std::to_string(seconds) + "秒后";
  if (seconds < 3600) return std::to_string(seconds / 60) + "分钟后";
  return std::to_string(seconds / 3600) + "小时" + std::to_string(seconds % 3600 / 60) + "分钟后";
}

namespace {

std::string ConditionHeadline(const Task& head, const WaitProgress& progress) {
  const char* kindText = TraitsOf(head.Kind).headlineText;
  if (std::holds_alternative<NoInputTrigger>(head.Condition)) {
    return kNoInputHeadlineText + HeadlinePrefix(SecondsToGo(head.Condition, progress)) + kindText;
  }
  std::string text = std::string(kNetworkQuietModeText) + kindText;
  if (!progress.bytesPerSecond) return text;
  text.erase(text.find_last_not_of(' ') + 1);
  return text + RateText(*progress.bytesPerSecond) + "     ";
}

}  // namespace

// What the headline says of the task at the head of the list.
std::string HeadTaskHeadline(const Task& head, DateTime now, const WaitProgress& progress) {
  if (IsWaitingForProgram(head))
    return std::string("程序结束后") + TraitsOf(head.Kind).headlineText;
  if (IsWaitingForCondition(head)) return ConditionHeadline(head, progress);
  return HeadlinePrefix(WholeSecondsApart(head.When, now)) + TraitsOf(head.Kind).headlineText;
}

std::string CountdownText(std::int64_t seconds, TaskKind kind) {
  std::string text = HeadlinePrefix(seconds) + TraitsOf(kind).headlineText;
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string TimeLeftText(std::int64_t seconds, TaskKind kind) {
  std::string text = "还有";
  const std::int64_t minutes = seconds / 60;
  if (minutes == 0) {
    text += "不到1分钟";
  } else if (minutes >= 1440) {
    text += std::to_string(minutes / 1440) + "天";
    if (minutes % 1440 >= 60) text += std::to_string(minutes % 1440 / 60) + "小时";
  } else {
    if (minutes >= 60) text += std::to_string(minutes / 60) + "小时";
    if (minutes % 60 > 0) text += std::to_string(minutes % 60) + "分钟";
  }
  const std::string_view kindText = TraitsOf(kind).headlineText;
  return text + std::string(kindText.substr(0, kindText.find("。")));
}

HeadVerdict JudgeHead(DateTime when, DateTime now) {
  const std::int64_t distance = WholeSecondsApart(when, now);
  if (when < now && distance >= 1) {
    return distance <= kLatestLatePerformSeconds ? HeadVerdict::PerformLate : HeadVerdict::Drop;
  }
  if (distance == 0) return HeadVerdict::Perform;
  if (distance == kWarningLeadSeconds) return HeadVerdict::Warn;
  return HeadVerdict::Wait;
}

std::string MissedTasksText(const std::vector<Task>& missed, const Clock& clock) {
  if (missed.size() == 1) return "错过的任务：" + TaskRowCaption(missed.front(), clock);
  std::string text = "错过的" + std::to_string(missed.size()) + "个任务：";
  for (const Task& task : missed) text += "\r\n" + TaskRowCaption(task, clock);
  return text;
}

std::string FailedTasksText(const std::vector<FailedTask>& failed, const Clock& clock) {
  if (failed.size() == 1) {
    return "未能执行的任务：" + TaskRowCaption(failed.front().task, clock) + "\r\n" +
           failed.front().reason;
  }
  std::string text = "未能执行的" + std::to_string(failed.size()) + "个任务：";
  for (const FailedTask& f : failed) {
    text += "\r\n" + TaskRowCaption(f.task, clock) + "\r\n" + f.reason;
  }
  return text;
}

void ShowTaskReport(TrayIcon& trayIcon, const std::string& title, const std::string& report,
                    std::uint64_t balloonsBefore) {
  if (report.empty()) return;
  if (trayIcon.BalloonsShown() != balloonsBefore && !trayIcon.BalloonTitle().empty()) {
    // Copies: the tray icon clears its own record of the balloon first.
    const std::string shownTitle = trayIcon.BalloonTitle();
    trayIcon.ShowBalloonHint(shownTitle, trayIcon.BalloonText() + "\r\n" + report,
                             trayIcon.BalloonIcon());
    return;
  }
  trayIcon.ShowBalloonHint(title, report);
}

void DueTaskRunner::Perform(const Task& task, std::vector<FailedTask>& failed) {
  // Out of the queue before the action starts: a sleep returns only after the
  // wake, and the list saved and the wake timer armed must be the ones without
  // this task by then.
  tasks_.Finish(task, clock_.Now());
  if (std::optional<std::string> failure = actions_.PerformTask(task)) {
    failed.push_back({task, std::move(*failure)});
  }
}

void DueTaskRunner::Warn(const Task& task) {
  if (warnedInThisSecond_ == task) return;
  actions_.WarnTaskDue(task);
  warnedInThisSecond_ = task;
}

void DueTaskRunner::ShowHeadline(DateTime now) {
  const TaskQueue& queue = tasks_.Queue();
  title_.SetText(queue.Empty()
                     ? std::string(kEmptyQueueHeadline)
                     : HeadTaskHeadline(queue.Head(), now, tasks_.ProgressOf(queue.Head())));
  ShowTimeLeftInHint(now);
}

void DueTaskRunner::ShowTimeLeftInHint(DateTime now) {
  const TaskQueue& queue = tasks_.Queue();
  if (queue.Empty()) {
    // The list leaves the last task's caption in the hint; the time it told
    // went with the task.
    if (!lastCaption_.empty()) trayIcon_.SetHint(lastCaption_);
    return;
  }
  const Task& head = queue.Head();
  lastCaption_ = TaskRowCaption(head, clock_, tasks_.ProgressOf(head));
  // A task that waits (for a program, a quiet network, nobody at the computer)
  // has no time to tell: its row says how it waits.
  if (CompareDateTime(head.When, kWaitingMoment) == 0) return;
  trayIcon_.SetHint(TimeLeftText(WholeSecondsApart(head.When, now), head.Kind) + "\r\n" +
                    lastCaption_);
}

namespace {

// A dated task on the waiting moment's day sorts after the waiting tasks.
const Task* FirstDatedTask(const TaskQueue& queue) {
  for (std::size_t i = 0; i < queue.Count(); ++i) {
    if (!IsWaiting(queue.At(i))) return &queue.At(i);
  }
  return nullptr;
}

}  // namespace

void DueTaskRunner::Run(DateTime now) {
  // The program-end watch dates the tasks whose process ended; a power task
  // whose process ended before this start is missed.
  const std::vector<Task> missedWaiting = waiting_.Follow(now);
  std::vector<Task> missed;
  // After a task performed in its own second, the headline keeps saying
  // "0秒后..." until the next tick, as the user expects to see it go.
  bool keepHeadline = false;
  std::vector<FailedTask> failed;
  const std::uint64_t balloonsBeforeTick = trayIcon_.BalloonsShown();
  while (const Task* next = FirstDatedTask(tasks_.Queue())) {
    const Task head = *next;
    const HeadVerdict verdict = JudgeHead(head.When, now);
    if (verdict == HeadVerdict::PerformLate && IsPowerAction(head.Kind)) {
      tasks_.Reschedule(head, now + static_cast<double>(kWarningLeadSeconds) / kSecondsPerDay);
      continue;
    }
    switch (verdict) {
      case HeadVerdict::PerformLate:
        Perform(head, failed);
        continue;
      case HeadVerdict::Drop:
        tasks_.Finish(head, now);
        missed.push_back(head);
        continue;
      case HeadVerdict::Wait:
      case HeadVerdict::Warn:
      case HeadVerdict::Perform:
        break;
    }
    if (verdict == HeadVerdict::Warn) {
      Warn(head);
    } else {
      warnedInThisSecond_.reset();
    }
    if (verdict != HeadVerdict::Perform) break;
    if (!keepHeadline) title_.SetText(HeadTaskHeadline(head, now, {}));
    keepHeadline = true;
    Perform(head, failed);
  }
  // No dated task is left to count down to, only waiting ones, if any.
  if (!FirstDatedTask(tasks_.Queue())) warnedInThisSecond_.reset();
  if (!keepHeadline) ShowHeadline(now);
  // The waiting tasks sort after the dated ones.
  missed.insert(missed.end(), missedWaiting.begin(), missedWaiting.end());
  std::string report = missed.empty() ? "" : MissedTasksText(missed, clock_);
  if (!failed.empty()) report += (report.empty() ? "" : "\r\n") + FailedTasksText(failed, clock_);
  ShowTaskReport(trayIcon_, balloonTitle_, report, balloonsBeforeTick);
}
