#include "platform/elevation_win.h"

#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"

std::optional<UacToken> QueryTokenElevation(HANDLE token) {
  TOKEN_ELEVATION_TYPE type{};
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size)) {
    return std::nullopt;
  }
  switch (type) {
    case TokenElevationTypeDefault:
      return UacToken::Default;
    case TokenElevationTypeFull:
      return UacToken::Full;
    case TokenElevationTypeLimited:
      return UacToken::Limited;
  }
  return std::nullopt;
}

UniqueKernelHandle OpenShellToken() {
  DWORD processId = 0;
  const HWND shell = GetShellWindow();
  if (!shell || !GetWindowThreadProcessId(shell, &processId)) return {};
  const UniqueKernelHandle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  HANDLE token = nullptr;
  if (!process || !OpenProcessToken(process.Get(), TOKEN_QUERY | TOKEN_DUPLICATE, &token))
    return {};
  return UniqueKernelHandle(token);
}

ElevationFacts CurrentElevationFacts() {
  ElevationFacts facts;
  HANDLE own = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own)) {
    facts.program = QueryTokenElevation(UniqueKernelHandle(own).Get());
  }
  if (const UniqueKernelHandle shell = OpenShellToken())
    facts.shell = QueryTokenElevation(shell.Get());
  // Only Wine's own library answers to this name.
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  facts.oneTokenForAll = ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  return facts;
}

bool StartAgainAsShellUser(const wchar_t* commandLine) {
  const UniqueKernelHandle shellToken = OpenShellToken();
  if (!shellToken || QueryTokenElevation(shellToken.Get()) == UacToken::Full) return false;
  HANDLE primary = nullptr;
  if (!DuplicateTokenEx(shellToken.Get(),
                        TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY |
                            TOKEN_ADJUST_DEFAULT | TOKEN_ADJUST_SESSIONID,
                        nullptr, SecurityImpersonation, TokenPrimary, &primary)) {
    return false;
  }
  const UniqueKernelHandle token(primary);
  const std::wstring program = ToWide(Win32Files().ProgramFilePath());
  if (program.empty()) return false;
  // The system may write into the command line it is given.
  std::wstring arguments = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessWithTokenW(token.Get(), 0, program.c_str(), arguments.data(), 0, nullptr,
                               nullptr, &startup, &started)) {
    return false;
  }
  const UniqueKernelHandle process(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
  return true;
}
