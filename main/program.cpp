#include "main/program.h"

#include "process/kill_by_name.h"

Program::Program(const PlatformSet& platform, std::string updateServerHost)
    : Program(platform, std::move(updateServerHost), taskActions) {}

// The main window comes first: the other windows are owned by it, and the
// actions use its tray icon. The references it gets to UpForm, TipForm, WarnForm and the
// actions, built after it, are safe: it and its parts only store them, and nothing calls
// through them before Start() and the message loop, when all are built.
Program::Program(const PlatformSet& platform, std::string updateServerHost, TaskActions& actions)
    : Form1(platform, state, std::move(updateServerHost),
            {actions, TipForm, UpForm, WarnForm, {&laterWindows_}}),
      UpForm(Form1.Form1, platform.mirrors),
      TipForm(Form1.Form1, platform.sound, platform.mirrors),
      WarnForm(Form1.Form1, platform.sound, state.AppPath + "warn.wav", platform.mirrors),
      taskActions({Form1.bsTrayIcon1, platform.shell, platform.power, platform.sound,
                   platform.files, platform.messages, Form1.Form1, TipForm, state.AppPath,
                   [this](const std::string& name) { return CloseProgram(name); },
                   [this] { return Form1.ShutdownMethodInUse(); }}),
      platform_(platform) {
  // The warning window exists only now: its buttons reach the main window here.
  WarnForm.OnPostpone = [this](int minutes) { Form1.ButtonPostponeClick(minutes); };
  WarnForm.OnCancel = [this] { Form1.ButtonCancelTaskClick(); };
  WarnForm.OnRunNow = [this] { Form1.ButtonRunNowClick(); };
  WarnForm.OnDismiss = [this] { Form1.WarnFormDismiss(); };
}

void Program::Start(const StartArguments& arguments) {
  Form1.TakeOverLoadReport(arguments.loadReport);
  if (arguments.inTray) {
    Form1.StartInTray();
  } else {
    Form1.ShowAndStartUpdateCheck();
  }
  // No one to tell the answer to: a refused task is not added, as on the panel.
  if (!arguments.command.empty()) (void)Form1.RunCommand(arguments.command);
}

void Program::LaterWindows::LanguageChanged() {
  program_.UpForm.LanguageChanged();
  program_.TipForm.LanguageChanged();
  program_.WarnForm.LanguageChanged();
}

KillResult Program::CloseProgram(const std::string& name) {
  return KillProcessByName(platform_.processes, name);
}
