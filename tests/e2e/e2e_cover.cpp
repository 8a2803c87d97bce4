// A program for the end-to-end tests of the warning window: a topmost window over the whole
// virtual screen that takes the keyboard, as a full-screen program the user types in would. Its
// title counts the Enter and Space keys it received, so that a test sees where the keys went.

#include <windows.h>

#include <cstdio>

namespace {

constexpr const char* kTitle = "Dusk全屏 e2e";
int g_keys = 0;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_SPACE) {
        char title[64];
        snprintf(title, sizeof title, "%s %d", kTitle, ++g_keys);
        SetWindowTextA(hwnd, title);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1);
  windowClass.lpszClassName = "DuskE2ECover";
  if (!RegisterClassA(&windowClass)) return 1;
  char title[64];
  snprintf(title, sizeof title, "%s 0", kTitle);
  HWND window =
      CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, title, WS_POPUP | WS_VISIBLE,
                      GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                      nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  SetForegroundWindow(window);
  SetFocus(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
