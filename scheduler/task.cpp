#include "scheduler/task.h"

#include "scheduler/moment_text.h"

bool IsPowerAction(TaskKind kind) {
  return kind == TaskKind::TurnOff || kind == TaskKind::Restart || kind == TaskKind::LogOff ||
         kind == TaskKind::Sleep;
}

int CompareTasksByWhen(const Task& a, const Task& b) { return CompareDateTime(a.When, b.When); }

std::string TaskRowCaption(const Task& task, const Clock& clock) {
  const std::string moment = MomentText(clock, task.When);
  // A series names itself on the first line, and its next moment below.
  const std::string repeat = RepeatText(task.Repeat);
  const auto withParam = [&](const char* prefix) {
    return prefix + (repeat.empty() ? "" : repeat + " ") + task.Param + "\r\n" + moment;
  };
  const auto alone = [&](const char* prefix) {
    return prefix + (repeat.empty() ? moment : repeat + "\r\n" + moment);
  };
  switch (task.Kind) {
    case TaskKind::TurnOff:
      return alone("关机：");
    case TaskKind::Restart:
      return alone("重启电脑：");
    case TaskKind::LogOff:
      return alone("注销：");
    case TaskKind::Sleep:
      return alone("睡眠：");
    case TaskKind::Lock:
      return alone("锁定：");
    case TaskKind::Alarm:
      return withParam("闹钟：");
    case TaskKind::OpenProgram:
      return withParam("打开软件：");
    case TaskKind::CloseProgram:
      return withParam("关闭软件：");
    case TaskKind::OpenWebPage:
      return withParam("打开网页：");
  }
  return moment;
}

const char* TaskKindItemText(TaskKind kind) {
  switch (kind) {
    case TaskKind::TurnOff:
      return "关机";
    case TaskKind::Restart:
      return "重启";
    case TaskKind::LogOff:
      return "注销";
    case TaskKind::Alarm:
      return "闹钟";
    case TaskKind::OpenProgram:
      return "打开软件";
    case TaskKind::CloseProgram:
      return "关闭软件";
    case TaskKind::OpenWebPage:
      return "打开网页";
    case TaskKind::Sleep:
      return "睡眠";
    case TaskKind::Lock:
      return "锁定";
  }
  return "";
}
