#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>

#include "platform/ansi_text_win.h"
#include "platform/win32_platform.h"

namespace {

std::optional<std::wstring> Wide(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return AnsiToWide(*text);
}

const wchar_t* OrNull(const std::optional<std::wstring>& text) {
  return text ? text->c_str() : nullptr;
}

// The shell answers a failed launch with a code of its own, 32 or less.
SystemError FromShellAnswer(INT_PTR answer) {
  switch (answer) {
    case 0:
    case SE_ERR_OOM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_FNF:
      return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF:
      return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED:
      return ERROR_ACCESS_DENIED;
    case ERROR_BAD_FORMAT:
      return ERROR_BAD_FORMAT;
    case SE_ERR_SHARE:
      return ERROR_SHARING_VIOLATION;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC:
      return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY:
      return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND:
      return ERROR_DLL_NOT_FOUND;
    default:
      return ERROR_GEN_FAILURE;
  }
}

}  // namespace

SystemError Win32Shell::Execute(const Launch& launch) {
  const std::optional<std::wstring> verb = Wide(launch.verb);
  const std::optional<std::wstring> parameters = Wide(launch.parameters);
  const std::optional<std::wstring> directory = Wide(launch.directory);
  const HINSTANCE result = ShellExecuteW(reinterpret_cast<HWND>(launch.owner), OrNull(verb),
                                         AnsiToWide(launch.file).c_str(), OrNull(parameters),
                                         OrNull(directory), launch.showCommand);
  const auto answer = reinterpret_cast<INT_PTR>(result);
  return answer > 32 ? kSucceeded : FromShellAnswer(answer);
}
