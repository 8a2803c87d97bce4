#include "platform/win32_platform.h"

unsigned Win32WindowSystem::DoubleClickTimeMs() const { return GetDoubleClickTime(); }

int Win32WindowSystem::ShowMessageBox(WindowHandle owner, const std::string& text,
                                      const std::string& caption, unsigned flags) {
  return MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(), flags);
}

int Win32WindowSystem::ShowPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items) {
  const UniqueMenu menu(CreatePopupMenu());
  if (!menu) return -1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    if (item.text.empty()) {
      AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::string text = item.shortcut.empty() ? item.text : item.text + "\t" + item.shortcut;
    AppendMenuA(menu.Get(), MF_STRING, i + 1, text.c_str());
  }
  POINT pointer{};
  GetCursorPos(&pointer);
  const HWND window = reinterpret_cast<HWND>(owner);
  // Without the foreground the menu would not close on a click elsewhere.
  SetForegroundWindow(window);
  const int chosen = TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                    pointer.x, pointer.y, 0, window, nullptr);
  PostMessageA(window, WM_NULL, 0, 0);
  return chosen - 1;
}

void Win32WindowSystem::Terminate() { PostQuitMessage(0); }
