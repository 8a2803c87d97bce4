// The tray menu as the system builds it: submenus with their entries, choice marks drawn as
// dots, greyed entries, and the number of the chosen entry counted as the program counts it.
// The menu is read in this process while it is open (another process cannot read it), then
// an entry is chosen with the keyboard, as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"

namespace {

constexpr DWORD kBoundMs = 10000;

struct ReadItem {
  std::string text;
  bool radio = false;
  bool checked = false;
  bool greyed = false;
  std::vector<ReadItem> submenu;
};

std::vector<ReadItem> ReadMenu(HMENU menu) {
  std::vector<ReadItem> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128]{};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = static_cast<UINT>(std::size(text));
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    ReadItem item{FromWide(text),
                  (info.fType & MFT_RADIOCHECK) != 0,
                  (info.fState & MFS_CHECKED) != 0,
                  (info.fState & MFS_DISABLED) != 0,
                  {}};
    if (info.hSubMenu) item.submenu = ReadMenu(info.hSubMenu);
    items.push_back(std::move(item));
  }
  return items;
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND OpenMenuWindow() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM result) -> BOOL {
        wchar_t name[16]{};
        GetClassNameW(window, name, static_cast<int>(std::size(name)));
        if (std::wstring(name) != L"#32768" || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

TEST(Win32WindowSystem, BuildsSubmenusWithChoiceMarksAndAnswersTheChosenEntrysNumber) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = OwnerProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"MenuOwnerForTest";
  RegisterClassW(&windowClass);
  const HWND owner = CreateWindowExW(0, L"MenuOwnerForTest", L"", WS_OVERLAPPED, 0, 0, 10, 10,
                                     nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_TRUE(owner);

  WindowSystem::MenuItem method{"关机方式", ""};
  for (const char* text : {"强制关闭所有程序", "关闭未响应的程序", "让程序自己决定"}) {
    WindowSystem::MenuItem choice{text, ""};
    choice.radio = true;
    method.submenu.push_back(choice);
  }
  method.submenu[1].checked = true;
  WindowSystem::MenuItem greyed{"休眠", ""};
  greyed.enabled = false;
  const std::vector<WindowSystem::MenuItem> items{
      {"&Restore", ""}, {"", ""}, method, greyed, {"开机时启动", "", true}, {"&Close", "Alt+F4"}};

  // While the menu's own loop runs, a timer of this thread reads it and then chooses with the
  // keyboard: the submenu, its third entry.
  static std::vector<ReadItem> read;
  static bool keysSent;
  read.clear();
  keysSent = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    const HWND menuWindow = OpenMenuWindow();
    if (!menuWindow || keysSent) return;
    keysSent = true;
    KillTimer(nullptr, id);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    if (menu) read = ReadMenu(menu);
    for (const WPARAM key : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN}) {
      PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
      PostMessageW(menuWindow, WM_KEYUP, key, 0);
    }
  });
  ASSERT_TRUE(timer);
  Win32WindowSystem windowSystem;
  const DWORD started = GetTickCount();
  const int chosen = windowSystem.ShowPopupMenu(reinterpret_cast<WindowHandle>(owner), items);
  EXPECT_LT(GetTickCount() - started, kBoundMs);
  DestroyWindow(owner);

  ASSERT_EQ(read.size(), 6u);
  EXPECT_EQ(read[2].text, "关机方式");
  ASSERT_EQ(read[2].submenu.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(read[2].submenu[i].text, method.submenu[i].text);
    EXPECT_TRUE(read[2].submenu[i].radio);
    EXPECT_EQ(read[2].submenu[i].checked, i == 1);
  }
  EXPECT_TRUE(read[3].greyed);
  EXPECT_TRUE(read[4].checked);
  EXPECT_FALSE(read[4].radio);
  EXPECT_EQ(read[5].text, "&Close\tAlt+F4");
  // Restore 0, separator 1, 关机方式 2 with its entries 3 to 5: the third is 5.
  EXPECT_EQ(chosen, 5);
}
