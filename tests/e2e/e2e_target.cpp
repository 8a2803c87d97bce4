// A program for the end-to-end tests to find among the running processes: one plain top-level
// window titled with the rest of its command line, wide throughout, so that a title outside the
// system's code page arrives whole. It ends when its window is closed or its
// process is ended; a test that fails before that ends it with its Wine session.

#include <windows.h>

#include <string>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// The command line after the program's own name, which may be quoted.
std::wstring Title() {
  const wchar_t* p = GetCommandLineW();
  if (*p == '"') {
    for (++p; *p && *p != '"'; ++p) {
    }
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"DuskE2ETarget";
  if (!RegisterClassW(&windowClass)) return 1;
  // Top left, clear of Dusk's main window, which sits in the middle of the desktop.
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, Title().c_str(),
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 120, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
