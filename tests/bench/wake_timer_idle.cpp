// Idles like Dusk between tasks: a message loop woken by a one-second timer,
// for a given number of seconds, with the program's wake timer armed an hour
// ahead and the awake request on (--armed) or with neither. scripts/bench.sh
// measures its CPU time and the wineserver's from outside.
// Usage: wake_timer_idle.exe SECONDS [--armed]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/power_requests_win.h"

namespace {

DateTime LocalNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return EncodeDateTime(
      {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const int seconds = std::atoi(argv[1]);
  const bool armed = argc > 2 && std::strcmp(argv[2], "--armed") == 0;
  Win32PowerRequests power;
  if (armed) {
    const bool awake = power.KeepSystemAwake(true);
    const bool set = power.ArmWakeTimer(LocalNow() + 3600 / kSecondsPerDay);
    std::printf("awake request %s, wake timer %s\n", awake ? "on" : "refused",
                set ? "set" : "refused");
  }
  std::printf("READY\n");
  std::fflush(stdout);
  SetTimer(nullptr, 0, 1000, nullptr);
  int ticks = 0;
  MSG message;
  while (ticks < seconds && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) ++ticks;
    DispatchMessageW(&message);
  }
  std::printf("DONE %d ticks\n", ticks);
  return 0;
}
