#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <thread>

#include "main/program.h"
#include "tests/fakes/fake_platform.h"

namespace {

constexpr char kInfoPage[] = "http://update.dusk.invalid/v/dusk.html";
constexpr char kFolder[] = "C:\\Program Files\\Dusk\\";
// Base64 of 64 bytes with r and s in range: what the fake verifier is told holds.
constexpr char kSignature[] =
    "AQIDBAUGBwgJCgsMDQ4PEBESExQVFhcYGRobHB0eHyABAgMEBQYHCAkKCwwNDg8QERITFBUWFxgZGhscHR4fIA==";
constexpr char kNewProgram[] = "new program";

std::string VersionFile(const char* version, const char* url) {
  return std::string(version) + "\r\n" + url + "\r\n" + kSignature + "\r\n";
}

// The program on the fake platform, started as it would be, with an update
// server in memory: the update check, the tasks and the windows decide with
// the self-update when it hands over.
class HandOverTest : public testing::Test {
 protected:
  HandOverTest() : platform(At(14, 30, 45, 25, 12, 2023)) {}

  Program& Start(const char* versionFile = nullptr) {
    if (versionFile) platform.download.bodies[kInfoPage] = versionFile;
    // The project signed the new program, which carries version 1.0.2.0.
    platform.signatures.Sign(kNewProgram, kSignature);
    platform.versionResource.byFile[std::string(kFolder) + "upDusk.exe"] = {
        VersionResource::Outcome::Found, 0x00010000, 0x00020000};
    program = std::make_unique<Program>(platform.Set(), kTestUpdateHost);
    program->Start();
    return *program;
  }
  void Tick() {
    platform.clock.AdvanceSeconds(1);
    program->Form1.TimerNow.Fire();
  }

  static std::string Downloaded() { return std::string(kFolder) + "upDusk.exe.download"; }

  FakePlatform platform;
  std::unique_ptr<Program> program;
};

}  // namespace

TEST_F(HandOverTest, DownloadsANewerVersionWithProgressAndHandsOver) {
  TForm1& f = Start(VersionFile("1.0.2.0", "http://dl.invalid/new.exe").c_str()).Form1;
  f.TimerUpgrade.Fire();  // the check has not run yet
  EXPECT_TRUE(f.TimerUpgrade.Enabled());
  EXPECT_FALSE(program->UpForm.UpForm.Visible());

  platform.threads.RunAll();
  ASSERT_EQ(platform.download.requests.size(), 1u);
  EXPECT_EQ(platform.download.requests[0], std::string(kInfoPage) + "?2023122514a30a45");
  EXPECT_EQ(platform.files.contents.count(std::string(kFolder) + "up"), 1u);

  f.TimerUpgrade.Fire();
  EXPECT_FALSE(f.TimerUpgrade.Enabled());
  TForm2& up = program->UpForm;
  EXPECT_TRUE(up.UpForm.Visible());
  EXPECT_EQ(up.UpForm.Text(), "正在下载最新版本：");
  EXPECT_EQ(platform.download.background.url, "http://dl.invalid/new.exe?2023122514a30a45");
  EXPECT_EQ(platform.download.background.file, Downloaded());
  EXPECT_EQ(platform.download.background.maxBytes, 256u * 1024 * 1024);

  // The windows keep being served: the clock goes on during the download.
  Tick();
  EXPECT_EQ(f.LabelNow.Text(), "2023/12/25 14:30:46");
  platform.download.Progress(512, 2048);
  EXPECT_EQ(up.UpForm.Text(), "Lumo定时关机 正在下载最新版本 下载进度：25%");
  EXPECT_EQ(up.ProgressBar1.Maximum(), 2048);
  EXPECT_EQ(up.ProgressBar1.Position(), 512);
  platform.download.Progress(2048, 2048);
  EXPECT_EQ(up.UpForm.Text(), "Lumo定时关机 正在下载最新版本 下载进度：100%");

  platform.download.Finish(true, kNewProgram);
  EXPECT_FALSE(platform.files.Exists(Downloaded()));
  EXPECT_EQ(platform.files.contents[std::string(kFolder) + "upDusk.exe"], kNewProgram);
  ASSERT_EQ(platform.shell.launches.size(), 1u);
  const Shell::Launch& launch = platform.shell.launches[0];
  EXPECT_EQ(launch.owner, f.Form1.Handle());
  EXPECT_EQ(launch.verb, "open");
  EXPECT_EQ(launch.file, std::string(kFolder) + "upDusk.exe");
  EXPECT_EQ(launch.parameters, "/handover");
  EXPECT_EQ(launch.directory, std::nullopt);
  // Started, then the claim given up for it: it waits for the claim before it reads the list.
  EXPECT_EQ(platform.sessionInstance.calls, std::vector<std::string>{"give up"});
  EXPECT_EQ(platform.windowSystem.terminations, 1);
}

TEST_F(HandOverTest, NoNewerVersionOrNoAnswerMeansNothingHappens) {
  struct Case {
    const char* versionFile;  // nullptr: the page cannot be fetched
  };
  static const Case kCases[] = {
      {nullptr},
      {"1.0.1.2 http://dl.invalid/a.exe"},
      {"1.0.2 http://dl.invalid/a.exe"},
      {"1.0.2.0"},
      {""},
      {"1.0.2.0,,http://dl.invalid/a.exe"},
      // Without a well-formed signature nothing is fetched but the version file.
      {"1.0.2.0 http://dl.invalid/a.exe"},
      {"1.0.2.0 http://dl.invalid/a.exe AQID"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.versionFile ? c.versionFile : "(unreachable)");
    platform.download.bodies.clear();
    platform.download.requests.clear();
    TForm1& f = Start(c.versionFile).Form1;
    platform.threads.RunAll();
    f.TimerUpgrade.Fire();
    EXPECT_FALSE(f.TimerUpgrade.Enabled());
    EXPECT_EQ(platform.download.background.listener, nullptr);
    EXPECT_FALSE(program->UpForm.UpForm.Visible());
    EXPECT_EQ(platform.download.requests.size(), 1u);
    EXPECT_TRUE(platform.windowSystem.boxes.empty());
  }
}

TEST_F(HandOverTest, AFailedDownloadHidesTheWindowAndTheProgramGoesOn) {
  TForm1& f = Start(VersionFile("9.0.0.0", "http://dl.invalid/new.exe").c_str()).Form1;
  f.Tasks().Add({At(14, 30, 48, 25, 12, 2023), TaskKind::Alarm, "a"});
  platform.threads.RunAll();
  f.TimerUpgrade.Fire();
  platform.download.Finish(false);
  EXPECT_FALSE(program->UpForm.UpForm.Visible());
  EXPECT_TRUE(platform.shell.launches.empty());
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_TRUE(f.Tasks().Queue().Empty());
  EXPECT_TRUE(program->TipForm.Showing());
  EXPECT_EQ(platform.windowSystem.terminations, 0);
  EXPECT_TRUE(platform.windowSystem.boxes.empty());
}

// The pending tasks go over with the saved list; only a task about to come due is performed
// here first. The new program comes up as this one was: with its window, or in the tray.
TEST_F(HandOverTest, TheNewProgramTakesThePendingTasksOverUnlessOneIsAboutToComeDue) {
  struct Case {
    int secondsAhead;  // of the first task; the second is an hour ahead
    bool inTray;
    int handOverTick;  // 0: as the download is accepted
    std::size_t tasksTakenOver;
  };
  static constexpr Case kCases[] = {
      {121, false, 0, 2},
      {121, true, 0, 2},
      {119, false, 119, 1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message()
                 << c.secondsAhead << " s ahead" << (c.inTray ? ", in tray" : ""));
    FakePlatform p(At(9, 0, 0));
    p.download.bodies[kInfoPage] = VersionFile("1.0.2.0", "http://dl.invalid/new.exe");
    p.signatures.Sign(kNewProgram, kSignature);
    p.versionResource.byFile[std::string(kFolder) + "upDusk.exe"] = {
        VersionResource::Outcome::Found, 0x00010000, 0x00020000};
    auto updating = std::make_unique<Program>(p.Set(), kTestUpdateHost);
    updating->Start({.inTray = c.inTray});
    TForm1& f = updating->Form1;
    f.Tasks().Add({p.clock.Now() + c.secondsAhead / kSecondsPerDay, TaskKind::OpenWebPage,
                   "http://x.invalid/"});
    f.Tasks().Add({p.clock.Now() + 1.0 / 24, TaskKind::Alarm, "later"});
    p.threads.RunAll();
    f.TimerUpgrade.Fire();
    p.download.Finish(true, kNewProgram);
    // Nothing more to watch while the new program waits.
    EXPECT_FALSE(updating->UpForm.UpForm.Visible());
    int tick = 0;
    while (p.windowSystem.terminations == 0 && tick < 130) {
      ++tick;
      p.clock.AdvanceSeconds(1);
      f.TimerNow.Fire();
    }
    EXPECT_EQ(tick, c.handOverTick);
    ASSERT_FALSE(p.shell.launches.empty());
    EXPECT_EQ(p.shell.launches.back().file, std::string(kFolder) + "upDusk.exe");
    EXPECT_EQ(p.shell.launches.back().parameters, c.inTray ? "/handover /tray" : "/handover");
    EXPECT_EQ(p.shell.launches.size(), c.handOverTick ? 2u : 1u);  // the web page first

    updating.reset();
    Program successor(p.Set(), kTestUpdateHost);
    successor.Start(ParseStartArguments(p.shell.launches.back().parameters.value_or("")));
    EXPECT_EQ(successor.Form1.TaskList.Rows().size(), c.tasksTakenOver);
    EXPECT_EQ(successor.Form1.Form1.Visible(), !c.inTray);
  }
}

// The new program reads the file: while the list cannot be saved, a hand-over
// would lose what the file lacks.
TEST_F(HandOverTest, AListThatCouldNotBeSavedHoldsTheHandOverBackUntilASaveSucceeds) {
  constexpr SystemError kDiskFull = 112;
  TForm1& f = Start(VersionFile("1.0.2.0", "http://dl.invalid/new.exe").c_str()).Form1;
  platform.profileFiles.failing["write"] = kDiskFull;
  f.Tasks().Add({platform.clock.Now() + 1.0 / 24, TaskKind::Alarm, "not in the file"});
  platform.threads.RunAll();
  f.TimerUpgrade.Fire();
  platform.download.Finish(true, kNewProgram);
  for (int tick = 0; tick < 3; ++tick) Tick();
  EXPECT_EQ(platform.windowSystem.terminations, 0);
  EXPECT_TRUE(platform.shell.launches.empty());

  platform.profileFiles.failing.clear();
  Tick();
  EXPECT_EQ(platform.windowSystem.terminations, 1);
  ASSERT_EQ(platform.shell.launches.size(), 1u);
  program.reset();
  Program successor(platform.Set(), kTestUpdateHost);
  successor.Start(ParseStartArguments(platform.shell.launches.back().parameters.value_or("")));
  EXPECT_EQ(successor.Form1.TaskList.Rows().size(), 1u);
}

TEST_F(HandOverTest, AnAlarmOnTheScreenHoldsTheHandOverBackUntilItIsDismissed) {
  // The alarm rings before the download ends, or after: either way it stays.
  for (const bool downloadFirst : {true, false}) {
    SCOPED_TRACE(downloadFirst ? "download first" : "alarm first");
    platform.shell.launches.clear();
    platform.windowSystem.terminations = 0;
    TForm1& f = Start(VersionFile("1.0.2.0", "http://dl.invalid/new.exe").c_str()).Form1;
    f.Tasks().Add({platform.clock.Now() + 2.0 / kSecondsPerDay, TaskKind::Alarm, "tea"});
    platform.threads.RunAll();
    f.TimerUpgrade.Fire();
    if (downloadFirst) platform.download.Finish(true, kNewProgram);
    Tick();
    Tick();
    ASSERT_TRUE(program->TipForm.Showing());
    if (!downloadFirst) platform.download.Finish(true, kNewProgram);
    Tick();
    EXPECT_EQ(platform.windowSystem.terminations, 0);
    EXPECT_TRUE(platform.shell.launches.empty());

    program->TipForm.bsSkinButton1.UserClick();
    Tick();
    ASSERT_EQ(platform.shell.launches.size(), 1u);
    EXPECT_EQ(platform.shell.launches[0].file, std::string(kFolder) + "upDusk.exe");
    EXPECT_EQ(platform.windowSystem.terminations, 1);
  }
}

TEST_F(HandOverTest, AProgramThatDoesNotStartLeavesThisOneRunningWithItsClaim) {
  constexpr SystemError kFileNotFound = 2;
  // The downloaded program, and the copy under the fixed name after a move.
  for (const bool update : {true, false}) {
    SCOPED_TRACE(update ? "update" : "move to the fixed name");
    FakePlatform p(At(9, 0, 0));
    p.shell.answer = kFileNotFound;
    const std::string successor = std::string(kFolder) + (update ? "upDusk.exe" : "Dusk.exe");
    if (update) {
      p.download.bodies[kInfoPage] = VersionFile("1.0.2.0", "http://dl.invalid/new.exe");
      p.signatures.Sign(kNewProgram, kSignature);
      p.versionResource.byFile[successor] = {VersionResource::Outcome::Found, 0x00010000,
                                             0x00020000};
    } else {
      p.files.programFilePath = std::string(kFolder) + "Foo.exe";
      p.files.contents[p.files.programFilePath] = "this program";
    }
    Program running(p.Set(), kTestUpdateHost);
    running.Start();
    if (update) {
      p.threads.RunAll();
      running.Form1.TimerUpgrade.Fire();
      p.download.Finish(true, kNewProgram);
    }
    running.Form1.Tasks().Add({p.clock.Now() + 3.0 / kSecondsPerDay, TaskKind::Alarm, "tea"});
    for (int tick = 0; tick < 5; ++tick) {
      p.clock.AdvanceSeconds(1);
      running.Form1.TimerNow.Fire();
    }
    ASSERT_EQ(p.shell.launches.size(), 1u);  // asked once, not every tick
    EXPECT_EQ(p.shell.launches[0].file, successor);
    EXPECT_TRUE(p.sessionInstance.calls.empty());
    EXPECT_EQ(p.windowSystem.terminations, 0);
    EXPECT_TRUE(running.TipForm.Showing());
    EXPECT_EQ(p.files.Exists(successor), !update);
    EXPECT_FALSE(p.files.held.contains(successor));
  }
}

TEST_F(HandOverTest, UnderTheFixedNameTheLeftoversGoAtStart) {
  platform.files.contents[std::string(kFolder) + "upDusk.exe"] = "old download";
  platform.files.contents[std::string(kFolder) + "up"] = "old answer";
  Start();
  EXPECT_FALSE(platform.files.Exists(std::string(kFolder) + "upDusk.exe"));
  EXPECT_FALSE(platform.files.Exists(std::string(kFolder) + "up"));
  EXPECT_FALSE(program->state.RelaunchPending);
  EXPECT_TRUE(platform.files.copies.empty());
}

TEST_F(HandOverTest, UnderAnotherNameTheProgramMovesToTheFixedName) {
  using Outcome = VersionResource::Outcome;
  // This program is 1.0.1.2.
  constexpr VersionResource::Result kOlder{Outcome::Found, 0x00010000, 0x00010001};
  constexpr VersionResource::Result kSame{Outcome::Found, 0x00010000, 0x00010002};
  constexpr VersionResource::Result kNewer{Outcome::Found, 0x00010000, 0x00030000};
  constexpr VersionResource::Result kUnreadable{Outcome::Failed, 0, 0};
  struct Case {
    const char* runningAs;
    std::optional<VersionResource::Result> fixedNameVersion;  // none: no Dusk.exe there
    int secondsLocked;  // the fixed name stays in use this long; -1: for good
    int relaunchTick;   // the tick that starts Dusk.exe, or 0 for none
    bool replaced;      // Dusk.exe is then this program
  };
  const Case kCases[] = {
      {"Foo.exe", std::nullopt, 0, 1, true},
      {"upDusk.exe", kOlder, 2, 3, true},
      {"dusk.exe", std::nullopt, 0, 1, true},  // another name, by its letters' case
      {"upDusk.exe", kOlder, -1, 0, false},
      // A renamed copy never replaces a newer program: it starts that one.
      {"Dusk (1).exe", kNewer, 0, 1, false},
      {"Dusk (1).exe", kSame, 0, 1, true},
      {"Dusk (1).exe", kUnreadable, 0, 1, true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.runningAs);
    FakePlatform p(At(9, 0, 0));
    p.files.programFilePath = std::string(kFolder) + c.runningAs;
    p.files.contents[p.files.programFilePath] = "this program";
    const std::string fixed = std::string(kFolder) + "Dusk.exe";
    if (c.fixedNameVersion) {
      p.files.contents[fixed] = "program there";
      p.versionResource.byFile[fixed] = *c.fixedNameVersion;
    }
    if (c.secondsLocked != 0) p.files.locked.insert(fixed);
    Program started(p.Set(), kTestUpdateHost);
    started.Start();
    int relaunchedAt = 0;
    for (int tick = 1; tick <= 8 && relaunchedAt == 0; ++tick) {
      if (tick - 1 == c.secondsLocked) p.files.locked.clear();
      p.clock.AdvanceSeconds(1);
      started.Form1.TimerNow.Fire();
      if (!p.shell.launches.empty()) relaunchedAt = tick;
    }
    EXPECT_EQ(relaunchedAt, c.relaunchTick);
    if (c.relaunchTick) {
      EXPECT_EQ(p.shell.launches[0].file, fixed);
      EXPECT_EQ(p.shell.launches[0].verb, "open");
      EXPECT_EQ(p.windowSystem.terminations, 1);
    } else {
      EXPECT_EQ(p.windowSystem.terminations, 0);
    }
    EXPECT_EQ(p.files.contents[fixed] == "this program", c.replaced);
    EXPECT_TRUE(p.files.Exists(p.files.programFilePath));
  }
}

TEST(UpdateCheck, AFaultOnItsThreadMeansNoUpdate) {
  FakePlatform platform(At(9, 0, 0));
  struct Failing : FakeDownload {
    bool ToFile(const std::string&, const std::string&, std::uint64_t) override {
      throw std::runtime_error("no memory");
    }
  } download;
  auto check = std::make_shared<UpdateCheck>();
  check->UpdateInfoUrl = kInfoPage;
  StartUpdateCheck(check, platform.threads,
                   {download, platform.files, platform.clock, platform.codePage});
  SettleStartupFiles(*check);
  platform.threads.RunAll();
  EXPECT_TRUE(check->UpdateCheckDone.load(std::memory_order_acquire));
  EXPECT_EQ(check->UpdateCandidateUrl, "");
}

TEST(UpdateCheck, WaitsForStartUpToSettleTheFilesBesideTheProgram) {
  FakePlatform platform(At(9, 0, 0));
  platform.download.bodies[kInfoPage] = VersionFile("1.0.2.0", "http://dl.invalid/new.exe");
  auto check = std::make_shared<UpdateCheck>();
  check->AppPath = kFolder;
  check->AppVersion = "1.0.1.2";
  check->UpdateInfoUrl = kInfoPage;
  // The request must come after start-up's deletions, never before them.
  struct Recording : FakeDownload {
    FakeFiles* watched = nullptr;
    std::size_t deletionsSeen = 0;
    bool ToFile(const std::string& url, const std::string& file, std::uint64_t keepBytes) override {
      deletionsSeen = watched->deleted.size();
      return FakeDownload::ToFile(url, file, keepBytes);
    }
  } download;
  download.files = &platform.files;
  download.watched = &platform.files;
  download.bodies = platform.download.bodies;
  std::thread thread([&] {
    CheckForUpdate(*check, {download, platform.files, platform.clock, platform.codePage});
  });
  (void)platform.files.Delete(std::string(kFolder) + "up");
  SettleStartupFiles(*check);
  thread.join();
  EXPECT_EQ(download.deletionsSeen, 1u);
  EXPECT_TRUE(check->UpdateCheckDone.load(std::memory_order_acquire));
  EXPECT_EQ(check->UpdateCandidateUrl, "http://dl.invalid/new.exe");
}
