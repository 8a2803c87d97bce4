// A program to list and to end by name: it shows a window with the title it is
// given, with a hidden and a disabled window above it that the listing must
// pass over, then sets the event it is given and waits to be ended. Like a program holding
// unsaved work, it refuses to let the session end.
//   process_fixture READY_EVENT TITLE
// Wide throughout, so that a title outside the system's code page arrives whole.
// It ends by itself after a minute, so that a failed test leaves nothing running.
#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kWindowClass[] = L"DuskProcessFixture";
constexpr UINT kLifetimeMs = 60000;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    PostQuitMessage(0);
    return 0;
  }
  if (message == WM_QUERYENDSESSION) return FALSE;
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(HINSTANCE instance, const std::wstring& title, DWORD extraStyle) {
  return CreateWindowExW(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW | extraStyle, 10, 10,
                         300, 200, nullptr, nullptr, instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  const std::wstring arguments = commandLine;
  const std::size_t space = arguments.find(L' ');
  if (space == std::wstring::npos) return 2;
  const std::wstring readyEvent = arguments.substr(0, space);
  const std::wstring title = arguments.substr(space + 1);

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
  // Made last, so they lie above the titled window in the stacking order.
  const HWND shown = MakeWindow(instance, title, WS_VISIBLE);
  const HWND hidden = MakeWindow(instance, L"hidden " + title, 0);
  const HWND disabled = MakeWindow(instance, L"disabled " + title, WS_VISIBLE | WS_DISABLED);
  if (!shown || !hidden || !disabled) return 3;
  SetTimer(shown, 1, kLifetimeMs, nullptr);

  if (const HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, readyEvent.c_str())) {
    SetEvent(ready);
    CloseHandle(ready);
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
