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

// Appends the entries and their submenus; `next` is the number of the next entry, and a
// chosen entry comes back as its number plus one (0 means none was chosen).
void AppendMenuItems(HMENU menu, const std::vector<WindowSystem::MenuItem>& items, UINT& next) {
  for (const WindowSystem::MenuItem& item : items) {
    const UINT command = ++next;
    if (item.text.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::wstring text =
        ToWide(item.shortcut.empty() ? item.text : item.text + "\t" + item.shortcut);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_ID;
    info.fType = item.radio ? MFT_RADIOCHECK : MFT_STRING;
    info.fState =
        (item.checked ? MFS_CHECKED : MFS_UNCHECKED) | (item.enabled ? MFS_ENABLED : MFS_DISABLED);
    info.wID = command;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    // The submenu belongs to its menu from here on: destroying the menu destroys it.
    HMENU submenu = nullptr;
    if (!item.submenu.empty() && (submenu = CreatePopupMenu()) != nullptr) {
      AppendMenuItems(submenu, item.submenu, next);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = submenu;
    }
    if (!InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info) && submenu) {
      DestroyMenu(submenu);
    }
  }
}

}  // namespace

int Win32WindowSystem::ShowPopupMenu(WindowHandle owner, const std::vector<MenuItem>& items) {
  const UniqueMenu menu(CreatePopupMenu());
  if (!menu) return -1;
  UINT entries = 0;
  AppendMenuItems(menu.Get(), items, entries);
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
