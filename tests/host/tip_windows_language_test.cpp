#include <gtest/gtest.h>

#include <string>

#include "language/language.h"
#include "main/program.h"
#include "tests/fakes/fake_platform.h"
#include "tests/host/running_program.h"
#include "upgrade/up_form.h"

// The alarm, warning and download windows, open while the user switches the language: each shows
// its texts again in the new one, and the Chinese comes back exactly as it was.
namespace {

// Every test ends in Chinese, the language the other tests read.
class TipWindowsLanguage : public testing::Test {
 protected:
  ~TipWindowsLanguage() override { SetActiveLanguage(Language::Chinese); }

  static void SwitchTo(Language language, LanguageListener& window) {
    SetActiveLanguage(language);
    window.LanguageChanged();
  }
};

TEST_F(TipWindowsLanguage, TheAlarmWindowKeepsTheAlarmsOwnReminder) {
  struct Case {
    const char* alarmText;  // null: the window shows before any alarm
    const char* englishReminder;
  } const cases[] = {
      {nullptr, "Hi! The time you set has come. Click “Got it” below to stop the alarm."},
      {"喝茶 tea", "喝茶 tea"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alarmText ? c.alarmText : "no alarm yet");
    RunningProgram running(At(14, 0, 0));
    TForm3& tip = running.program.TipForm;
    if (c.alarmText) {
      tip.ShowAlarm(c.alarmText);
    } else {
      tip.Show();
    }

    SwitchTo(Language::English, tip);
    EXPECT_TRUE(tip.TipForm.Visible());
    EXPECT_EQ(tip.Label1.Text(), "It's time!");
    EXPECT_EQ(tip.Label2.Text(), c.englishReminder);
    EXPECT_EQ(tip.bsSkinButton1.Text(), "Got it");

    SwitchTo(Language::Chinese, tip);
    EXPECT_EQ(tip.Label1.Text(), "闹钟时间到了");
    EXPECT_EQ(tip.Label2.Text(),
              c.alarmText ? c.alarmText : "亲，您设定的时间到了，点击下面的 “我知道了” 关闭闹钟。");
    EXPECT_EQ(tip.bsSkinButton1.Text(), "我知道了");
    tip.bsSkinButton1.UserClick();
    EXPECT_FALSE(tip.Showing());
  }
}

TEST_F(TipWindowsLanguage, TheWarningWindowNamesItsButtonsAndTheProgramAnew) {
  RunningProgram running(At(14, 0, 0));
  running.EnterAt(At(14, 1, 0), TaskKind::TurnOff);
  for (int second = 1; second <= 30; ++second) running.TickAt(At(14, 0, second));
  TForm4& warning = running.program.WarnForm;
  ASSERT_TRUE(warning.Showing());

  struct Case {
    Language language;
    const char* title;  // as the program calls itself in that language
    const char* postpone5;
    const char* postpone30;
    const char* cancel;
    const char* runNow;
  } const cases[] = {
      {Language::English, "Lumo Shutdown Timer", "Delay 5 min", "Delay 30 min", "Cancel task",
       "Run now"},
      {Language::Chinese, "Lumo定时关机", "推迟5分钟", "推迟30分钟", "取消任务", "立即执行"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    SwitchTo(c.language, warning);
    EXPECT_TRUE(warning.Showing());
    EXPECT_EQ(warning.WarnForm.Text(), c.title);
    EXPECT_EQ(warning.ButtonPostpone5.Text(), c.postpone5);
    EXPECT_EQ(warning.ButtonPostpone30.Text(), c.postpone30);
    EXPECT_EQ(warning.ButtonCancelTask.Text(), c.cancel);
    EXPECT_EQ(warning.ButtonRunNow.Text(), c.runNow);
  }
  // Still the same buttons: one puts the task off.
  warning.ButtonPostpone5.UserClick();
  EXPECT_FALSE(warning.Showing());
  EXPECT_TRUE(running.actions.performed.empty());
}

TEST_F(TipWindowsLanguage, TheDownloadWindowKeepsItsPercentage) {
  const Form main("Form1", {0, 0, 780, 550}, Form::Frame::Main);
  TForm2 up(main, nullptr);
  up.ShowDownload();

  SwitchTo(Language::English, up);
  EXPECT_EQ(up.UpForm.Text(), "Downloading the latest version:");
  SwitchTo(Language::Chinese, up);
  EXPECT_EQ(up.UpForm.Text(), "正在下载最新版本：");

  up.ShowDownloadProgress(512, 2048);
  SwitchTo(Language::English, up);
  EXPECT_EQ(up.UpForm.Text(), "Lumo Shutdown Timer – downloading the latest version: 25%");
  up.ShowDownloadProgress(2048, 2048);
  EXPECT_EQ(up.UpForm.Text(), "Lumo Shutdown Timer – downloading the latest version: 100%");

  SwitchTo(Language::Chinese, up);
  EXPECT_EQ(up.UpForm.Text(), "Lumo定时关机 正在下载最新版本 下载进度：100%");
  EXPECT_TRUE(up.UpForm.Visible());
}

}  // namespace
