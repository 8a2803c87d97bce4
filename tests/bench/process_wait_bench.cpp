// What the system's part of a tick costs with 100 tasks waiting for programs to end, on handles
// of this running program, on the real system (under Wine: the Wine server): the question the
// tick asks (Win32Processes::WhichEnded, one zero-timeout wait per 64 handles) against 100
// zero-timeout waits one by one (WatchedProcess::HasEnded). Prints medians in microseconds per
// round; nothing passes or fails on them.
//
//   process_wait_bench.exe [ROUNDS]     (default 201)

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/processes_win.h"

namespace {

constexpr int kWaitingTasks = 100;

double NowUs() {
  return std::chrono::duration<double, std::micro>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 201;
  Win32Processes processes(GetModuleHandleW(nullptr));
  std::vector<std::unique_ptr<Processes::WatchedProcess>> watched;
  for (int i = 0; i < kWaitingTasks; ++i) {
    watched.push_back(processes.OpenToWatch(GetCurrentProcessId()));
    if (!watched.back()) {
      std::fprintf(stderr, "this process could not be opened to be watched\n");
      return 1;
    }
  }
  std::vector<Processes::WatchedProcess*> handles;
  for (const auto& process : watched) handles.push_back(process.get());
  std::vector<double> oneByOneUs, togetherUs;
  int ended = 0;
  for (int round = 0; round < rounds; ++round) {
    double start = NowUs();
    for (const auto& process : watched) ended += process->HasEnded();
    oneByOneUs.push_back(NowUs() - start);
    start = NowUs();
    for (const bool e : processes.WhichEnded(handles)) ended += e;
    togetherUs.push_back(NowUs() - start);
  }
  std::printf("%d handles, median of %d rounds:\n", kWaitingTasks, rounds);
  std::printf("  one by one (HasEnded):   %8.1f us\n", Median(oneByOneUs));
  std::printf("  together (WhichEnded):   %8.1f us%s\n", Median(togetherUs),
              ended ? " (some read as ended)" : "");
  return 0;
}
