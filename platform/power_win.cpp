#include <windows.h>

#include <powrprof.h>

#include "platform/win32_platform.h"

SystemError Win32Power::EnableShutdownPrivilege() {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) {
    return GetLastError();
  }
  const UniqueKernelHandle token(rawToken);
  TOKEN_PRIVILEGES privileges{};
  if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
    return GetLastError();
  }
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  DWORD returnedLength = 0;
  if (!AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, &returnedLength)) {
    return GetLastError();
  }
  // The adjustment succeeds without the privilege in the token: only this says so.
  return GetLastError() == ERROR_NOT_ALL_ASSIGNED ? ERROR_NOT_ALL_ASSIGNED : kSucceeded;
}

SystemError Win32Power::RequestExit(unsigned flags, unsigned reason) {
  return ExitWindowsEx(flags, reason) ? kSucceeded : GetLastError();
}

SystemError Win32Power::Suspend(SuspendMode mode) {
  // Not forced, and wake events stay enabled: a wake timer still wakes the computer.
  const BOOLEAN hibernate = mode == SuspendMode::Hibernate;
  return SetSuspendState(hibernate, FALSE, FALSE) ? kSucceeded : GetLastError();
}

bool Win32Power::CanHibernate() {
  SYSTEM_POWER_CAPABILITIES capabilities{};
  return GetPwrCapabilities(&capabilities) && capabilities.SystemS4 &&
         capabilities.HiberFilePresent;
}

SystemError Win32Power::LockWorkStation() {
  return ::LockWorkStation() ? kSucceeded : GetLastError();
}

SystemError Win32Power::TurnScreenOff(WindowHandle ownWindow) {
  const HWND window = reinterpret_cast<HWND>(ownWindow);
  if (!IsWindow(window)) return ERROR_INVALID_WINDOW_HANDLE;
  // 2: the display off (1 would be its low-power state). The window passes the command on to
  // the system's default handling.
  SendMessageW(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
  return kSucceeded;
}
