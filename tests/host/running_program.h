#pragma once

#include <string>

#include "main/program.h"
#include "tests/fakes/fake_platform.h"

// The program on the fake platform from `start`, started, its actions
// recorded; the tests move the clock and fire the timer by hand.
struct RunningProgram {
  explicit RunningProgram(DateTime start)
      : platform(start),
        actions(platform.clock),
        program(platform.Set(), kTestUpdateHost, actions) {
    program.Start();
  }

  // The user enters a task in the date-and-time mode and adds it.
  void EnterAt(DateTime when, TaskKind kind, const std::string& param = "") {
    EnterOnPanel(f, when, kind, param);
  }
  static void EnterOnPanel(TForm1& form, DateTime when, TaskKind kind, const std::string& param) {
    const CalendarTime at = DecodeDateTime(when);
    form.RadioGroup1.UserSelect(0);
    form.bsSkinDateEdit1.UserSetDate(when);
    form.bsSkinTimeEdit1.UserSetTimeOfDay(at.hour, at.minute, at.second);
    form.RadioGroup2.UserSelect(static_cast<int>(kind));
    if (!param.empty()) form.EditInfo.UserEdit(param);
    form.ButtonAdd.UserClick();
  }

  void TickAt(DateTime now) {
    platform.clock.Set(now);
    f.TimerNow.Fire();
  }

  FakePlatform platform;
  RecordingTaskActions actions;
  Program program;
  TForm1& f = program.Form1;
};
