#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/host/running_program.h"

// Staying awake for a task close ahead and waking for the next: the program on
// the fake platform, from 14:00:00, with what it asks the system recorded.
namespace {

DateTime Later(double seconds) { return At(14, 0, 0) + seconds / kSecondsPerDay; }
constexpr double kHour = 3600;

struct Running : RunningProgram {
  Running() : RunningProgram(At(14, 0, 0)) {}

  void Add(double secondsAhead, TaskKind kind = TaskKind::Alarm) {
    f.Tasks().Add({Later(secondsAhead), kind, kind == TaskKind::Alarm ? "tea" : ""});
  }
  void TickEverySecond(double fromSeconds, double toSeconds) {
    for (double s = fromSeconds; s <= toSeconds; ++s) TickAt(Later(s));
  }
  // The moment the timer was set to last, as seconds after 14:00:00.
  [[nodiscard]] double LastArmedSeconds() const {
    return (power.armedFor.back() - At(14, 0, 0)) * kSecondsPerDay;
  }

  FakePowerRequests& power = platform.powerRequests;
};

}  // namespace

TEST(WakeKeeper, AsksToStayAwakeExactlyWhileATaskIsDueWithinTwelveHours) {
  struct Case {
    const char* name;
    std::function<void(Running&)> before;  // not watched
    std::function<void(Running&)> act;
    std::vector<std::string> calls;
    bool awake;
    double armedSeconds;  // the timer's last moment, when armed
  };
  const Case kCases[] = {
      {"a task in eleven hours",
       [](Running&) {},
       [](Running& r) { r.Add(11 * kHour); },
       {"arm", "awake on"},
       true,
       11 * kHour - 60},
      {"a task in thirteen hours: the timer only",
       [](Running&) {},
       [](Running& r) { r.Add(13 * kHour); },
       {"arm"},
       false,
       13 * kHour - 60},
      {"exactly twelve hours ahead counts",
       [](Running&) {},
       [](Running& r) { r.Add(12 * kHour); },
       {"arm", "awake on"},
       true,
       12 * kHour - 60},
      {"a later task leaves the head's timer alone",
       [](Running& r) { r.Add(kHour); },
       [](Running& r) { r.Add(20 * kHour); },
       {},
       true,
       kHour - 60},
      {"an earlier task moves the timer",
       [](Running& r) { r.Add(20 * kHour); },
       [](Running& r) { r.Add(kHour); },
       {"arm", "awake on"},
       true,
       kHour - 60},
      {"the only task deleted",
       [](Running& r) { r.Add(kHour); },
       [](Running& r) {
         r.f.TaskList.UserSelect(0);
         r.f.Tasks().RemoveSelected();
       },
       {"cancel", "awake off"},
       false,
       0},
      {"the close head deleted, a far one stays",
       [](Running& r) {
         r.Add(kHour);
         r.Add(20 * kHour);
       },
       [](Running& r) { r.f.Tasks().Remove(r.f.Tasks().Queue().Head()); },
       {"arm", "awake off"},
       false,
       20 * kHour - 60},
      {"the only task performed",
       [](Running& r) { r.Add(10); },
       [](Running& r) { r.TickEverySecond(1, 12); },
       {"cancel", "awake off"},
       false,
       0},
      {"thirteen hours ahead comes within twelve as time passes",
       [](Running& r) { r.Add(13 * kHour); },
       [](Running& r) {
         r.TickAt(Later(kHour - 1));
         r.TickAt(Later(kHour));
         r.TickEverySecond(kHour + 1, kHour + 30);
       },
       {"awake on"},
       true,
       13 * kHour - 60},
      {"a resume past the twelve-hour mark",
       [](Running& r) { r.Add(13 * kHour); },
       [](Running& r) {
         r.platform.clock.Set(Later(2 * kHour));
         r.f.Form1.SystemResumed();
       },
       {"awake on", "arm"},
       true,
       13 * kHour - 60},
      {"the clock set back by a day",
       [](Running& r) { r.Add(kHour); },
       [](Running& r) {
         r.platform.clock.Set(Later(-24 * kHour));
         r.f.Form1.SystemTimeChanged();
       },
       {"awake off", "arm"},
       false,
       kHour - 60},
      {"a shut-down postponed by half an hour stays close",
       [](Running& r) {
         r.Add(60, TaskKind::TurnOff);
         r.TickEverySecond(1, 35);
       },
       [](Running& r) { r.f.ButtonPostponeClick(30); },
       {"arm"},
       true,
       35 + 30 * 60 - 60},
      {"the saved list at start-up, one far and one close",
       [](Running&) {},
       [](Running& r) {
         r.f.Tasks().AddAll(
             {{Later(30 * kHour), TaskKind::Alarm, "b"}, {Later(5 * kHour), TaskKind::Alarm, "a"}});
       },
       {"arm", "awake on"},
       true,
       5 * kHour - 60},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Running r;
    c.before(r);
    r.power.calls.clear();
    c.act(r);
    EXPECT_EQ(r.power.calls, c.calls);
    EXPECT_EQ(r.power.keptAwake, c.awake);
    if (c.armedSeconds != 0) {
      EXPECT_NEAR(r.LastArmedSeconds(), c.armedSeconds, 0.001);
    }
  }
}

TEST(WakeKeeper, TicksAskTheSystemNothingWhileNothingChanges) {
  for (const double ahead : {0.0, 2 * kHour, 20 * kHour}) {
    SCOPED_TRACE(ahead);
    Running r;
    if (ahead > 0) r.Add(ahead);
    r.power.calls.clear();
    r.TickEverySecond(1, 600);
    EXPECT_TRUE(r.power.calls.empty());
  }
}

TEST(WakeKeeper, WithoutWakeTimersOrTheAwakeRequestATaskFoundLateIsStillPerformed) {
  Running r;
  r.power.wakeAnswer = false;
  r.power.awakeAnswer = false;
  r.Add(3 * kHour);
  // Asleep anyway: the computer wakes half a minute late and the tick handles it.
  r.platform.clock.Set(Later(3 * kHour + 30));
  r.f.Form1.SystemResumed();
  ASSERT_EQ(r.actions.performed.size(), 1u);
  EXPECT_EQ(r.actions.performed[0].kind, TaskKind::Alarm);
  EXPECT_TRUE(r.f.Tasks().Queue().Empty());
  // Refused once, not asked again every second.
  r.power.calls.clear();
  r.TickEverySecond(3 * kHour + 31, 3 * kHour + 90);
  EXPECT_TRUE(r.power.calls.empty());
}

TEST(WakeKeeper, ARefusedRequestIsAskedAgainAtTheNextTickUntilGranted) {
  struct Case {
    const char* name;
    bool FakePowerRequests::*answer;
    std::vector<std::string> refusedCalls;
    std::vector<std::string> retryCalls;
  };
  const Case kCases[] = {
      {"the awake request", &FakePowerRequests::awakeAnswer, {"arm", "awake on"}, {"awake on"}},
      {"the wake timer", &FakePowerRequests::wakeAnswer, {"arm", "awake on"}, {"arm"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Running r;
    r.power.*c.answer = false;
    r.Add(kHour);
    EXPECT_EQ(r.power.calls, c.refusedCalls);

    r.power.*c.answer = true;
    r.power.calls.clear();
    r.TickAt(Later(1));
    EXPECT_EQ(r.power.calls, c.retryCalls);
    EXPECT_TRUE(r.power.keptAwake);
    EXPECT_NEAR(r.LastArmedSeconds(), kHour - 60, 0.001);
    // Granted: held from now on, not asked for again.
    r.power.calls.clear();
    r.TickEverySecond(2, 60);
    EXPECT_TRUE(r.power.calls.empty());
  }
}
