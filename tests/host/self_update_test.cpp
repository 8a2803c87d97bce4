#include "upgrade/self_update.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "tests/fakes/fake_mirrors.h"
#include "tests/fakes/fake_platform.h"
#include "upgrade/up_form.h"

namespace {

constexpr char kFolder[] = "C:\\Program Files\\Dusk\\";
// Base64 of 64 bytes with r and s in range: what the fake verifier is told holds.
constexpr char kSignature[] =
    "AQIDBAUGBwgJCgsMDQ4PEBESExQVFhcYGRobHB0eHyABAgMEBQYHCAkKCwwNDg8QERITFBUWFxgZGhscHR4fIA==";
constexpr char kNewProgram[] = "new program";
constexpr char kUrl[] = "http://dl.invalid/new.exe";
constexpr VersionResource::Result kVersion1020{VersionResource::Outcome::Found, 0x00010000,
                                               0x00020000};
constexpr WindowHandle kMainWindow = 7;

// The window the progress window belongs to, with its native window first
// when there are native windows.
struct MainWindow {
  explicit MainWindow(MirrorFactory* mirrors) {
    if (mirrors) AttachMirrors(form, mirrors);
  }
  Form form{"Form1", {0, 0, 780, 550}, Form::Frame::Main};
};

// The self-update of program 1.0.1.2 with its progress window; the project
// signed the new program, which carries version 1.0.2.0.
class SelfUpdateTest : public testing::Test {
 protected:
  explicit SelfUpdateTest(bool nativeWindows = false)
      : platform(At(14, 30, 45, 25, 12, 2023)),
        mainWindow(nativeWindows ? &windows : nullptr),
        up(mainWindow.form, nativeWindows ? &windows : nullptr),
        update({platform.download, platform.files, platform.clock, platform.signatures,
                platform.versionResource, platform.shell, platform.sessionInstance,
                platform.windowSystem},
               up, [this] { ++waitingReports; }) {
    platform.signatures.Sign(kNewProgram, kSignature);
    platform.versionResource.byFile[Program()] = kVersion1020;
  }

  void Download(const char* version = "1.0.2.0") {
    update.Download({kUrl, version, kSignature}, {kFolder, "Dusk.exe", "1.0.1.2"});
  }
  static std::string Program() { return std::string(kFolder) + "upDusk.exe"; }
  static std::string Downloaded() { return Program() + ".download"; }

  FakePlatform platform;
  FakeMirrorFactory windows;
  MainWindow mainWindow;
  TForm2 up;
  SelfUpdate update;
  int waitingReports = 0;
};

}  // namespace

TEST_F(SelfUpdateTest, DownloadsWithProgressThenStartsTheCheckedProgram) {
  Download();
  EXPECT_TRUE(up.UpForm.Visible());
  EXPECT_EQ(up.UpForm.Text(), "正在下载最新版本：");
  EXPECT_EQ(platform.download.background.url, std::string(kUrl) + "?2023122514a30a45");
  EXPECT_EQ(platform.download.background.file, Downloaded());
  EXPECT_EQ(platform.download.background.maxBytes, 256u * 1024 * 1024);

  platform.download.Progress(512, 2048);
  EXPECT_EQ(up.UpForm.Text(), "Lumo定时关机 正在下载最新版本 下载进度：25%");
  EXPECT_EQ(up.ProgressBar1.Maximum(), 2048);
  EXPECT_EQ(up.ProgressBar1.Position(), 512);
  platform.download.Progress(2048, 2048);
  EXPECT_EQ(up.UpForm.Text(), "Lumo定时关机 正在下载最新版本 下载进度：100%");
  EXPECT_FALSE(update.MayHandOver({}));

  platform.download.Finish(true, kNewProgram);
  EXPECT_FALSE(up.UpForm.Visible());
  EXPECT_FALSE(platform.files.Exists(Downloaded()));
  EXPECT_EQ(platform.files.contents[Program()], kNewProgram);
  EXPECT_TRUE(platform.files.held.contains(Program()));
  EXPECT_EQ(waitingReports, 1);
  // What is on the screen and ahead decides (see MayHandOverNow).
  EXPECT_FALSE(update.MayHandOver({true, false, std::nullopt}));
  ASSERT_TRUE(update.MayHandOver({}));

  update.HandOver({kMainWindow, false, ""});
  ASSERT_EQ(platform.shell.launches.size(), 1u);
  const Shell::Launch& launch = platform.shell.launches[0];
  EXPECT_EQ(launch.owner, kMainWindow);
  EXPECT_EQ(launch.verb, "open");
  EXPECT_EQ(launch.file, Program());
  EXPECT_EQ(launch.parameters, "/handover");
  EXPECT_EQ(launch.directory, std::nullopt);
  // Started, then the claim given up for it: it waits for the claim before it reads the list.
  EXPECT_EQ(platform.sessionInstance.calls, std::vector<std::string>{"give up"});
  EXPECT_EQ(platform.windowSystem.terminations, 1);
  EXPECT_FALSE(platform.files.held.contains(Program()));
  EXPECT_TRUE(update.HandedOver());
  EXPECT_FALSE(update.MayHandOver({}));
}

TEST_F(SelfUpdateTest, AFailedDownloadClosesTheWindowAndNothingWaits) {
  Download();
  platform.download.Finish(false);
  EXPECT_FALSE(up.UpForm.Visible());
  EXPECT_EQ(waitingReports, 0);
  EXPECT_FALSE(update.MayHandOver({}));
  EXPECT_TRUE(platform.shell.launches.empty());
  EXPECT_EQ(platform.windowSystem.terminations, 0);
  EXPECT_TRUE(platform.windowSystem.boxes.empty());
}

TEST_F(SelfUpdateTest, WhatIsStartedIsWhatWasCheckedAndHeldUntilThen) {
  // Changed while it waits (a file system that did not keep the hold): checked
  // again at the hand-over, it is not started.
  for (const bool changed : {true, false}) {
    SCOPED_TRACE(changed ? "changed" : "unchanged");
    platform.shell.launches.clear();
    platform.windowSystem.terminations = 0;
    Download();
    platform.download.Finish(true, kNewProgram);
    EXPECT_TRUE(platform.files.held.contains(Program()));
    if (changed) platform.files.contents[Program()] = "tampered";
    platform.clock.AdvanceSeconds(3);
    update.HandOver({kMainWindow, false, ""});
    EXPECT_FALSE(platform.files.held.contains(Program()));
    EXPECT_EQ(platform.shell.launches.size(), changed ? 0u : 1u);
    EXPECT_EQ(platform.windowSystem.terminations, changed ? 0 : 1);
    EXPECT_EQ(platform.files.Exists(Program()), !changed);
  }
}

TEST_F(SelfUpdateTest, AProgramThatDoesNotStartLeavesThisOneRunningWithItsClaim) {
  constexpr SystemError kFileNotFound = 2;
  platform.shell.answer = kFileNotFound;
  Download();
  platform.download.Finish(true, kNewProgram);
  update.HandOver({kMainWindow, true, ""});
  ASSERT_EQ(platform.shell.launches.size(), 1u);
  EXPECT_EQ(platform.shell.launches[0].parameters, "/handover /tray");
  EXPECT_TRUE(platform.sessionInstance.calls.empty());
  EXPECT_EQ(platform.windowSystem.terminations, 0);
  EXPECT_FALSE(update.HandedOver());
  EXPECT_FALSE(platform.files.Exists(Program()));
  EXPECT_FALSE(platform.files.held.contains(Program()));
  // Asked once: nothing waits any more.
  EXPECT_FALSE(update.MayHandOver({}));
}

TEST_F(SelfUpdateTest, AcceptsOnlyAProgramTheProjectSignedAsTheNamedNewerVersion) {
  using Outcome = VersionResource::Outcome;
  struct Case {
    const char* what;
    const char* namedVersion;
    const char* program;  // what the download stores
    VersionResource::Result programVersion;
    bool keyUsable;
  };
  static constexpr Case kCases[] = {
      {"another program", "1.0.2.0", "tampered", kVersion1020, true},
      {"an empty download", "1.0.2.0", "", kVersion1020, true},
      {"an older signed program",
       "1.0.2.0",
       kNewProgram,
       {Outcome::Found, 0x00010000, 0x00000001},
       true},
      {"a version other than named", "1.0.3.0", kNewProgram, kVersion1020, true},
      {"no version resource", "1.0.2.0", kNewProgram, {Outcome::NoVersionInfo, 0, 0}, true},
      {"a key that does not import", "1.0.2.0", kNewProgram, kVersion1020, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    FakePlatform p(At(9, 0, 0));
    p.signatures.Sign(kNewProgram, kSignature);
    p.signatures.keyUsable = c.keyUsable;
    p.versionResource.byFile[Program()] = c.programVersion;
    Form main("Form1", {0, 0, 780, 550}, Form::Frame::Main);
    TForm2 window(main, nullptr);
    int waiting = 0;
    SelfUpdate checked({p.download, p.files, p.clock, p.signatures, p.versionResource, p.shell,
                        p.sessionInstance, p.windowSystem},
                       window, [&] { ++waiting; });
    checked.Download({kUrl, c.namedVersion, kSignature}, {kFolder, "Dusk.exe", "1.0.1.2"});
    p.download.Finish(true, c.program);
    EXPECT_EQ(waiting, 0);
    EXPECT_FALSE(checked.MayHandOver({}));
    EXPECT_FALSE(p.files.Exists(Downloaded()));
    EXPECT_FALSE(p.files.Exists(Program()));
    EXPECT_FALSE(p.files.held.contains(Program()));
    EXPECT_FALSE(window.UpForm.Visible());
    EXPECT_TRUE(p.windowSystem.boxes.empty());
  }
}

namespace {

// The progress window with native windows: one of them can fail.
class SelfUpdateWindowsTest : public SelfUpdateTest {
 protected:
  SelfUpdateWindowsTest() : SelfUpdateTest(true) {}

  void ExpectEndedQuietly() {
    EXPECT_FALSE(up.UpForm.Visible());
    EXPECT_FALSE(platform.files.Exists(Downloaded()));
    EXPECT_FALSE(platform.files.Exists(Program()));
    EXPECT_EQ(waitingReports, 0);
    EXPECT_TRUE(platform.shell.launches.empty());
    EXPECT_EQ(platform.windowSystem.terminations, 0);
    EXPECT_TRUE(platform.windowSystem.boxes.empty());
  }
};

}  // namespace

// A fault in a handler ends the download as a failed one ends: quietly.
TEST_F(SelfUpdateWindowsTest, AFaultWhileShowingProgressEndsTheDownloadQuietly) {
  Download();
  ASSERT_TRUE(up.UpForm.Visible());
  windows.faultyControl = "ProgressBar1";
  platform.download.Progress(512, 2048);
  EXPECT_FALSE(up.UpForm.Visible());
  platform.download.Progress(1024, 2048);  // what it still reports is ignored
  EXPECT_FALSE(up.UpForm.Visible());
  platform.download.Finish(true, kNewProgram);
  ExpectEndedQuietly();
}

TEST_F(SelfUpdateWindowsTest, AFaultWhileTakingTheDownloadEndsItQuietly) {
  Download();
  platform.files.faulty.insert(Downloaded());
  platform.download.Finish(true, kNewProgram);
  ExpectEndedQuietly();
}
