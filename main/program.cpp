#include "main/program.h"

#include "process/kill_by_name.h"

Program::Program(const PlatformSet& platform, std::string updateServerHost)
    : Program(platform, std::move(updateServerHost), taskActions) {}

// The main window comes first: the other windows are owned by it, and the
// actions use its tray icon. It only keeps references to them until its
// message loop runs.
Program::Program(const PlatformSet& platform, std::string updateServerHost, TaskActions& actions)
    : Form1(platform, state, std::move(updateServerHost), {actions, TipForm, UpForm}),
      UpForm(Form1.Form1, platform.mirrors),
      TipForm(Form1.Form1, platform.sound, platform.mirrors),
      taskActions({Form1.bsTrayIcon1, platform.shell, platform.power, platform.sound, Form1.Form1,
                   TipForm, state.AppPath, state.AppTitle,
                   [this](const std::string& name) { KillProcessByName(name); }}),
      platform_(platform) {}

void Program::Start() { Form1.Form1.ShowNormal(); }

void Program::KillProcessByName(const std::string& name) {
  ::KillProcessByName(platform_.processes, platform_.codePage, name);
}
