#include <windows.h>

#include <commdlg.h>

#include "platform/win32_platform.h"

unsigned Win32WindowSystem::DoubleClickTimeMs() const { return GetDoubleClickTime(); }

int Win32WindowSystem::ShowMessageBox(WindowHandle owner, const std::string& text,
                                      const std::string& caption, MessageBoxIcon icon) {
  return MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(),
                     MB_OK | static_cast<UINT>(icon));
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

std::optional<std::string> Win32WindowSystem::ChooseFile(const FileDialog& dialog) {
  // Description and pattern, each closed by a zero, and the list by one more.
  std::string filter = dialog.filterDescription;
  filter.push_back('\0');
  filter += dialog.filterPattern;
  filter.push_back('\0');
  char file[MAX_PATH * 4] = {};
  lstrcpynA(file, dialog.initialFile.c_str(), sizeof file);
  OPENFILENAMEA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = reinterpret_cast<HWND>(dialog.owner);
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = file;
  request.nMaxFile = sizeof file;
  request.lpstrTitle = dialog.title.c_str();
  request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLESIZING;
  if (!GetOpenFileNameA(&request)) return std::nullopt;
  return std::string(file);
}

namespace {

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM windows) {
  if (IsWindowEnabled(window)) reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

}  // namespace

void Win32WindowSystem::RunModal(WindowHandle window, const std::function<bool()>& stillOpen) {
  const HWND modal = reinterpret_cast<HWND>(window);
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow,
                    reinterpret_cast<LPARAM>(&disabled));
  std::erase(disabled, modal);
  for (HWND other : disabled) EnableWindow(other, FALSE);
  SetForegroundWindow(modal);
  MSG message;
  bool quit = false;
  while (stillOpen()) {
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (!IsDialogMessageA(modal, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  for (HWND other : disabled) EnableWindow(other, TRUE);
  // The box goes away: its owner takes the activation back, not the taskbar.
  if (const HWND owner = GetWindow(modal, GW_OWNER); owner && IsWindowVisible(owner)) {
    SetForegroundWindow(owner);
  }
  // The program is closing: the outer loop must see the request too.
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

WindowSystem::ScreenSize Win32WindowSystem::PrimaryScreenSize() const {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void Win32WindowSystem::Terminate() { PostQuitMessage(0); }
