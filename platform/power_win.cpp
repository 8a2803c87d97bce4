#include "platform/win32_platform.h"

bool Win32Power::EnableShutdownPrivilege() {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) {
    return false;
  }
  const UniqueKernelHandle token(rawToken);
  TOKEN_PRIVILEGES privileges{};
  if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
    return false;
  }
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  DWORD returnedLength = 0;
  return AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, &returnedLength) !=
         FALSE;
}

bool Win32Power::RequestExit(ExitMode mode, unsigned reason) {
  return ExitWindowsEx(static_cast<UINT>(mode), reason) != FALSE;
}
