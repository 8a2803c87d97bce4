#include "platform/power_requests_win.h"

#include <gtest/gtest.h>

#include "platform/win32_platform.h"

namespace {

// 100-nanosecond units, as a FILETIME counts them.
constexpr long long kPerSecond = 10'000'000;

long long Ticks(const FILETIME& time) {
  return static_cast<long long>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                time.dwLowDateTime);
}

}  // namespace

TEST(Win32PowerRequests, TheAwakeRequestIsTheThreadsExecutionState) {
  Win32PowerRequests power;
  ASSERT_TRUE(power.KeepSystemAwake(true));
  // Each call answers the state before it: what KeepSystemAwake asked for.
  EXPECT_EQ(SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED),
            static_cast<EXECUTION_STATE>(ES_CONTINUOUS | ES_SYSTEM_REQUIRED));
  ASSERT_TRUE(power.KeepSystemAwake(false));
  EXPECT_EQ(SetThreadExecutionState(ES_CONTINUOUS), static_cast<EXECUTION_STATE>(ES_CONTINUOUS));
}

TEST(Win32PowerRequests, TheLocalMomentBecomesTheSystemsUtcTime) {
  const Win32Clock clock;
  FILETIME systemNow;
  GetSystemTimeAsFileTime(&systemNow);
  const std::optional<FILETIME> converted = LocalMomentToUtc(clock.Now());
  ASSERT_TRUE(converted);
  EXPECT_NEAR(static_cast<double>(Ticks(*converted) - Ticks(systemNow)), 0.0, 2.0 * kPerSecond);
}

TEST(Win32PowerRequests, TheWakeTimerGoesOffAtItsMomentAndNotBefore) {
  const Win32Clock clock;
  const UniqueKernelHandle timer = CreateWakeTimer();
  ASSERT_TRUE(timer);
  // A system without wake timers sets it all the same and says so.
  const auto set = [](SystemError error) {
    return error == kSucceeded || error == ERROR_NOT_SUPPORTED;
  };

  EXPECT_PRED1(set, SetWakeTimer(timer.Get(), clock.Now() + 3600 / kSecondsPerDay));
  EXPECT_EQ(WaitForSingleObject(timer.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  // Moved: the later moment no longer holds.
  EXPECT_PRED1(set, SetWakeTimer(timer.Get(), clock.Now() + 0.2 / kSecondsPerDay));
  EXPECT_EQ(WaitForSingleObject(timer.Get(), 10'000), static_cast<DWORD>(WAIT_OBJECT_0));
}
