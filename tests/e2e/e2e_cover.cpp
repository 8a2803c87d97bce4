// A program for the end-to-end tests of the warning window: a topmost window over the whole
// virtual screen that takes the keyboard, as a full-screen program the user types in would. Its
// title counts the Enter and Space keys it received, so that a test sees where the keys went.

#include <windows.h>

#include <cwchar>

namespace {

constexpr const wchar_t* kTitle = L"Dusk全屏 e2e";
int g_keys = 0;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_SPACE) {
        wchar_t title[64];
        swprintf(title, 64, L"%ls %d", kTitle, ++g_keys);
        SetWindowTextW(hwnd, title);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1);
  windowClass.lpszClassName = L"DuskE2ECover";
  if (!RegisterClassW(&windowClass)) return 1;
  wchar_t title[64];
  swprintf(title, 64, L"%ls 0", kTitle);
  HWND window =
      CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, title, WS_POPUP | WS_VISIBLE,
                      GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                      nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  SetForegroundWindow(window);
  SetFocus(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
