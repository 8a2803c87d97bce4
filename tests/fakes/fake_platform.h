#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "main/platform_set.h"
#include "scheduler/tick.h"
#include "tests/fakes/fake_activity.h"
#include "tests/fakes/fake_display_language.h"
#include "tests/fakes/fake_power_requests.h"
#include "tests/fakes/fake_processes.h"
#include "tests/fakes/fake_profile_files.h"
#include "tests/fakes/fake_run_at_logon.h"
#include "tests/fakes/fake_session_instance.h"
#include "tests/fakes/fake_signature_verifier.h"
#include "tests/fakes/fake_time_zone.h"

// A clock that stands still until the test moves it, writing dates and times
// the way a zh_CN system does ("yyyy/M/d", "H:mm:ss").
class FakeClock : public Clock {
 public:
  explicit FakeClock(DateTime now) : now_(now) {}
  [[nodiscard]] DateTime Now() const override { return now_; }
  [[nodiscard]] std::string FormatShortDate(const CalendarTime& time) const override;
  [[nodiscard]] std::string FormatLongTime(const CalendarTime& time) const override;
  // No wait: the time moves on by as much.
  void Pause(unsigned milliseconds) const override {
    pauses.push_back(milliseconds);
    now_ += milliseconds / 1000.0 / kSecondsPerDay;
  }
  void Set(DateTime now) { now_ = now; }
  void AdvanceSeconds(double seconds) { now_ += seconds / kSecondsPerDay; }
  mutable std::vector<unsigned> pauses;

 private:
  mutable DateTime now_;
};

// Code page 936 (GBK): bytes 0x81 to 0xFE lead a double-byte character; what
// it cannot read becomes U+FFFD.
class FakeCodePage : public CodePage {
 public:
  [[nodiscard]] bool IsLeadByte(unsigned char byte) const override {
    return byte >= 0x81 && byte <= 0xFE;
  }
  [[nodiscard]] std::string ToUtf8(std::string_view bytes) const override;
};

// Files in memory, by their full path.
class FakeFiles : public Files {
 public:
  [[nodiscard]] std::string ProgramFilePath() const override { return programFilePath; }
  [[nodiscard]] bool Exists(const std::string& path) const override {
    return contents.contains(path);
  }
  [[nodiscard]] DriveKind KindOfDrive(const std::string& path) const override {
    const auto drive = driveKinds.find(path.substr(0, 1));
    return drive == driveKinds.end() ? DriveKind::Fixed : drive->second;
  }
  bool Delete(const std::string& path) override {
    deleted.push_back(path);
    return !locked.contains(path) && contents.erase(path) > 0;
  }
  bool MoveReplacing(const std::string& from, const std::string& to) override {
    if (faulty.contains(from)) throw std::runtime_error("the file system failed");
    if (!CopyReplacing(from, to)) return false;
    contents.erase(from);
    return true;
  }
  bool CopyReplacing(const std::string& from, const std::string& to) override {
    copies.push_back(from + " > " + to);
    if (locked.contains(to) || !contents.contains(from)) return false;
    contents[to] = contents[from];
    return true;
  }
  // Holding records the file; nothing stops the test from changing it.
  [[nodiscard]] std::unique_ptr<HeldFile> Hold(const std::string& path) override {
    if (!contents.contains(path)) return nullptr;
    struct Held : HeldFile {
      Held(std::set<std::string>& held, std::string path) : held(held), path(std::move(path)) {
        held.insert(this->path);
      }
      ~Held() override { held.erase(path); }
      std::set<std::string>& held;
      std::string path;
    };
    return std::make_unique<Held>(held, path);
  }
  [[nodiscard]] std::optional<std::string> ReadPrefix(const std::string& path,
                                                      std::size_t maxBytes) const override {
    const auto file = contents.find(path);
    if (file == contents.end()) return std::nullopt;
    return file->second.substr(0, maxBytes);
  }

  std::string programFilePath = "C:\\Program Files\\Dusk\\Dusk.exe";
  std::map<std::string, std::string> contents{{programFilePath, "program"}};
  std::set<std::string> locked;  // in use: neither replaced nor deleted
  std::set<std::string> faulty;  // moving them raises a fault
  std::set<std::string> held;    // held open now
  // By a path's first letter; any other drive is fixed.
  std::map<std::string, DriveKind> driveKinds;
  std::vector<std::string> deleted;
  std::vector<std::string> copies;
};

// Threads that run when the test says so.
class FakeThreads : public Threads {
 public:
  bool StartDetached(std::function<void()> body) override {
    if (!canStart) return false;
    bodies.push_back(std::move(body));
    return true;
  }
  void RunAll() {
    auto running = std::move(bodies);
    bodies.clear();
    for (auto& body : running) body();
  }
  bool canStart = true;
  std::vector<std::function<void()>> bodies;
};

// A server in memory: addresses up to their "?" answer with a body, or fail.
class FakeDownload : public Download {
 public:
  bool ToFile(const std::string& url, const std::string& file, std::uint64_t keepBytes) override {
    requests.push_back(url);
    const auto body = bodies.find(url.substr(0, url.find('?')));
    if (body == bodies.end() || !files) return false;
    files->contents[file] = body->second.substr(0, keepBytes);
    return true;
  }
  void StartToFile(const std::string& url, const std::string& file, std::uint64_t maxBytes,
                   Listener& listener) override {
    requests.push_back(url);
    background = {url, file, maxBytes, &listener};
  }
  // The background download reports, as the service would.
  void Progress(std::uint32_t received, std::uint32_t total) {
    background.listener->DownloadProgress(received, total);
  }
  void Finish(bool succeeded, std::string program = "new program") {
    if (succeeded && files) files->contents[background.file] = std::move(program);
    Listener* listener = std::exchange(background.listener, nullptr);
    listener->DownloadFinished(succeeded);
  }

  struct Background {
    std::string url;
    std::string file;
    std::uint64_t maxBytes = 0;
    Listener* listener = nullptr;
  };
  FakeFiles* files = nullptr;
  std::map<std::string, std::string> bodies;
  std::vector<std::string> requests;
  Background background;
};

class FakeVersionResource : public VersionResource {
 public:
  [[nodiscard]] Result ReadFileVersion(const std::string& path) const override {
    askedFor.push_back(path);
    const auto file = byFile.find(path);
    return file != byFile.end() ? file->second : result;
  }
  Result result{Outcome::Found, 0x00010000, 0x00010002};
  std::map<std::string, Result> byFile;  // files that carry another version
  mutable std::vector<std::string> askedFor;
};

class FakeNotificationArea : public NotificationArea {
 public:
  struct Balloon {
    std::string title;
    std::string text;
    BalloonIcon icon = BalloonIcon::None;
  };
  void SetEvents(Events* events) override { this->events = events; }
  bool AddIcon(const std::string& tip) override {
    added.push_back(tip);
    iconShown = shellRunning;
    if (iconShown) this->tip = tip;
    return iconShown;
  }
  bool SetTip(const std::string& tip) override {
    this->tip = tip;
    return iconShown;
  }
  void RemoveIcon() override { iconShown = false; }
  bool ShowBalloon(const std::string& title, const std::string& text, BalloonIcon icon) override {
    balloons.push_back({title, text, icon});
    balloonShowing = true;
    return iconShown;
  }
  void HideBalloon() override {
    ++balloonHides;
    balloonShowing = false;
  }
  void Raise(Mouse event) { events->TrayMouse(event); }

  Events* events = nullptr;
  bool shellRunning = true;
  bool iconShown = false;
  std::string tip;
  std::vector<std::string> added;
  std::vector<Balloon> balloons;
  bool balloonShowing = false;
  int balloonHides = 0;
};

class FakeShell : public Shell {
 public:
  SystemError Execute(const Launch& launch) override {
    launches.push_back(launch);
    if (whileLaunching) whileLaunching();
    return answer;
  }
  std::vector<Launch> launches;
  SystemError answer = kSucceeded;
  // What runs inside the launch: the shell dispatches messages while it works.
  std::function<void()> whileLaunching;
};

class FakeWindowSystem : public WindowSystem {
 public:
  struct Box {
    WindowHandle owner;
    std::string text;
    std::string caption;
    MessageBoxIcon icon;
  };
  [[nodiscard]] unsigned DoubleClickTimeMs() const override { return 500; }
  int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                     MessageBoxIcon icon) override {
    boxes.push_back({owner, text, caption, icon});
    return 1;
  }
  int ShowPopupMenu(WindowHandle, const std::vector<MenuItem>& items) override {
    menus.push_back(items);
    if (menuChoiceText.empty()) return menuChoice;
    int index = 0;
    const std::function<int(const std::vector<MenuItem>&)> find =
        [&](const std::vector<MenuItem>& entries) {
          for (const MenuItem& item : entries) {
            if (item.text == menuChoiceText) return index;
            ++index;
            if (const int inside = find(item.submenu); inside >= 0) return inside;
          }
          return -1;
        };
    return find(items);
  }
  std::optional<std::string> ChooseFile(const FileDialog& dialog) override {
    fileDialogs.push_back(dialog);
    return chosenFile;
  }
  void RunModal(WindowHandle, const std::function<bool()>& stillOpen) override {
    ++modalRuns;
    if (whileModal) whileModal();
    modalLeftOpen = stillOpen();
  }
  [[nodiscard]] ScreenSize PrimaryScreenSize() const override { return {1280, 800}; }
  void Terminate() override { ++terminations; }

  std::vector<FileDialog> fileDialogs;
  std::optional<std::string> chosenFile;
  int modalRuns = 0;
  std::function<void()> whileModal;  // what the user does in a modal window
  bool modalLeftOpen = false;
  std::vector<Box> boxes;
  std::vector<std::vector<MenuItem>> menus;
  // The entry of that text is chosen, wherever it stands; else menuChoice.
  std::string menuChoiceText;
  int menuChoice = -1;
  int terminations = 0;
};

class FakePower : public Power {
 public:
  SystemError EnableShutdownPrivilege() override {
    calls.push_back("privilege");
    return privilegeAnswer;
  }
  SystemError RequestExit(unsigned flags, unsigned reason) override {
    calls.push_back("exit " + std::to_string(flags) + " " + std::to_string(reason));
    return exitAnswer;
  }
  SystemError Suspend(SuspendMode mode) override {
    calls.push_back(mode == SuspendMode::Hibernate ? "hibernate" : "suspend");
    if (whileAsleep) whileAsleep();
    return suspendAnswer;
  }
  bool CanHibernate() override { return canHibernate; }
  SystemError LockWorkStation() override {
    calls.push_back("lock");
    return lockAnswer;
  }
  SystemError TurnScreenOff(WindowHandle ownWindow) override {
    calls.push_back("screen off " + std::to_string(ownWindow));
    return screenOffAnswer;
  }
  std::vector<std::string> calls;
  // The system's Suspend returns after the wake: what the test looks at meanwhile.
  std::function<void()> whileAsleep;
  SystemError privilegeAnswer = kSucceeded;
  SystemError exitAnswer = kSucceeded;
  SystemError suspendAnswer = kSucceeded;
  SystemError screenOffAnswer = kSucceeded;
  bool canHibernate = true;
  SystemError lockAnswer = kSucceeded;
};

// The system's texts for its error codes, made up and easy to tell apart.
class FakeSystemMessages : public SystemMessages {
 public:
  [[nodiscard]] std::string Describe(SystemError error) const override {
    return "系统错误" + std::to_string(error) + "。";
  }
};

class FakeSound : public Sound {
 public:
  bool PlayFile(const std::string& file, Playback playback) override {
    calls.push_back(file + " " + std::to_string(static_cast<unsigned>(playback)));
    return true;
  }
  void Stop() override { calls.push_back("stop"); }
  std::vector<std::string> calls;
};

class RecordingTaskActions : public TaskActions {
 public:
  struct Call {
    TaskKind kind;
    std::string param;
    DateTime at;
  };
  explicit RecordingTaskActions(const Clock& clock) : clock_(clock) {}
  void WarnTaskDue(const Task& task) override {
    warned.push_back({task.Kind, task.Param, clock_.Now()});
  }
  std::optional<std::string> PerformTask(const Task& task) override {
    performed.push_back({task.Kind, task.Param, clock_.Now()});
    return std::nullopt;
  }
  std::vector<Call> warned;
  std::vector<Call> performed;

 private:
  const Clock& clock_;
};

// Every fake, wired as the program expects them.
struct FakePlatform {
  explicit FakePlatform(DateTime now) : clock(now) { download.files = &files; }
  FakeClock clock;
  FakeCodePage codePage;
  FakeFiles files;
  FakeVersionResource versionResource;
  FakeNotificationArea notificationArea;
  FakeShell shell;
  FakeWindowSystem windowSystem;
  FakePower power;
  FakeSound sound;
  FakeProcesses processes;
  FakeThreads threads;
  FakeDownload download;
  FakeSignatureVerifier signatures{files};
  FakeSystemMessages messages;
  FakeProfileFiles profileFiles;
  FakePowerRequests powerRequests;
  FakeSessionInstance sessionInstance;
  FakeRunAtLogon runAtLogon;
  FakeTimeZone timeZone;
  FakeMachineActivity machineActivity{clock};
  FakePresenceSensor presenceSensor{clock};
  FakeDisplayLanguage displayLanguage;
  // Drops what every fake recorded, with its memory; what the fakes hold
  // (files, processes, the tray icon) stays.
  void ForgetCalls();
  PlatformSet Set() {
    return {clock,          codePage,        files,      versionResource, notificationArea,
            shell,          windowSystem,    power,      sound,           processes,
            threads,        download,        signatures, messages,        profileFiles,
            powerRequests,  sessionInstance, runAtLogon, timeZone,        machineActivity,
            presenceSensor, displayLanguage, nullptr};
  }
};

// The update server the tests' programs ask: a name that never resolves.
inline constexpr char kTestUpdateHost[] = "update.dusk.invalid";

// 2026-12-10 and a time of day, for readable tests.
[[nodiscard]] DateTime At(int hour, int minute, int second, int day = 10, int month = 12,
                          int year = 2026);
