#include "main/program.h"

Program::Program(const PlatformSet& platform)
    : Form1(platform, state),
      taskActions(Form1.bsTrayIcon1, platform.shell, Form1.Form1, state.AppTitle) {
  AttachMirrors(UpForm.UpForm, platform.mirrors);
  AttachMirrors(TipForm.TipForm, platform.mirrors);
  Form1.UseTaskActions(taskActions);
}

void Program::Start() { Form1.Form1.ShowNormal(); }
