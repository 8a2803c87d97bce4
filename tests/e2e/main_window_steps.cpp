// The main window and the tray icon seen from outside: the steps of the end-to-end test of
// start-up, layout, minimising to the tray, restoring, and closing from the tray menu.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

constexpr const char* kCaption = "Lumo定时关机     1.0.1.2";
constexpr const char* kHeadlineNoTasks = "你还没有添加定时任务。     ";

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return c;
}

std::string Rgb(COLORREF c) {
  return Format("RGB(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
}

// ---- the notification area of Wine's virtual-desktop taskbar ----
//
// Wine 8's explorer draws the icons itself on the "Shell_TrayWnd" bar: right to left in the order
// they were added, each in a cell of the small-icon size plus a 2-pixel border on every side, and
// a removed icon's cell is taken by the next one. No window or message tells from outside which
// icons are there (each icon's tooltip window even outlives it), so the cells are read as a user
// would see them: a cell is taken when its pixels differ from the bar.
constexpr int kMaxTrayCells = 8;

struct Tray {
  HWND bar = nullptr;
  RECT client{};  // screen coordinates
  int cell = 0;
  int icons = 0;  // taken cells, counted from the right
  int drawn = 0;  // pixels of the rightmost cell that differ from the bar

  POINT Centre(int slot) const {
    return {client.right - cell * slot - cell / 2, (client.top + client.bottom) / 2};
  }
};

// Pixels that differ from the bar, per cell from the right, read from one copy of the screen.
std::vector<int> DrawnPixelsPerCell(const Tray& tray) {
  int width = tray.cell * kMaxTrayCells, height = tray.client.bottom - tray.client.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC copy = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<int> drawn(kMaxTrayCells, 0);
  if (!bitmap) {
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return drawn;
  }
  HGDIOBJ old = SelectObject(copy, bitmap);
  BitBlt(copy, 0, 0, width, height, screen, tray.client.right - width, tray.client.top, SRCCOPY);
  GdiFlush();
  const DWORD* pixel = static_cast<const DWORD*>(bits);
  auto at = [&](int x, int y) { return pixel[y * width + x] & 0xFFFFFF; };
  DWORD bar = at(width - 1, 0);  // a cell's corner is always border
  int icon = GetSystemMetrics(SM_CXSMICON), border = (tray.cell - icon) / 2;
  int top = std::max(0, (height - tray.cell) / 2) + border;
  for (int k = 0; k < kMaxTrayCells; ++k) {
    int left = width - tray.cell * (k + 1) + border;
    for (int y = top; y < std::min(height, top + icon); ++y)
      for (int x = left; x < left + icon; ++x) drawn[k] += at(x, y) != bar;
  }
  SelectObject(copy, old);
  DeleteObject(bitmap);
  DeleteDC(copy);
  ReleaseDC(nullptr, screen);
  return drawn;
}

std::optional<Tray> FindTray() {
  Tray tray;
  tray.bar = FindWindowA("Shell_TrayWnd", nullptr);
  if (!tray.bar || !Shown(tray.bar)) return std::nullopt;
  GetClientRect(tray.bar, &tray.client);
  MapWindowPoints(tray.bar, nullptr, reinterpret_cast<POINT*>(&tray.client), 2);
  tray.cell = GetSystemMetrics(SM_CXSMICON) + 4;
  std::vector<int> drawn = DrawnPixelsPerCell(tray);
  // Some of an icon may match the bar; a tenth of the cell drawn is an icon.
  int taken = GetSystemMetrics(SM_CXSMICON) * GetSystemMetrics(SM_CYSMICON) / 10;
  tray.drawn = drawn[0];
  while (tray.icons < kMaxTrayCells && drawn[tray.icons] >= taken) ++tray.icons;
  return tray;
}

// The program is up: the main window shows with its caption, the windows it shows later are not
// made yet, the headline is written by the first tick.
void StepStarted() {
  HWND main = nullptr;
  bool one = WaitFor([&] { return (main = MainWindow()) != nullptr && Shown(main); });
  Check(one, "main window",
        one ? Format("one shown top-level %s named Form1", kFormClass)
            : Format("%zu top-level %s windows named Form1, shown: %s", Forms("Form1").size(),
                     kFormClass, main && Shown(main) ? "yes" : "no"));
  if (!one) return;
  Check(GetAncestor(main, GA_PARENT) == GetDesktopWindow(), "main window is top-level",
        "its parent is the desktop");
  std::string caption = TextOf(main);
  Check(caption == kCaption, "caption", Q(caption) + " expected " + Q(kCaption));
  RECT r;
  GetWindowRect(main, &r);
  Check(r.right - r.left == 780 && r.bottom - r.top == 550, "main window size",
        Bounds(r) + " expected 780x550");
  // Minimise and close, no maximise; a fixed size.
  LONG style = GetWindowLongA(main, GWL_STYLE);
  Check((style & (WS_SYSMENU | WS_MINIMIZEBOX)) == (WS_SYSMENU | WS_MINIMIZEBOX) &&
            !(style & (WS_MAXIMIZEBOX | WS_THICKFRAME)),
        "main window frame",
        Format("style %08lx: system menu and minimise box, no maximise box, no sizing border",
               style));

  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  // The windows most runs never show are made when they first show: the start does without them.
  for (const char* name : {"UpForm", "TipForm", "WarnForm", "bsSkinMessage1"}) {
    std::vector<HWND> forms = Forms(name);
    Check(forms.empty(), Format("no form %s yet", name), Format("%zu found", forms.size()));
  }

  HWND title = FindNamed(main, "Title");
  std::string text;
  bool written = title && WaitFor([&] { return (text = TextOf(title)) == kHeadlineNoTasks; });
  Check(written, "headline",
        title ? "Title reads " + Q(text) + " expected " + Q(kHeadlineNoTasks)
              : std::string("no control named Title"));
}

bool ParseNumber(const std::string& s, size_t& pos, int minDigits, int maxDigits, int& value,
                 bool leadingZero = false) {
  size_t start = pos;
  while (pos < s.size() && pos - start < (size_t)maxDigits && s[pos] >= '0' && s[pos] <= '9') ++pos;
  if (pos - start < (size_t)minDigits) return false;
  if (pos - start > (size_t)minDigits && s[start] == '0' && !leadingZero) return false;
  value = atoi(s.substr(start, pos - start).c_str());
  return true;
}

// "yyyy/M/d H:mm:ss", or "yyyy/M/d" alone at exactly midnight. Wine's Chinese long time format
// is "HH:mm:ss" where Windows has "H:mm:ss": either is taken.
bool LooksLikeChineseDateTime(const std::string& s) {
  size_t pos = 0;
  int y, mo, d, h, mi, se;
  auto sep = [&](char c) { return pos < s.size() && s[pos++] == c; };
  if (!ParseNumber(s, pos, 4, 4, y) || !sep('/') || !ParseNumber(s, pos, 1, 2, mo) || !sep('/') ||
      !ParseNumber(s, pos, 1, 2, d) || mo < 1 || mo > 12 || d < 1 || d > 31)
    return false;
  if (pos == s.size()) return true;
  return sep(' ') && ParseNumber(s, pos, 1, 2, h, true) && sep(':') &&
         ParseNumber(s, pos, 2, 2, mi) && sep(':') && ParseNumber(s, pos, 2, 2, se) &&
         pos == s.size() && h < 24 && mi < 60 && se < 60;
}

// otherwise empty, with the text of now in `now`.
bool ReadsNearNow(const std::string& text, std::string& now) {
  SYSTEMTIME local;
  GetLocalTime(&local);
  FILETIME base;
  SystemTimeToFileTime(&local, &base);
  now = ClockText(local);
  for (int offset = -3; offset <= 1; ++offset) {
    ULARGE_INTEGER at{{base.dwLowDateTime, base.dwHighDateTime}};
    at.QuadPart += (LONGLONG)offset * 10000000;
    FILETIME moment{at.LowPart, at.HighPart};
    SYSTEMTIME t;
    FileTimeToSystemTime(&moment, &t);
    if (ClockText(t) == text) return true;
  }
  return false;
}

void StepClock() {
  HWND main = MainWindow();
  HWND clock = main ? FindNamed(main, "LabelNow") : nullptr;
  Check(clock != nullptr, "clock control", "LabelNow found");
  if (!clock) return;
  std::string first = TextOf(clock), next;
  bool changed = WaitFor([&] { return (next = TextOf(clock)) != first; }, 5000);
  Check(changed, "clock ticks", Q(first) + (changed ? " then " + Q(next) : " unchanged for 5 s"));
  // Other locales have formats of their own; the check of the time below holds for them all.
  if (GetUserDefaultLCID() ==
      MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT))
    Check(LooksLikeChineseDateTime(next), "clock format", Q(next) + " as yyyy/M/d H:mm:ss");
  std::string now;
  bool nearNow = ReadsNearNow(next, now);
  Check(nearNow, "clock time",
        Q(next) + " within seconds of now, " + Q(now) + " in the system's date and time formats");
}

struct Expected {
  const char* name;
  const char* parent;
  const char* cls;  // nullptr: any class
  int left, top;
  int width, height;  // 0: sized by its text, so only a text of its own needs a width
  bool shown;
};

// Positions relative to the parent's client area, sizes of the whole window.
constexpr Expected kLayout[] = {
    {"PanelTop", "Form1", "DuskPanel", 0, 0, 780, 60, true},
    {"Title", "PanelTop", "DuskLabel", 10, 10, 0, 0, true},
    {"LabelNow", "PanelTop", "DuskLabel", 535, 24, 0, 0, true},
    {"PanelLeft", "Form1", "DuskPanel", 0, 61, 300, 460, true},
    {"GroupBox1", "PanelLeft", "DuskGroupBox", 20, 20, 265, 160, true},
    {"RadioGroup1", "GroupBox1", "DuskRadioGroup", 20, 20, 210, 60, true},
    {"Panel1", "GroupBox1", "DuskPanel", 20, 90, 210, 60, true},
    {"ComboBoxRepeat", "Panel1", "ComboBox", 136, 32, 0, 0, true},
    {"Panel2", "GroupBox1", "DuskPanel", 20, 90, 210, 40, false},
    {"RadioGroup2", "PanelLeft", "DuskRadioGroup", 20, 200, 265, 117, true},
    {"LabelTips", "PanelLeft", "DuskLabel", 20, 337, 0, 0, false},
    {"ButtonAdd", "PanelLeft", nullptr, 20, 337, 75, 25, true},
    {"PanelRight", "Form1", "DuskPanel", 300, 60, 480, 460, true},
    {"TaskList", "PanelRight", "ListBox", 15, 15, 430, 420, true},
};

void CheckControl(HWND main, const Expected& e) {
  HWND hwnd = FindNamed(main, e.name);
  if (!hwnd) {
    // A control hidden at the start gets its window as it first shows.
    Check(!e.shown, e.name, e.shown ? "no control with this name" : "hidden, no window yet");
    return;
  }
  std::string parent = NameOf(GetParent(hwnd));
  std::string cls = ClassOf(hwnd);
  RECT r = BoundsInParent(hwnd);
  int w = r.right - r.left, h = r.bottom - r.top;
  bool sized = e.width ? w == e.width && h == e.height : h > 0 && (w > 0 || TextOf(hwnd).empty());
  bool placed = r.left == e.left && r.top == e.top && sized;
  bool ok = parent == e.parent && (!e.cls || lstrcmpiA(cls.c_str(), e.cls) == 0) && placed &&
            Shown(hwnd) == e.shown;
  std::string size = e.width ? Format("%dx%d", e.width, e.height) : "sized by its text";
  Check(ok, e.name,
        Format("in %s [%s] at %s %s; expected in %s [%s] at (%d,%d %s) %s", parent.c_str(),
               cls.c_str(), Bounds(r).c_str(), Shown(hwnd) ? "shown" : "hidden", e.parent,
               e.cls ? e.cls : "*", e.left, e.top, size.c_str(), e.shown ? "shown" : "hidden"));
}

void CheckRadioGroup(HWND main, const char* name, const std::vector<std::string>& texts,
                     int checkedIndex) {
  HWND group = FindNamed(main, name);
  std::vector<HWND> items = group ? RadioItems(group) : std::vector<HWND>{};
  std::string found;
  bool ok = items.size() == texts.size();
  int checked = -1, checkedCount = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    std::string text = TextOf(items[i]);
    found += i ? " " : "";
    found += Q(text);
    ok = ok && i < texts.size() && text == texts[i] && Shown(items[i]);
    DWORD_PTR state = 0;
    SendMessageTimeoutA(items[i], BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &state);
    if (state == BST_CHECKED) checked = (int)i, ++checkedCount;
  }
  std::string wanted;
  for (size_t i = 0; i < texts.size(); ++i) {
    wanted += i ? " " : "";
    wanted += Q(texts[i]);
  }
  Check(ok, Format("%s items", name), "[" + found + "] expected [" + wanted + "], all shown");
  bool selection =
      checkedIndex < 0 ? checkedCount == 0 : checkedCount == 1 && checked == checkedIndex;
  Check(selection, Format("%s selection", name),
        checkedIndex < 0 ? Format("%d checked, expected none", checkedCount)
                         : Format("item %d checked (%d in all), expected item %d", checked,
                                  checkedCount, checkedIndex));
}

void StepLayout() {
  HWND main = MainWindow();
  Check(main != nullptr, "main window", "found");
  if (!main) return;
  for (const Expected& e : kLayout) CheckControl(main, e);

  // Below the hidden prompt, placed by rule rather than by number: the prompt sizes itself to
  // its font.
  HWND tips = FindNamed(main, "LabelTips");
  HWND info = FindNamed(main, "EditInfo");
  HWND picker = FindNamed(main, "bsSkinComboBoxEx1");
  if (tips && info && picker) {
    RECT rt = BoundsInParent(tips), ri = BoundsInParent(info), rp = BoundsInParent(picker);
    Check(NameOf(GetParent(info)) == "PanelLeft" && ri.left == 20 && ri.top == rt.bottom + 10 &&
              ri.right - ri.left == 265 && !Shown(info),
          "EditInfo",
          Format("at %s %s, expected (20,%ld 265 wide) hidden in PanelLeft, 10 below LabelTips",
                 Bounds(ri).c_str(), Shown(info) ? "shown" : "hidden", rt.bottom + 10));
    Check(NameOf(GetParent(picker)) == "PanelLeft" && rp.left == 20 && rp.top == ri.top &&
              rp.right - rp.left == 265 && !Shown(picker),
          "bsSkinComboBoxEx1",
          Format("at %s %s, expected (20,%ld 265 wide) hidden in PanelLeft", Bounds(rp).c_str(),
                 Shown(picker) ? "shown" : "hidden", ri.top));
  } else {
    // Hidden at the start, they get their windows as they first show.
    Check(!tips && !info && !picker, "EditInfo and bsSkinComboBoxEx1",
          tips || info || picker ? "a control is missing" : "hidden, no windows yet");
  }

  if (HWND add = FindNamed(main, "ButtonAdd")) {
    std::string text = TextOf(add);
    Check(text == "添加任务", "ButtonAdd text", Q(text));
  }
  if (HWND list = FindNamed(main, "TaskList")) {
    DWORD_PTR count = (DWORD_PTR)-1;
    SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &count);
    Check(count == 0, "TaskList empty", Format("%ld rows", (long)count));
    LONG style = GetWindowLongA(list, GWL_STYLE);
    Check((style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) && (style & LBS_HASSTRINGS),
          "TaskList style", Format("style %08lx: owner-drawn, keeps its strings", style));
  }
  CheckRadioGroup(main, "RadioGroup1",
                  {"指定时间", "倒计时", "程序结束后", "下载完成后", "无人操作时"}, 0);
  CheckRadioGroup(main, "RadioGroup2",
                  {"关机", "重启", "注销", "闹钟", "打开软件", "关闭软件", "打开网页", "睡眠",
                   "锁定", "休眠", "关闭显示器"},
                  -1);

  // The blue band: a point of PanelTop left of the headline and below it.
  if (HWND band = FindNamed(main, "PanelTop")) {
    POINT p{5, 55};
    ClientToScreen(band, &p);
    COLORREF c = ScreenPixel(p.x, p.y);
    Check(c == RGB(72, 162, 244), "PanelTop colour", Rgb(c) + " expected RGB(72,162,244)");
  }
}

// Wine's taskbar holds a start button at its left end, then one button per window that has a
// taskbar entry; the buttons of windows that went away stay behind, hidden.
int TaskbarEntries() {
  std::optional<Tray> tray = FindTray();
  if (!tray) return -1;
  int entries = 0;
  for (HWND button : ChildWindows(tray->bar)) {
    RECT r;
    GetWindowRect(button, &r);
    entries += Shown(button) && r.left > tray->client.left && r.right > r.left;
  }
  return entries;
}

}  // namespace

void CheckTaskbarEntries(const char* check, int expected) {
  int entries = -1;
  bool ok = WaitFor([&] { return (entries = TaskbarEntries()) == expected; }, 3000);
  Check(ok, check,
        Format("%d taskbar entr%s, expected %d", entries, entries == 1 ? "y" : "ies", expected));
}

// Our icon is the only one in the test's session, so it is the rightmost.
void CheckOneTrayIcon(const char* check) {
  std::optional<Tray> tray;
  bool one = WaitFor([&] { return (tray = FindTray()) && tray->icons == 1; }, 3000);
  if (!tray) {
    Check(false, check, "no taskbar in this desktop (is its shell enabled?)");
    return;
  }
  POINT c = tray->Centre(0);
  Check(one, check,
        Format("%d icon(s) in the notification area, expected ours alone; %d pixels drawn at "
               "(%ld,%ld)",
               tray->icons, tray->drawn, c.x, c.y));
  if (one) printf("POINT tray-icon %ld %ld\n", c.x, c.y);
}

namespace {

void StepMinimize() {
  HWND main = MainWindow();
  Check(main && Shown(main), "main window shown", "before minimising");
  if (!main) return;
  CheckTaskbarEntries("taskbar entry", 1);
  PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  bool hidden = WaitFor([&] { return !(GetWindowLongA(main, GWL_STYLE) & WS_VISIBLE); });
  Check(hidden, "minimised to the tray",
        hidden ? "main window hidden" : "main window still visible");
  Check(IsWindow(main), "still running", "main window exists");
  CheckTaskbarEntries("taskbar entry gone", 0);
  CheckOneTrayIcon("tray icon");
}

void StepShown() {
  HWND main = MainWindow();
  bool shown = main && WaitFor([&] { return Shown(main) && !IsIconic(main); });
  Check(shown, "restored", shown ? "main window shown, not minimised" : "main window not shown");
  if (!shown) return;
  bool front = WaitFor([&] { return GetForegroundWindow() == main; });
  Check(front, "restored to the front",
        front ? "main window is the foreground window" : "another window is in front");
  CheckTaskbarEntries("taskbar entry back", 1);
  CheckOneTrayIcon("tray icon kept");
}

void StepMenu() {
  HWND main = MainWindow();
  DWORD pid = 0;
  if (main) GetWindowThreadProcessId(main, &pid);
  HWND menu = nullptr;
  bool open = pid && WaitFor([&] {
                for (HWND h : TopLevelWindows()) {
                  DWORD owner = 0;
                  GetWindowThreadProcessId(h, &owner);
                  if (owner == pid && ClassOf(h) == "#32768" && Shown(h))
                    return (menu = h) != nullptr;
                }
                return false;
              });
  Check(open, "tray menu open", open ? "a popup menu of Dusk is shown" : "no popup menu of Dusk");
  if (!open) return;
  // Items: "&Restore", a separator, "关机方式", "快速定时", "语言 / Language", "开机时启动",
  // "&Close"; the last one sits on the bottom border. Other processes' menus cannot be read, so
  // the points come from the menu window's frame.
  constexpr long kItems = 6;
  RECT r;
  GetWindowRect(menu, &r);
  int border = GetSystemMetrics(SM_CYFIXEDFRAME);
  int itemHeight = std::max(8L, (r.bottom - r.top - 2 * border - 8) / kItems);
  printf("POINT menu-quick-picks %ld %ld\n", (r.left + r.right) / 2,
         r.top + border + 2 * itemHeight + 8 + itemHeight / 2);
  printf("POINT menu-language %ld %ld\n", (r.left + r.right) / 2,
         r.top + border + 3 * itemHeight + 8 + itemHeight / 2);
  printf("POINT menu-close %ld %ld\n", (r.left + r.right) / 2, r.bottom - border - itemHeight / 2);
  printf("POINT menu-start-with-windows %ld %ld\n", (r.left + r.right) / 2,
         r.bottom - border - itemHeight * 3 / 2);
  printf("PID %lu\n", pid);
  Note("menu at " + Bounds(r));
}

// Which entry of the open "关机方式" submenu carries the choice mark. Other processes' menus
// cannot be read, so it is seen on the screen: in each entry's row, the mark's column differs
// from the row's own background (white, or the highlight of a selected entry) only where the
// dot is drawn.
void StepMethodMark(int expected) {
  HWND main = MainWindow();
  DWORD pid = 0;
  if (main) GetWindowThreadProcessId(main, &pid);
  HWND submenu = nullptr;
  bool open = pid && WaitFor([&] {
                int menus = 0;
                RECT smallest{0, 0, 0, 1 << 20};
                for (HWND h : TopLevelWindows()) {
                  DWORD owner = 0;
                  GetWindowThreadProcessId(h, &owner);
                  RECT r;
                  if (owner != pid || ClassOf(h) != "#32768" || !Shown(h) || !GetWindowRect(h, &r))
                    continue;
                  ++menus;
                  if (r.bottom - r.top < smallest.bottom - smallest.top) {
                    smallest = r;
                    submenu = h;
                  }
                }
                return menus == 2;
              });
  Check(open, "submenu open", open ? "the tray menu and its submenu are shown" : "no submenu");
  if (!open) return;
  RECT r;
  GetWindowRect(submenu, &r);
  const int border = GetSystemMetrics(SM_CYFIXEDFRAME);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC copy = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP canvas = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(copy, canvas);
  BitBlt(copy, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* pixel = static_cast<const DWORD*>(bits);
  const auto differs = [](DWORD a, DWORD b) {
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8)
      sum += abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF));
    return sum > 96;
  };
  constexpr int kRows = 3;
  const int rowHeight = (height - 2 * border) / kRows;
  std::string counts;
  int marked = -1, best = 0;
  for (int row = 0; row < kRows; ++row) {
    const int top = border + row * rowHeight;
    const DWORD background = pixel[(top + rowHeight / 2) * width + width - border - 4];
    int count = 0;
    for (int y = top + 2; y < top + rowHeight - 2; ++y)
      for (int x = border + 1; x < 18; ++x) count += differs(pixel[y * width + x], background);
    counts += Format(" %d", count);
    if (count > best) best = count, marked = row;
  }
  SelectObject(copy, old);
  DeleteObject(canvas);
  DeleteDC(copy);
  ReleaseDC(nullptr, screen);
  Check(best >= 4 && marked == expected, "choice mark kept",
        Format("entry %d marked (mark pixels by entry:%s), expected entry %d", marked,
               counts.c_str(), expected));
}

void StepEnded(DWORD pid) {
  bool gone = WaitFor([] { return Forms("Form1").empty(); });
  Check(gone, "main window closed", gone ? "no Form1 any more" : "Form1 still there");
  bool ended = pid && WaitFor([&] { return !ProcessRunning(pid); });
  Check(ended, "process ended",
        pid ? Format("process %lu %s", pid, ended ? "gone" : "still running")
            : std::string("no process id given"));
  std::optional<Tray> tray;
  bool removed = WaitFor([&] { return (tray = FindTray()) && tray->icons == 0; });
  Check(removed, "tray icon removed",
        tray ? Format("%d icon(s) left in the notification area", tray->icons)
             : std::string("no taskbar"));
}

}  // namespace

const std::vector<Step>& MainWindowSteps() {
  static const std::vector<Step> steps = {
      {"started", "", [](const std::string&) { StepStarted(); }},
      {"clock", "", [](const std::string&) { StepClock(); }},
      {"layout", "", [](const std::string&) { StepLayout(); }},
      {"minimize", "", [](const std::string&) { StepMinimize(); }},
      {"shown", "", [](const std::string&) { StepShown(); }},
      {"menu", "", [](const std::string&) { StepMenu(); }},
      {"method-mark", "ENTRY",
       [](const std::string& entry) { StepMethodMark(atoi(entry.c_str())); }},
      {"ended", "PID",
       [](const std::string& pid) { StepEnded(strtoul(pid.c_str(), nullptr, 10)); }},
  };
  return steps;
}

}  // namespace probe
