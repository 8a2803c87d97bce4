#include "main/program.h"

#include "process/kill_by_name.h"

Program::Program(const PlatformSet& platform, std::string updateServerHost)
    : Form1(platform, state, std::move(updateServerHost)),
      UpForm(Form1.Form1, platform.mirrors),
      TipForm(Form1.Form1, platform.sound, platform.mirrors),
      taskActions({Form1.bsTrayIcon1, platform.shell, platform.power, platform.sound, Form1.Form1,
                   TipForm, state.AppPath, state.AppTitle,
                   [this](const std::string& name) { KillProcessByName(name); }}),
      platform_(platform) {
  Form1.UseTaskActions(taskActions);
  Form1.UseAlarmWindow(TipForm);
  Form1.UseUpdateWindow(UpForm);
}

void Program::Start() { Form1.Form1.ShowNormal(); }

void Program::KillProcessByName(const std::string& name) {
  ::KillProcessByName(platform_.processes, platform_.codePage, name);
}
