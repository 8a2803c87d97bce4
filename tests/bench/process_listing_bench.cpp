// How much a process listing costs on the fake platform, with 500 processes and
// 5,000 top-level windows: window enumerations, icon reads and time per listing
// of GetProcess (one enumeration, one icon read per executable), against the
// listing done entry by entry (one enumeration and one icon read per process),
// in the same run. Prints figures only; nothing passes or fails on them.
//
//   process_listing_bench [ROUNDS]     (default 15; each round times both once)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "process/process_listing.h"
#include "tests/fakes/fake_processes.h"

namespace {

constexpr int kProcesses = 500;
constexpr int kWindows = 5000;
constexpr int kExecutables = 120;  // copies of one program share a file, as svchost.exe does

double NowMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void FillSystem(FakeProcesses& processes) {
  processes.processes.emplace_back(0, "[System Process]");
  processes.processes.emplace_back(4, "System");
  for (int i = 2; i < kProcesses; ++i) {
    const int executable = i * 7919 % kExecutables;
    const std::string name = "program" + std::to_string(executable) + ".exe";
    // One process in ten belongs to someone else and cannot be opened.
    const std::string path = i % 10 == 0 ? "" : "C:\\Programs\\" + name;
    processes.processes.emplace_back(static_cast<std::uint32_t>(i * 4 + 100), name, path);
    if (!path.empty() && executable % 7 != 0) processes.iconCounts[path] = 3;
  }
  for (int w = 0; w < kWindows; ++w) {
    const auto& owner = processes.processes[static_cast<std::size_t>(w * 31 % kProcesses)];
    // Most top-level windows are hidden: tooltips, message windows, tray helpers.
    processes.windows.emplace_back(static_cast<WindowHandle>(0x10000 + w), owner.processId,
                                   "Window " + std::to_string(w), w % 5 == 0, w % 17 != 0);
  }
}

// The straightforward listing, entry by entry, each looking for its own window
// and reading its own icon: the yardstick, not used by the program.
void ListEntryByEntry(Processes& processes, ComboBoxEx& picker, ImageList& images) {
  picker.ClearItems();
  images.DropAddedImages();
  for (const Processes::SnapshotEntry& entry : processes.Snapshot()) {
    picker.AddItem({entry.exeFile, ImageList::kDefaultImage});
    const int index = static_cast<int>(picker.Items().size()) - 1;
    ComboBoxEx::Item item = picker.Items().back();
    const std::string path = processes.ExecutablePath(entry.processId);
    WindowHandle found = 0;
    if (entry.processId != 0) {
      for (const Processes::TopLevelWindow& window : processes.TopLevelWindows()) {
        if (window.processId == entry.processId && window.visible && window.enabled) {
          found = window.window;
          break;
        }
      }
    }
    if (found) {
      const std::string title = processes.WindowTitle(found);
      if (!title.empty()) item.caption = title + "|" + item.caption;
      picker.SetItem(index, item);
    }
    if (processes.IconCount(path) > 0) {
      const IconHandle icon = processes.FirstIcon(path);
      const int image = images.AddIcon(icon);
      processes.ReleaseIcon(icon);
      if (image >= 0) item.imageIndex = image;
      picker.SetItem(index, item);
    }
  }
}

struct Figures {
  std::vector<double> milliseconds;
  int enumerations = 0;
  std::size_t iconReads = 0;
  std::vector<ComboBoxEx::Item> entries;
  int images = 0;

  [[nodiscard]] double Median() const {
    std::vector<double> sorted = milliseconds;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
};

template <typename Listing>
void TimeOnce(Listing listing, Figures& figures) {
  FakeProcesses processes;
  FillSystem(processes);
  ImageList images;
  ComboBoxEx picker("bsSkinComboBoxEx1", nullptr, {20, 330, 265, 20}, "");
  picker.SetImages(&images);
  const double start = NowMs();
  listing(processes, picker, images);
  figures.milliseconds.push_back(NowMs() - start);
  figures.enumerations = processes.windowEnumerations;
  figures.iconReads = processes.IconReads();
  figures.entries = picker.Items();
  figures.images = images.Count();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  Figures once;
  Figures perProcess;
  for (int round = 0; round < rounds; ++round) {
    // Alternating, so that neither always runs on a warmer machine.
    if (round % 2 == 0) {
      TimeOnce(GetProcess, once);
      TimeOnce(ListEntryByEntry, perProcess);
    } else {
      TimeOnce(ListEntryByEntry, perProcess);
      TimeOnce(GetProcess, once);
    }
  }
#ifdef NDEBUG
  const char* build = "optimised build";
#else
  const char* build = "UNOPTIMISED build: configure with -DCMAKE_BUILD_TYPE=Release for figures";
#endif
  std::printf(
      "Process listing on the fake platform: %d processes (%d executables), %d windows; %s\n",
      kProcesses, kExecutables, kWindows, build);
  std::printf("%-32s %8s %12s %10s %8s %16s\n", "", "entries", "enumerations", "icon reads",
              "images", "ms per listing");
  const auto row = [rounds](const char* name, const Figures& f) {
    std::printf("%-32s %8zu %12d %10zu %8d %16.3f  (median of %d)\n", name, f.entries.size(),
                f.enumerations, f.iconReads, f.images, f.Median(), rounds);
  };
  row("GetProcess (one enumeration)", once);
  row("entry by entry", perProcess);
  std::printf("%-32s %8s %11.1fx %9.1fx %8s %15.1fx\n", "ratio, entry by entry / GetProcess", "",
              static_cast<double>(perProcess.enumerations) / once.enumerations,
              static_cast<double>(perProcess.iconReads) / static_cast<double>(once.iconReads), "",
              perProcess.Median() / once.Median());
  // The saving is only worth having with the same entries and pictures.
  const bool same =
      once.images == perProcess.images &&
      std::equal(once.entries.begin(), once.entries.end(), perProcess.entries.begin(),
                 perProcess.entries.end(), [](const auto& a, const auto& b) {
                   return a.caption == b.caption && (a.imageIndex == 0) == (b.imageIndex == 0);
                 });
  std::printf("same captions and pictures: %s\n", same ? "yes" : "NO");
  return same ? 0 : 1;
}
