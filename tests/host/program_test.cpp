#include "main/program.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"

// The whole program on the fake platform, driven second by second.
class ProgramTest : public testing::Test {
 protected:
  ProgramTest()
      : platform(At(14, 0, 0, 10)),
        program(platform.Set(), kTestUpdateHost),
        actions(platform.clock) {
    program.Form1.UseTaskActions(actions);
    program.Start();
  }

  void Tick() {
    platform.clock.AdvanceSeconds(1);
    program.Form1.TimerNow.Fire();
  }

  FakePlatform platform;
  Program program;
  RecordingTaskActions actions;
};

TEST_F(ProgramTest, AOneMinuteCountdownRunsDownToItsDueTick) {
  TForm1& f = program.Form1;
  Tick();
  EXPECT_EQ(f.Title.Text(), "你还没有添加定时任务。     ");

  // Entered as a countdown: the due moment is computed on the minute scale.
  const DateTime now = platform.clock.Now();
  f.Tasks().Add({((now * kMinutesPerDay) + 1) / kMinutesPerDay, 1, TaskKind::Restart, ""});
  EXPECT_EQ(f.TaskList.Rows().size(), 1u);

  Tick();
  const std::string first = f.Title.Text();
  EXPECT_TRUE(first == "59秒后重启电脑。     " || first == "60秒后重启电脑。     ") << first;
  int seconds = std::stoi(first);
  while (seconds > 0) {
    Tick();
    --seconds;
    EXPECT_EQ(f.Title.Text(), std::to_string(seconds) + "秒后重启电脑。     ");
    EXPECT_EQ(actions.performed.size(), seconds == 0 ? 1u : 0u);
  }
  EXPECT_EQ(actions.warned.size(), 1u);
  EXPECT_TRUE(f.Tasks().Queue().Empty());
  EXPECT_TRUE(f.TaskList.Rows().empty());
  EXPECT_EQ(f.LabelNow.Text(), "2026/12/10 14:01:01");

  Tick();
  EXPECT_EQ(f.Title.Text(), "你还没有添加定时任务。     ");
  EXPECT_EQ(actions.performed.size(), 1u);
}

TEST_F(ProgramTest, TwoTasksInTheSameSecondAreBothPerformed) {
  TForm1& f = program.Form1;
  f.Tasks().Add({At(14, 0, 5), 0, TaskKind::Alarm, "a"});
  f.Tasks().Add({At(14, 0, 5), 0, TaskKind::OpenProgram, "C:\\x.exe"});
  for (int i = 0; i < 5; ++i) Tick();
  ASSERT_EQ(actions.performed.size(), 2u);
  EXPECT_TRUE(f.Tasks().Queue().Empty());
}

TEST_F(ProgramTest, ATickInsideATickDoesNothing) {
  TForm1& f = program.Form1;
  f.Tasks().Add({At(14, 0, 1), 0, TaskKind::Alarm, "a"});
  // The action dispatches messages, and the timer fires inside it.
  struct Reentering : TaskActions {
    TForm1* form = nullptr;
    int performed = 0;
    void WarnTaskDue(const Task&) override {}
    void PerformTask(const Task&) override {
      ++performed;
      form->TimerNowTimer();
    }
  } reentering;
  reentering.form = &f;
  f.UseTaskActions(reentering);
  Tick();
  EXPECT_EQ(reentering.performed, 1);
  EXPECT_TRUE(f.Tasks().Queue().Empty());
}
