// The update check on a thread of its own, as the program runs it, while the
// main window's timer waits for the result. Under ThreadSanitizer
// (scripts/build.sh tsan) a hand-over that lost its release/acquire pair is a
// reported race on the candidate the thread wrote.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "main/program.h"
#include "tests/fakes/fake_platform.h"

namespace {

// Base64 of 64 bytes with r and s in range: a well-formed signature token.
constexpr char kSignature[] =
    "AQIDBAUGBwgJCgsMDQ4PEBESExQVFhcYGRobHB0eHyABAgMEBQYHCAkKCwwNDg8QERITFBUWFxgZGhscHR4fIA==";

// Threads that really run; the test waits for them before the fakes go.
class JoinedThreads : public Threads {
 public:
  ~JoinedThreads() override {
    for (std::thread& thread : threads_) thread.join();
  }
  bool StartDetached(std::function<void()> body) override {
    threads_.emplace_back(std::move(body));
    return true;
  }

 private:
  std::vector<std::thread> threads_;
};

}  // namespace

TEST(UpdateCheck, HandsWhatItFoundToTheTimerAcrossThreads) {
  FakePlatform platform(At(9, 0, 0));
  platform.download.bodies["http://update.dusk.invalid/v/dusk.html"] =
      "1.0.2.0\r\nhttp://dl.invalid/new.exe\r\n" + std::string(kSignature) + "\r\n";
  JoinedThreads threads;
  PlatformSet set = platform.Set();
  Program program(PlatformSet{set.clock,
                              set.codePage,
                              set.files,
                              set.versionResource,
                              set.notificationArea,
                              set.shell,
                              set.windowSystem,
                              set.power,
                              set.sound,
                              set.processes,
                              threads,
                              set.download,
                              set.signatures,
                              set.messages,
                              set.profileFiles,
                              set.powerRequests,
                              set.sessionInstance,
                              set.runAtLogon,
                              set.timeZone,
                              set.machineActivity,
                              set.presenceSensor,
                              set.displayLanguage},
                  kTestUpdateHost);
  program.Start();

  // The timer stops itself once it has taken the result over.
  Timer& timer = program.Form1.TimerUpgrade;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (timer.Enabled() && std::chrono::steady_clock::now() < deadline) {
    timer.Fire();
    std::this_thread::yield();
  }
  ASSERT_FALSE(timer.Enabled());
  EXPECT_EQ(platform.download.background.url.rfind("http://dl.invalid/new.exe?", 0), 0u);
  // The version and the signature came over too: the program they vouch for is started.
  platform.signatures.Sign("new program", kSignature);
  platform.versionResource.byFile[program.state.AppPath + "upDusk.exe"] = {
      VersionResource::Outcome::Found, 0x00010000, 0x00020000};
  platform.download.Finish(true, "new program");
  ASSERT_EQ(platform.shell.launches.size(), 1u);
  EXPECT_EQ(platform.shell.launches[0].file, program.state.AppPath + "upDusk.exe");
}
