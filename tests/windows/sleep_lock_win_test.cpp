// Sleep and lock reach the system's own entry points through the platform
// layer. Under Wine neither does anything one could see, so each entry is
// patched, in this process only, with a jump to a recorder that takes the
// arguments and answers as the system would.
#include <windows.h>

#include <gtest/gtest.h>
#include <powrprof.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/time_zone_win.h"
#include "platform/win32_platform.h"
#include "scheduler/repeat.h"

namespace {

std::vector<std::string> calls;
BOOL answer = TRUE;
DWORD answerError = ERROR_SUCCESS;

BOOLEAN WINAPI RecordSuspend(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled) {
  calls.push_back("SetSuspendState " + std::to_string(hibernate) + " " + std::to_string(force) +
                  " " + std::to_string(wakeEventsDisabled));
  SetLastError(answerError);
  return static_cast<BOOLEAN>(answer);
}

BOOL WINAPI RecordExit(UINT flags, DWORD reason) {
  calls.push_back("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reason));
  SetLastError(answerError);
  return answer;
}

BOOL WINAPI RecordLock() {
  calls.push_back("LockWorkStation");
  SetLastError(answerError);
  return answer;
}

// The first bytes of a function replaced by "mov rax, target; jmp rax", and
// put back when the test ends.
class PatchedEntry {
 public:
  PatchedEntry(FARPROC entry, const void* target)
      : entry_(reinterpret_cast<unsigned char*>(entry)) {
    unsigned char jump[kLength] = {0x48, 0xB8};
    std::memcpy(jump + 2, &target, sizeof target);
    jump[10] = 0xFF;
    jump[11] = 0xE0;
    std::memcpy(saved_, entry_, kLength);
    Write(jump);
  }
  PatchedEntry(const PatchedEntry&) = delete;
  PatchedEntry& operator=(const PatchedEntry&) = delete;
  ~PatchedEntry() { Write(saved_); }

 private:
  static constexpr std::size_t kLength = 12;
  void Write(const unsigned char* bytes) {
    DWORD protection = 0;
    VirtualProtect(entry_, kLength, PAGE_EXECUTE_READWRITE, &protection);
    std::memcpy(entry_, bytes, kLength);
    VirtualProtect(entry_, kLength, protection, &protection);
    FlushInstructionCache(GetCurrentProcess(), entry_, kLength);
  }
  unsigned char* entry_;
  unsigned char saved_[kLength];
};

FARPROC EntryOf(const wchar_t* dll, const char* name) {
  return GetProcAddress(LoadLibraryW(dll), name);
}

}  // namespace

TEST(Win32Power, SleepsThroughSetSuspendStateAndLocksThroughLockWorkStation) {
  const FARPROC suspend = EntryOf(L"powrprof.dll", "SetSuspendState");
  const FARPROC lock = EntryOf(L"user32.dll", "LockWorkStation");
  ASSERT_TRUE(suspend);
  ASSERT_TRUE(lock);
  const PatchedEntry suspendRecorded(suspend, reinterpret_cast<const void*>(&RecordSuspend));
  const PatchedEntry lockRecorded(lock, reinterpret_cast<const void*>(&RecordLock));
  Win32Power power;
  struct Case {
    BOOL answer;
    DWORD error;
    SystemError result;
  };
  const Case kCases[] = {{TRUE, ERROR_SUCCESS, kSucceeded},
                         {FALSE, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.answer);
    calls.clear();
    answer = c.answer;
    answerError = c.error;
    EXPECT_EQ(power.Suspend(Power::SuspendMode::Sleep), c.result);
    EXPECT_EQ(power.Suspend(Power::SuspendMode::Hibernate), c.result);
    EXPECT_EQ(power.LockWorkStation(), c.result);
    // Force and wake events off: the system's settings decide, and wake timers still wake.
    EXPECT_EQ(calls, (std::vector<std::string>{"SetSuspendState 0 0 0", "SetSuspendState 1 0 0",
                                               "LockWorkStation"}));
  }
}

TEST(Win32Power, ExitsWithTheFlagsAndReasonGiven) {
  const FARPROC exit = EntryOf(L"user32.dll", "ExitWindowsEx");
  ASSERT_TRUE(exit);
  const PatchedEntry exitRecorded(exit, reinterpret_cast<const void*>(&RecordExit));
  Win32Power power;
  calls.clear();
  answer = TRUE;
  answerError = ERROR_SUCCESS;
  EXPECT_EQ(power.RequestExit(EWX_SHUTDOWN | EWX_FORCEIFHUNG, SHTDN_REASON_FLAG_PLANNED),
            kSucceeded);
  answer = FALSE;
  answerError = ERROR_PRIVILEGE_NOT_HELD;
  EXPECT_EQ(power.RequestExit(EWX_LOGOFF, 0), ERROR_PRIVILEGE_NOT_HELD);
  EXPECT_EQ(calls, (std::vector<std::string>{"ExitWindowsEx 17 2147483648", "ExitWindowsEx 0 0"}));
}

namespace {

std::vector<std::string> screenCommands;

LRESULT CALLBACK RecordScreenCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Kept from the system's default handling: the test's screen stays on.
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER) {
    screenCommands.push_back(std::to_string(lParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST(Win32Power, TurnsTheScreenOffThroughItsOwnWindowOnly) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = RecordScreenCommand;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"ScreenOffRecorder";
  ASSERT_TRUE(RegisterClassW(&windowClass));
  HWND window = CreateWindowExW(0, L"ScreenOffRecorder", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
  ASSERT_TRUE(window);
  Win32Power power;
  screenCommands.clear();
  EXPECT_EQ(power.TurnScreenOff(reinterpret_cast<WindowHandle>(window)), kSucceeded);
  EXPECT_EQ(screenCommands, std::vector<std::string>{"2"});
  DestroyWindow(window);
  EXPECT_EQ(power.TurnScreenOff(reinterpret_cast<WindowHandle>(window)),
            static_cast<SystemError>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(screenCommands.size(), 1u);
  UnregisterClassW(L"ScreenOffRecorder", windowClass.hInstance);
}

namespace {

// Minutes of UTC at a local wall-clock moment, as the system converts it.
long long UtcMinutesAt(DateTime local) {
  const CalendarTime t = DecodeDateTime(local);
  const SYSTEMTIME wall{static_cast<WORD>(t.year),
                        static_cast<WORD>(t.month),
                        0,
                        static_cast<WORD>(t.day),
                        static_cast<WORD>(t.hour),
                        static_cast<WORD>(t.minute),
                        static_cast<WORD>(t.second),
                        0};
  SYSTEMTIME utc{};
  FILETIME file{};
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &wall, &utc) ||
      !SystemTimeToFileTime(&utc, &file)) {
    return -1;
  }
  return static_cast<long long>(
      (ULARGE_INTEGER{{file.dwLowDateTime, file.dwHighDateTime}}.QuadPart) / 600'000'000ULL);
}

}  // namespace

// The rules as read put the gap where the system's own conversion skips the
// clock forward: a minute before it and a minute after it are two minutes
// apart. A zone without daylight saving reports none. (The test prefix takes
// the zone from TZ: run with TZ=Europe/Berlin to see the changes.)
TEST(Win32TimeZone, PutsTheSkippedHourWhereTheSystemSkipsIt) {
  const Win32TimeZone zone;
  TIME_ZONE_INFORMATION info{};
  const bool changes =
      GetTimeZoneInformation(&info) != TIME_ZONE_ID_UNKNOWN && info.DaylightDate.wMonth != 0;
  for (const int year : {2026, 2027, 2028}) {
    SCOPED_TRACE(year);
    const std::optional<DaylightSaving> rules = zone.DaylightSavingIn(year);
    ASSERT_EQ(rules.has_value(), changes);
    if (!rules) continue;
    const DateTime gap = ClockChangeMoment(rules->forward, year);
    const DateTime gapEnd = gap + rules->shiftMinutes / kMinutesPerDay;
    EXPECT_EQ(UtcMinutesAt(gapEnd + 1 / kMinutesPerDay) - UtcMinutesAt(gap - 1 / kMinutesPerDay),
              2);
    EXPECT_EQ(CompareDateTime(DueMomentOf(gap + 1 / kMinutesPerDay, zone), gapEnd), 0);
  }
}
