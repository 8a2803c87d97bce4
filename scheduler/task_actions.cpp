#include "scheduler/task_actions.h"

#include "language/language.h"
#include "scheduler/shutdown_method.h"
#include "scheduler/task_kinds.h"

namespace {

// What the system records of the program's own exits: planned, for no reason it knows
// (SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER).
constexpr unsigned kPlannedExit = 0x80000000u;

std::string FailureText(TaskKind kind) { return std::string(Text(*TraitsOf(kind).failureText)); }

}  // namespace

void SystemTaskActions::WarnTaskDue(const Task& task) {
  if (const std::optional<TextId> text = TraitsOf(task.Kind).warningText) {
    s_.trayIcon.ShowBalloonHint(FormatText(TextId::WarningBalloonTitle, {Text(TextId::AppTitle)}),
                                std::string(Text(*text)));
  }
}

std::optional<std::string> SystemTaskActions::PerformTask(const Task& task) {
  switch (task.Kind) {
    case TaskKind::TurnOff:
    case TaskKind::Restart:
    case TaskKind::LogOff:
      return ExitSystem(task.Kind);
    case TaskKind::Alarm:
      return SoundAlarm(task);
    case TaskKind::OpenProgram:
      return Launch(task, 0);
    case TaskKind::OpenWebPage:
      // The program's windows share one owner, the main window.
      return Launch(task, s_.mainWindow.Handle());
    case TaskKind::CloseProgram:
      return CloseProgram(task);
    case TaskKind::Sleep:
      return Suspend(task.Kind, Power::SuspendMode::Sleep);
    case TaskKind::Hibernate:
      return Suspend(task.Kind, Power::SuspendMode::Hibernate);
    case TaskKind::Lock:
      return Lock();
    case TaskKind::ScreenOff:
      return TurnScreenOff();
  }
  return std::nullopt;
}

std::optional<std::string> SystemTaskActions::ExitSystem(TaskKind kind) {
  // Log-off needs no privilege. Without it the exit is still asked for: the
  // system alone knows whether it goes ahead.
  const SystemError privilege =
      kind == TaskKind::LogOff ? kSucceeded : s_.power.EnableShutdownPrivilege();
  const SystemError exit = s_.power.RequestExit(ExitFlags(s_.shutdownMethod(), kind), kPlannedExit);
  if (exit == kSucceeded) return std::nullopt;
  return FailureText(kind) + s_.messages.Describe(privilege != kSucceeded ? privilege : exit);
}

std::optional<std::string> SystemTaskActions::Suspend(TaskKind kind, Power::SuspendMode mode) {
  // As for a shut-down: without the privilege the system alone decides.
  const SystemError privilege = s_.power.EnableShutdownPrivilege();
  const SystemError suspend = s_.power.Suspend(mode);
  if (suspend == kSucceeded) return std::nullopt;
  return FailureText(kind) + s_.messages.Describe(privilege != kSucceeded ? privilege : suspend);
}

std::optional<std::string> SystemTaskActions::TurnScreenOff() {
  const SystemError screenOff = s_.power.TurnScreenOff(s_.mainWindow.Handle());
  if (screenOff == kSucceeded) return std::nullopt;
  return FailureText(TaskKind::ScreenOff) + s_.messages.Describe(screenOff);
}

std::optional<std::string> SystemTaskActions::Lock() {
  const SystemError lock = s_.power.LockWorkStation();
  if (lock == kSucceeded) return std::nullopt;
  return FailureText(TaskKind::Lock) + s_.messages.Describe(lock);
}

std::optional<std::string> SystemTaskActions::Launch(const Task& task, WindowHandle owner) {
  const SystemError error = s_.shell.Execute(
      {owner, std::nullopt, task.Param, std::nullopt, std::nullopt, Shell::kShowNormal});
  if (error == kSucceeded) return std::nullopt;
  return FailureText(task.Kind) + s_.messages.Describe(error);
}

std::optional<std::string> SystemTaskActions::CloseProgram(const Task& task) {
  const KillResult result = s_.closeProgram(task.Param);
  if (result.found == 0) return std::string(Text(TextId::ProgramNotRunning));
  if (result.ended == result.found) return std::nullopt;
  return FormatText(TextId::ProcessesNotEnded, {std::to_string(result.found - result.ended)});
}

std::optional<std::string> SystemTaskActions::SoundAlarm(const Task& task) {
  const std::string soundFile = s_.appPath + "clock\\1.wav";
  (void)s_.sound.PlayFile(soundFile, Sound::Playback::Loop);
  s_.trayIcon.ShowBalloonHint(std::string(Text(TextId::AlarmBalloonTitle)), task.Param);
  s_.mainWindow.ShowNormal();
  s_.alarmWindow.ShowAlarm(task.Param);
  // The player falls back to the system's default sound: the alarm still
  // rings, but not as the user chose.
  if (s_.files.Exists(soundFile)) return std::nullopt;
  return FailureText(TaskKind::Alarm) + soundFile;
}
