#include "startup/single_instance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "main/program.h"
#include "tests/fakes/fake_platform.h"

TEST(StartArguments, AreReadInAnyCaseAndUnknownWordsAreLeft) {
  struct Case {
    const char* commandLine;
    bool inTray;
    bool handOver;
  };
  static constexpr Case kCases[] = {
      {"", false, false},
      {"/tray", true, false},
      {"  /TRAY  ", true, false},
      {"\"/tray\"", true, false},
      {"/handover", false, true},
      {"/handover /tray", true, true},
      {"/Tray\t/HandOver", true, true},
      {"/trays /tray-x tray", false, false},
      {"C:\\Program Files\\Dusk\\Dusk.exe", false, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.commandLine);
    const StartArguments arguments = ParseStartArguments(c.commandLine);
    EXPECT_EQ(arguments.inTray, c.inTray);
    EXPECT_EQ(arguments.handOver, c.handOver);
  }
  for (const bool inTray : {false, true}) {
    const StartArguments passed = ParseStartArguments(HandOverArguments(inTray));
    EXPECT_TRUE(passed.handOver);
    EXPECT_EQ(passed.inTray, inTray);
    EXPECT_EQ(passed.loadReport, "");
  }
}

// The report goes as one word that holds no blank and no quote, whatever the
// text: the program started reads it back byte for byte.
TEST(StartArguments, ALoadReportIsHandedOverWhole) {
  static const std::string kReports[] = {
      "有 2 个任务无法读取，原文件已保存为 C:\\Users\\李 雷\\tasks.bad-20261210-090000.txt",
      "\"/tray\" /handover\r\n无法保存任务列表：系统错误112。\\",
      "100% \t%41 %zz \\\"",
      std::string("\0\xFF\x80", 3),
  };
  for (const std::string& report : kReports) {
    SCOPED_TRACE(report);
    for (const bool inTray : {false, true}) {
      const std::string arguments = HandOverArguments(inTray, report);
      EXPECT_EQ(arguments.find_first_of("\"\t\r\n"), std::string::npos);
      EXPECT_EQ(std::count(arguments.begin(), arguments.end(), ' '), inTray ? 2 : 1);
      const StartArguments passed = ParseStartArguments(arguments);
      EXPECT_EQ(passed.loadReport, report);
      EXPECT_EQ(passed.inTray, inTray);
      EXPECT_TRUE(passed.handOver);
    }
  }
  // Not what the program writes: no report, rather than a part of one.
  static constexpr std::pair<const char*, const char*> kWords[] = {
      {"/LoadReport:%41%e4%BB%bb", "A任"},
      {"/loadreport:%4", ""},
      {"/loadreport:%G1", ""},
      {"/loadreport:a+b", ""},
  };
  for (const auto& [word, report] : kWords) {
    SCOPED_TRACE(word);
    EXPECT_EQ(ParseStartArguments(word).loadReport, report);
  }
}

TEST(ClaimSession, ASecondStartLeavesToTheRunningCopyAndAHandOverWaitsForIt) {
  constexpr unsigned kNever = FakeSessionInstance::kNever;
  struct Case {
    const char* what;
    bool heldElsewhere;
    unsigned holderLeavesWithinMs;
    const char* commandLine;
    StartDecision decision;
    std::vector<std::string> calls;
  };
  const Case kCases[] = {
      {"first start", false, kNever, "", StartDecision::Run, {"claim 0"}},
      {"first start at logon", false, kNever, "/tray", StartDecision::Run, {"claim 0"}},
      {"second start",
       true,
       kNever,
       "",
       StartDecision::LeaveToRunningCopy,
       {"claim 0", "ask to show"}},
      // Started at logon while a copy runs already: nothing comes up.
      {"second start at logon",
       true,
       kNever,
       "/tray",
       StartDecision::LeaveToRunningCopy,
       {"claim 0"}},
      {"hand-over", true, 300, "/handover", StartDecision::Run, {"claim 5000"}},
      {"hand-over from the tray", true, 300, "/handover /tray", StartDecision::Run, {"claim 5000"}},
      // The copy that handed over hangs: it keeps the list, and its window comes up.
      {"hand-over to a copy that never ends",
       true,
       kNever,
       "/handover",
       StartDecision::LeaveToRunningCopy,
       {"claim 5000", "ask to show"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    FakeSessionInstance instance;
    instance.heldElsewhere = c.heldElsewhere;
    instance.holderLeavesWithinMs = c.holderLeavesWithinMs;
    EXPECT_EQ(ClaimSession(instance, ParseStartArguments(c.commandLine)), c.decision);
    EXPECT_EQ(instance.calls, c.calls);
  }
}

// The running copy's side: started at logon in the tray, brought out of it
// by a second start.
TEST(ClaimSession, TheRunningCopyComesOutOfTheTrayWhenAskedByASecondStart) {
  FakePlatform platform(At(9, 0, 0));
  Program program(platform.Set(), kTestUpdateHost);
  program.Start(ParseStartArguments("/tray"));
  Form& main = program.Form1.Form1;
  EXPECT_FALSE(main.Visible());
  EXPECT_TRUE(platform.notificationArea.iconShown);
  // The update check starts all the same.
  EXPECT_EQ(platform.threads.bodies.size(), 1u);

  main.ShowRequested();
  EXPECT_TRUE(main.Visible());

  // From the tray where the user put it, and with the alarm that shows.
  program.Form1.Tasks().Add({At(9, 0, 1), TaskKind::Alarm, "tea"});
  platform.clock.AdvanceSeconds(1);
  program.Form1.TimerNow.Fire();
  ASSERT_TRUE(program.TipForm.Showing());
  main.UserMinimize();
  EXPECT_FALSE(main.Visible());
  EXPECT_FALSE(program.TipForm.TipForm.Visible());
  main.ShowRequested();
  EXPECT_TRUE(main.Visible());
  EXPECT_TRUE(program.TipForm.TipForm.Visible());
}
