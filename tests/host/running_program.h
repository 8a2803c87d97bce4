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

  // The user opens the tray menu and chooses the entry with this text, in a submenu or not;
  // false when the menu had none.
  static bool ChooseFromTrayMenu(FakePlatform& platform, const std::string& text) {
    platform.windowSystem.menuChoice = -1;
    platform.notificationArea.Raise(NotificationArea::Mouse::RightUp);
    // Numbered as the window system numbers them: a submenu's entries after its own.
    int number = 0;
    int chosen = -1;
    for (const WindowSystem::MenuItem& item : platform.windowSystem.menus.back()) {
      if (item.text == text) chosen = number;
      ++number;
      for (const WindowSystem::MenuItem& entry : item.submenu) {
        if (entry.text == text) chosen = number;
        ++number;
      }
    }
    if (chosen < 0) return false;
    platform.windowSystem.menuChoice = chosen;
    platform.notificationArea.Raise(NotificationArea::Mouse::RightUp);
    return true;
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
