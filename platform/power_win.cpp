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

SystemError Win32Power::RequestExit(ExitMode mode, unsigned reason) {
  return ExitWindowsEx(static_cast<UINT>(mode), reason) ? kSucceeded : GetLastError();
}

SystemError Win32Power::Suspend() {
  // Hibernate FALSE: the system sleeps, or hibernates when the user has set
  // it to; wake events stay enabled.
  return SetSuspendState(FALSE, FALSE, FALSE) ? kSucceeded : GetLastError();
}

SystemError Win32Power::LockWorkStation() {
  return ::LockWorkStation() ? kSucceeded : GetLastError();
}
