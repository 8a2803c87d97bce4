#include "scheduler/task_actions.h"

namespace {

const char* WarningText(TaskKind kind) {
  switch (kind) {
    case TaskKind::TurnOff:
      return "你的计算机将在30秒后关机。";
    case TaskKind::Restart:
      return "你的计算机将在30秒后重启。";
    case TaskKind::LogOff:
      return "你的计算机将在30秒后注销。";
    default:
      return nullptr;
  }
}

constexpr unsigned kNoReason = 0;

}  // namespace

void SystemTaskActions::WarnTaskDue(const Task& task) {
  if (const char* text = WarningText(task.Kind)) {
    s_.trayIcon.ShowBalloonHint(s_.appTitle + "：", text);
  }
}

void SystemTaskActions::PerformTask(const Task& task) {
  switch (task.Kind) {
    case TaskKind::TurnOff:
      (void)s_.power.EnableShutdownPrivilege();
      (void)s_.power.RequestExit(Power::ExitMode::ShutDownForced, kNoReason);
      break;
    case TaskKind::Restart:
      (void)s_.power.EnableShutdownPrivilege();
      (void)s_.power.RequestExit(Power::ExitMode::RestartForced, kNoReason);
      break;
    case TaskKind::LogOff:
      (void)s_.power.RequestExit(Power::ExitMode::LogOff, kNoReason);
      break;
    case TaskKind::Alarm:
      SoundAlarm(task);
      break;
    case TaskKind::OpenProgram:
      (void)s_.shell.Execute(
          {0, std::nullopt, task.Param, std::nullopt, std::nullopt, Shell::kShowNormal});
      break;
    case TaskKind::OpenWebPage:
      // The program's windows share one owner, the main window.
      (void)s_.shell.Execute({s_.mainWindow.Handle(), std::nullopt, task.Param, std::nullopt,
                              std::nullopt, Shell::kShowNormal});
      break;
    case TaskKind::CloseProgram:
      s_.killProcessByName(task.Param);
      break;
  }
}

void SystemTaskActions::SoundAlarm(const Task& task) {
  (void)s_.sound.PlayFile(s_.appPath + "clock\\1.wav", Sound::Playback::Loop);
  s_.trayIcon.ShowBalloonHint(kAlarmBalloonTitle, task.Param);
  s_.mainWindow.ShowNormal();
  s_.alarmWindow.ShowAlarm(task.Param);
}
