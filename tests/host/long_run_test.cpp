// Thirty days of use on the fake platform, with native windows counted: the
// program's memory, windows, image lists and icons end as they began.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdio>
#include <ostream>
#include <string>

#include "main/program.h"
#include "tests/fakes/fake_mirrors.h"
#include "tests/fakes/fake_platform.h"

namespace {

constexpr int kDays = 30;
constexpr int kBatches = 1000;  // one listing of the processes in each
constexpr int kTasksPerBatch = 10;
constexpr int kDeletedPerBatch = 2;  // from the popup menu of the list
constexpr int kWarmUpDays = 3;
constexpr int kFirstBatchSecond = 8 * 3600;
constexpr int kSecondsBetweenBatches = 25 * 60;
constexpr int kMostTicksPerBatch = 400;

// Counts what the tick has performed, and passes it on to the program's own
// actions, which exist once the program does.
class CountingActions : public TaskActions {
 public:
  void PassTo(TaskActions& actions) { actions_ = &actions; }
  void WarnTaskDue(const Task& task) override { actions_->WarnTaskDue(task); }
  std::optional<std::string> PerformTask(const Task& task) override {
    ++performed;
    if (task.Kind == TaskKind::CloseProgram) ++closes;
    return actions_->PerformTask(task);
  }
  long performed = 0;
  long closes = 0;

 private:
  TaskActions* actions_ = nullptr;
};

// Heap bytes a day's use may leave behind for good reason: a text one digit
// longer than on the day before. Far less than one block a day for a month.
constexpr std::size_t kHeapSlackBytes = 256;

// Everything that must come back to where it was.
struct Holdings {
  int windows;
  int imageLists;
  int nativeImages;
  int images;
  std::size_t icons;
  std::size_t pickerEntries;
  std::size_t rows;
  bool trayIcon;
  friend bool operator==(const Holdings&, const Holdings&) = default;
  friend void PrintTo(const Holdings& h, std::ostream* out) {
    *out << h.windows << " windows, " << h.imageLists << " image lists of " << h.nativeImages
         << " images (" << h.images << " in the program's), " << h.icons << " icons, "
         << h.pickerEntries << " picker entries, " << h.rows << " rows, tray icon "
         << (h.trayIcon ? "in" : "out");
  }
};

// In use: small blocks from the heap, large ones mapped on their own.
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

class LongRun {
 public:
  LongRun()
      : platform(Start()),
        program(WithWindows(platform, windows), kTestUpdateHost, counting),
        f(program.Form1) {
    counting.PassTo(program.taskActions);
    program.Start();
    FillProcesses();
    platform.windowSystem.chosenFile = "C:\\Tools\\run.exe";
    platform.files.contents[program.state.AppPath + "clock\\1.wav"] = "wave";
    platform.windowSystem.menuChoice = 0;  // the popup's delete entry
  }

  // One batch of tasks, entered at its second of the day and run to its end.
  void RunBatch(int day, int batch) {
    second_ = day * 86400 + kFirstBatchSecond + batch * kSecondsBetweenBatches;
    SetClock();
    for (int i = 0; i < kTasksPerBatch; ++i) Enter(i);
    // Right-clicked rows: one near the top, then the last.
    const std::size_t before = f.Tasks().Queue().Count();
    f.TaskList.UserContextMenu(1);
    f.TaskList.UserContextMenu(static_cast<int>(f.TaskList.Rows().size()) - 1);
    deleted += static_cast<long>(before - f.Tasks().Queue().Count());
    for (int ticks = 0; !f.Tasks().Queue().Empty(); ++ticks) {
      ASSERT_LT(ticks, kMostTicksPerBatch);
      ++second_;
      SetClock();
      f.TimerNow.Fire();
    }
    if (program.TipForm.Showing()) program.TipForm.bsSkinButton1.UserClick();
  }

  // Asleep over night; the system wakes the program in the morning.
  void SleepUntil(int day) {
    second_ = day * 86400 + kFirstBatchSecond - 60;
    SetClock();
    f.Form1.SystemResumed();
  }

  // The fakes' records of the calls go, as they are the test's, not the program's.
  void ForgetCalls() {
    for (const auto& balloon : platform.notificationArea.balloons) {
      if (balloon.text.starts_with("错过")) ++missed;
    }
    listingsSeen += platform.processes.snapshots;
    platform.ForgetCalls();
  }

  [[nodiscard]] Holdings Hold() const {
    return {windows.liveWindows,
            windows.liveImageLists,
            windows.liveImages,
            f.ImageListJinCheng.Count(),
            platform.processes.liveIcons.size(),
            f.bsSkinComboBoxEx1.Items().size(),
            f.TaskList.Rows().size(),
            platform.notificationArea.iconShown};
  }

  long entered = 0;
  long deleted = 0;
  long listings = 0;
  long listingsSeen = 0;
  long missed = 0;
  CountingActions& Counting() { return counting; }

 private:
  static DateTime Start() { return At(0, 0, 0, 10, 12, 2026); }

  static PlatformSet WithWindows(FakePlatform& platform, FakeMirrorFactory& windows) {
    PlatformSet set = platform.Set();
    set.mirrors = &windows;
    return set;
  }

  void FillProcesses() {
    FakeProcesses& p = platform.processes;
    for (std::uint32_t i = 0; i < 24; ++i) {
      const std::string name = "tool" + std::to_string(i % 16) + ".exe";
      // Some run twice, some cannot be opened for their path, some have no icon.
      const std::string path = i % 7 == 3 ? "" : "C:\\Tools\\" + name;
      p.processes.emplace_back(2000 + i * 4, name, path);
      if (i % 5 != 4) p.iconCounts["C:\\Tools\\" + name] = 1 + i % 3;
      if (i % 3 == 0) {
        p.windows.emplace_back(0x5000 + i, 2000 + i * 4, "Window " + std::to_string(i));
      }
    }
  }

  void SetClock() { platform.clock.Set(Start() + second_ / kSecondsPerDay); }

  void Enter(int i) {
    static constexpr TaskKind kKinds[kTasksPerBatch] = {
        TaskKind::Alarm,   TaskKind::OpenWebPage, TaskKind::OpenProgram, TaskKind::CloseProgram,
        TaskKind::TurnOff, TaskKind::Alarm,       TaskKind::Restart,     TaskKind::OpenWebPage,
        TaskKind::LogOff,  TaskKind::OpenWebPage,
    };
    const TaskKind kind = kKinds[i];
    if (i % 2 == 0) {
      f.RadioGroup1.UserSelect(1);
      f.bsSkinComboBox1.UserSelect(0);
      f.bsSkinSpinEdit1.UserSetValue(1 + i % 3);
    } else {
      f.RadioGroup1.UserSelect(0);
      const DateTime due = Start() + (second_ + 60 + i * 11) / kSecondsPerDay;
      const CalendarTime at = DecodeDateTime(due);
      f.bsSkinDateEdit1.UserSetDate(due);
      f.bsSkinTimeEdit1.UserSetTimeOfDay(at.hour, at.minute, at.second);
    }
    f.RadioGroup2.UserSelect(static_cast<int>(kind));
    switch (kind) {
      case TaskKind::Alarm:
        f.EditInfo.UserEdit("该开会了，第" + std::to_string(entered) + "次");
        break;
      case TaskKind::OpenWebPage:
        f.EditInfo.UserEdit("http://example.invalid/page/" + std::to_string(entered));
        break;
      case TaskKind::CloseProgram:
        ++listings;
        f.bsSkinComboBoxEx1.UserSelect(static_cast<int>(listings % 24));
        break;
      default:
        break;
    }
    f.ButtonAdd.UserClick();
    ++entered;
  }

  FakePlatform platform;
  FakeMirrorFactory windows;
  CountingActions counting;
  Program program;
  TForm1& f;
  long second_ = 0;
};

}  // namespace

TEST(LongRun, ThirtyDaysOfTasksAndListingsLeaveNothingBehind) {
  LongRun run;
  Holdings warm{};
  std::size_t warmHeap = 0;
  int batch = 0;
  for (int day = 0; day < kDays; ++day) {
    if (day > 0) run.SleepUntil(day);
    const int dayEnd = (day + 1) * kBatches / kDays;
    for (int inDay = 0; batch < dayEnd; ++batch, ++inDay) {
      run.RunBatch(day, inDay);
      if (testing::Test::HasFatalFailure()) return;
    }
    run.ForgetCalls();
    if (day == kWarmUpDays - 1) {
      warm = run.Hold();
      warmHeap = HeapInUse();
    }
  }
  const Holdings end = run.Hold();
  const std::size_t endHeap = HeapInUse();

  std::printf(
      "long run: heap %zu -> %zu bytes, windows %d -> %d, image lists %d -> %d, "
      "images %d/%d -> %d/%d, icons %zu -> %zu\n",
      warmHeap, endHeap, warm.windows, end.windows, warm.imageLists, end.imageLists, warm.images,
      warm.nativeImages, end.images, end.nativeImages, warm.icons, end.icons);
  EXPECT_EQ(run.entered, kBatches * kTasksPerBatch);
  EXPECT_EQ(run.deleted, kBatches * kDeletedPerBatch);
  EXPECT_EQ(run.Counting().performed, run.entered - run.deleted);
  EXPECT_EQ(run.missed, 0);
  EXPECT_EQ(run.listings, kBatches);
  // A snapshot of the processes for each listing the user asked for and each program ended:
  // nothing lists them in the background. (The warning before an exit looks at the windows.)
  EXPECT_EQ(run.listingsSeen, kBatches + run.Counting().closes);
  EXPECT_EQ(end, warm);
  EXPECT_LE(endHeap, warmHeap + kHeapSlackBytes);
  EXPECT_EQ(end.images, end.nativeImages);
  EXPECT_EQ(end.icons, 0u);
}
