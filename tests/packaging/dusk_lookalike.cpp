// A program the installer takes for a running Dusk: a top-level window of Dusk's window class
// whose "Name" property reads Form1, as the installer looks for it. It ignores WM_CLOSE, and
// with "locked" it also refuses to be opened for waiting on or ending it. Once its window is up
// it creates the file READY_FILE; it ends itself after a minute, so that it never outlives a test.
//
// Usage: dusk_lookalike READY_FILE [locked]
#include <windows.h>

#include <aclapi.h>

#include <string>

#include "platform/unique_handle_win.h"

namespace {

constexpr UINT kLifetimeMs = 60000;

LRESULT CALLBACK LookalikeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) return 0;
  if (message == WM_TIMER) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

// An empty access list: no one, the owner's own programs included, may wait on it or end it.
bool RefuseOpening() {
  ACL empty;
  return InitializeAcl(&empty, sizeof empty, ACL_REVISION) &&
         SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                         nullptr, &empty, nullptr) == ERROR_SUCCESS;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  if (argc > 2 && std::wstring(argv[2]) == L"locked" && !RefuseOpening()) return 3;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = LookalikeProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"DuskForm";
  if (!RegisterClassW(&windowClass)) return 4;
  const HWND window = CreateWindowExW(0, L"DuskForm", L"Dusk", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                      nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) return 4;
  SetPropW(window, L"Name",
           reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GlobalAddAtomW(L"Form1"))));
  SetTimer(window, 1, kLifetimeMs, nullptr);
  if (!UniqueFile(CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr))) {
    return 5;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
