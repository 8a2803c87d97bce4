#include <windows.h>

#include <commdlg.h>

#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"

unsigned Win32WindowSystem::DoubleClickTimeMs() const { return GetDoubleClickTime(); }

int Win32WindowSystem::ShowMessageBox(WindowHandle owner, const std::string& text,
                                      const std::string& caption, MessageBoxIcon icon) {
  return MessageBoxW(reinterpret_cast<HWND>(owner), ToWide(text).c_str(), ToWide(caption).c_str(),
                     MB_OK | static_cast<UINT>(icon));
}

namespace {

// The items numbered from `next` on, each submenu's items right after their item.
void AppendMenuItems(HMENU menu, const std::vector<WindowSystem::MenuItem>& items, UINT& next) {
  for (const WindowSystem::MenuItem& item : items) {
    const UINT id = next++;
    if (item.text.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::string text = item.shortcut.empty() ? item.text : item.text + "\t" + item.shortcut;
    if (item.submenu.empty()) {
      AppendMenuW(menu, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), id,
                  ToWide(text).c_str());
      continue;
    }
    UniqueMenu submenu(CreatePopupMenu());
    if (!submenu) continue;
    AppendMenuItems(submenu.Get(), item.submenu, next);
    // The menu destroys its submenus with itself.
    if (AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.Get()),
                    ToWide(text).c_str())) {
      (void)submenu.Release();
    }
  }
}

}  // namespace

int Win32WindowSystem::ShowPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items) {
  const UniqueMenu menu(CreatePopupMenu());
  if (!menu) return -1;
  UINT next = 1;
  AppendMenuItems(menu.Get(), items, next);
  POINT pointer{};
  GetCursorPos(&pointer);
  const HWND window = reinterpret_cast<HWND>(owner);
  // Without the foreground the menu would not close on a click elsewhere.
  SetForegroundWindow(window);
  const int chosen = TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                    pointer.x, pointer.y, 0, window, nullptr);
  PostMessageW(window, WM_NULL, 0, 0);
  return chosen - 1;
}

std::optional<std::string> Win32WindowSystem::ChooseFile(const FileDialog& dialog) {
  // Description and pattern, each closed by a zero, and the list by one more.
  std::wstring filter = ToWide(dialog.filterDescription);
  filter.push_back(L'\0');
  filter += ToWide(dialog.filterPattern);
  filter.push_back(L'\0');
  const std::wstring title = ToWide(dialog.title);
  wchar_t file[MAX_PATH * 4] = {};
  lstrcpynW(file, ToWide(dialog.initialFile).c_str(), static_cast<int>(std::size(file)));
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = reinterpret_cast<HWND>(dialog.owner);
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = file;
  request.nMaxFile = static_cast<DWORD>(std::size(file));
  request.lpstrTitle = title.c_str();
  request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLESIZING;
  if (!GetOpenFileNameW(&request)) return std::nullopt;
  return FromWide(file);
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
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (!IsDialogMessageW(modal, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
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
  // The program is aware of the screen's density: the system answers in its
  // pixels, the windows are placed in 96-DPI ones.
  const WindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  const auto layout = [dpi](int pixels) { return dpi > 0 ? MulDiv(pixels, 96, dpi) : pixels; };
  return {layout(GetSystemMetrics(SM_CXSCREEN)), layout(GetSystemMetrics(SM_CYSCREEN))};
}

void Win32WindowSystem::Terminate() { PostQuitMessage(0); }
