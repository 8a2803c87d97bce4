#include "platform/power_requests_win.h"

#include "platform/system_time_win.h"

std::optional<FILETIME> LocalMomentToUtc(DateTime when) {
  const SYSTEMTIME local = ToSystemTime(DecodeDateTime(when));
  SYSTEMTIME utc;
  FILETIME due;
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
      !SystemTimeToFileTime(&utc, &due)) {
    return std::nullopt;
  }
  return due;
}

UniqueKernelHandle CreateWakeTimer() {
  return UniqueKernelHandle(
      CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_MODIFY_STATE | SYNCHRONIZE));
}

SystemError SetWakeTimer(HANDLE timer, DateTime when) {
  const std::optional<FILETIME> due = LocalMomentToUtc(when);
  if (!due) return ERROR_INVALID_PARAMETER;
  // Positive: an absolute time, which follows a change of the system clock.
  LARGE_INTEGER dueTime;
  dueTime.LowPart = due->dwLowDateTime;
  dueTime.HighPart = static_cast<LONG>(due->dwHighDateTime);
  SetLastError(ERROR_SUCCESS);
  if (!SetWaitableTimer(timer, &dueTime, 0, nullptr, nullptr, TRUE)) return GetLastError();
  // Set, though the system may say it will not wake for it.
  return GetLastError() == ERROR_NOT_SUPPORTED ? ERROR_NOT_SUPPORTED : kSucceeded;
}

bool Win32PowerRequests::KeepSystemAwake(bool on) {
  const EXECUTION_STATE state = on ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS;
  return SetThreadExecutionState(state) != 0;
}

bool Win32PowerRequests::ArmWakeTimer(DateTime when) {
  if (!timer_) return false;
  const SystemError error = SetWakeTimer(timer_.Get(), when);
  return error == kSucceeded || error == ERROR_NOT_SUPPORTED;
}

void Win32PowerRequests::CancelWakeTimer() {
  if (timer_) CancelWaitableTimer(timer_.Get());
}
