// A program for the end-to-end tests to find among the running processes: one plain top-level
// window titled with the rest of its command line. It ends when its window is closed or its
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
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

// The command line after the program's own name, which may be quoted.
std::string Title() {
  const char* p = GetCommandLineA();
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
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "DuskE2ETarget";
  if (!RegisterClassA(&windowClass)) return 1;
  // Top left, clear of Dusk's main window, which sits in the middle of the desktop.
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, Title().c_str(),
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 120, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
