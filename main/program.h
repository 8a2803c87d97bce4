#pragma once

#include "language/language_listener.h"
#include "main/app_state.h"
#include "main/form1.h"
#include "main/platform_set.h"
#include "scheduler/task_actions.h"
#include "startup/start_arguments.h"
#include "tips/tip_form.h"
#include "tips/warn_form.h"
#include "upgrade/up_form.h"

// The program's windows, created in order: the main window first (it is the
// application's main window), then the update progress window, the alarm
// window and the warning before a power action.
class Program {
 public:
  // The update server's host is fixed when the program is built.
  Program(const PlatformSet& platform, std::string updateServerHost);
  // Due tasks go to `actions` instead of the system's own (tests watch them).
  Program(const PlatformSet& platform, std::string updateServerHost, TaskActions& actions);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Shows the main window, or only the tray icon; the message loop runs after this.
  void Start(const StartArguments& arguments = {});

  AppState state;

 private:
  // The windows built after the main window, told of a language switch after it. Built before
  // it: the main window's language menu holds it, and calls it only once all are built.
  class LaterWindows : public LanguageListener {
   public:
    explicit LaterWindows(Program& program) : program_(program) {}
    void LanguageChanged() override;

   private:
    Program& program_;
  };
  LaterWindows laterWindows_{*this};

 public:
  TForm1 Form1;
  TForm2 UpForm;
  TForm3 TipForm;
  TForm4 WarnForm;
  SystemTaskActions taskActions;

 private:
  [[nodiscard]] KillResult CloseProgram(const std::string& name);
  const PlatformSet platform_;
};
