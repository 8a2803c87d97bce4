#include "scheduler/tick.h"

std::string HeadlinePrefix(std::int64_t seconds) {
  if (seconds <= 60) return std::to_string(seconds) + "秒后";
  if (seconds < 3600) return std::to_string(seconds / 60) + "分钟后";
  return std::to_string(seconds / 3600) + "小时" + std::to_string(seconds % 3600 / 60) + "分钟后";
}

const char* HeadlineKindText(TaskKind kind) {
  switch (kind) {
    case TaskKind::TurnOff:
      return "关机。     ";
    case TaskKind::Restart:
      return "重启电脑。     ";
    case TaskKind::LogOff:
      return "注销。     ";
    case TaskKind::Alarm:
      return "闹钟响起。     ";
    case TaskKind::OpenProgram:
      return "打开软件。      ";
    case TaskKind::CloseProgram:
      return "关闭软件。    ";
    case TaskKind::OpenWebPage:
      return "打开网页。   ";
  }
  return "";
}

HeadVerdict JudgeHead(DateTime when, DateTime now) {
  const std::int64_t distance = WholeSecondsApart(when, now);
  if (when < now && distance >= 1) {
    return distance <= kLatestLatePerformSeconds ? HeadVerdict::PerformLate : HeadVerdict::Drop;
  }
  if (distance == 0) return HeadVerdict::Perform;
  if (distance == 30) return HeadVerdict::Warn;
  return HeadVerdict::Wait;
}

std::string MissedTasksText(const std::vector<Task>& missed, const Clock& clock) {
  if (missed.size() == 1) return "错过的任务：" + TaskRowCaption(missed.front(), clock);
  std::string text = "错过的" + std::to_string(missed.size()) + "个任务：";
  for (const Task& task : missed) text += "\r\n" + TaskRowCaption(task, clock);
  return text;
}

void DueTaskRunner::Perform(const Task& task) {
  actions_.PerformTask(task);
  tasks_.Remove(task);
}

void DueTaskRunner::ReportMissed(const std::vector<Task>& missed,
                                 std::uint64_t balloonsBeforeTick) {
  if (missed.empty()) return;
  const std::string text = MissedTasksText(missed, clock_);
  if (trayIcon_.BalloonsShown() != balloonsBeforeTick && !trayIcon_.BalloonTitle().empty()) {
    // Copies: the tray icon clears its own record of the balloon first.
    const std::string title = trayIcon_.BalloonTitle();
    trayIcon_.ShowBalloonHint(title, trayIcon_.BalloonText() + "\r\n" + text,
                              trayIcon_.BalloonIcon());
    return;
  }
  trayIcon_.ShowBalloonHint(balloonTitle_, text);
}

void DueTaskRunner::Warn(const Task& task) {
  if (warnedInThisSecond_ == task) return;
  actions_.WarnTaskDue(task);
  warnedInThisSecond_ = task;
}

void DueTaskRunner::Run(DateTime now) {
  // After a task performed in its own second, the headline keeps saying
  // "0秒后..." until the next tick, as the user expects to see it go.
  bool keepHeadline = false;
  std::vector<Task> missed;
  const std::uint64_t balloonsBeforeTick = trayIcon_.BalloonsShown();
  while (!tasks_.Queue().Empty()) {
    const Task head = tasks_.Queue().Head();
    const HeadVerdict verdict = JudgeHead(head.When, now);
    switch (verdict) {
      case HeadVerdict::PerformLate:
        Perform(head);
        continue;
      case HeadVerdict::Drop:
        tasks_.RemoveHead();
        missed.push_back(head);
        continue;
      case HeadVerdict::Wait:
      case HeadVerdict::Warn:
      case HeadVerdict::Perform:
        break;
    }
    if (!keepHeadline) {
      title_.SetText(HeadlinePrefix(WholeSecondsApart(head.When, now)) +
                     HeadlineKindText(head.Kind));
    }
    if (verdict == HeadVerdict::Warn) {
      Warn(head);
    } else {
      warnedInThisSecond_.reset();
    }
    if (verdict != HeadVerdict::Perform) break;
    Perform(head);
    keepHeadline = true;
  }
  if (tasks_.Queue().Empty() && !keepHeadline) title_.SetText(kEmptyQueueHeadline);
  ReportMissed(missed, balloonsBeforeTick);
}
