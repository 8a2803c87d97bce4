// What the system's part of a tick costs with a "下载完成后" and a "无人操作时" task waiting,
// on the real system (under Wine: the Wine server and its network driver): one traffic sample
// (GetIfTable2, GetSystemTimes) and one presence sample (GetLastInputInfo, the notification
// state, the execution state), as the tick takes them. Prints the median wall time and the
// processor time per tick in microseconds; nothing passes or fails on them.
//
//   activity_sample_bench.exe [ROUNDS]     (default 501)

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/machine_activity_win.h"
#include "platform/presence_sensor_win.h"

namespace {

double NowUs() {
  return std::chrono::duration<double, std::micro>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// This thread's processor time, kernel and user, in microseconds.
double ThreadCpuUs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto units = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime);
  };
  return (units(kernel) + units(user)) / 10.0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 501;
  Win32MachineActivity activity;
  Win32PresenceSensor presence;
  // The first calls load the DLLs: not part of a tick.
  std::size_t adapters = activity.Sample().adapters.size();
  (void)presence.Sample();
  std::vector<double> wallUs, trafficUs, presenceUs;
  double trafficCpuUs = 0;
  const double cpuStart = ThreadCpuUs();
  for (int round = 0; round < rounds; ++round) {
    const double start = NowUs();
    const double cpuBefore = ThreadCpuUs();
    adapters = activity.Sample().adapters.size();
    trafficCpuUs += ThreadCpuUs() - cpuBefore;
    const double between = NowUs();
    (void)presence.Sample();
    const double end = NowUs();
    wallUs.push_back(end - start);
    trafficUs.push_back(between - start);
    presenceUs.push_back(end - between);
  }
  const double cpuUs = (ThreadCpuUs() - cpuStart) / rounds;
  std::printf("%d ticks' samples, %zu physical adapters; medians per tick:\n", rounds, adapters);
  std::printf("  wall time: %.0f us (traffic %.0f us, presence %.0f us)\n", Median(wallUs),
              Median(trafficUs), Median(presenceUs));
  std::printf("  this thread's processor time: %.0f us (traffic %.0f us)\n", cpuUs,
              trafficCpuUs / rounds);
  return 0;
}
