// Looks at Dusk's main window on a screen of another density, from outside, for the end-to-end
// test of display scaling. Like dusk_probe it runs in Dusk's virtual desktop and prints
// "PASS|FAIL <check>: ..." lines and "RESULT <step> PASS|FAIL".
//
//   dpi_probe DESKTOP layout DPI   the main window and its controls at DPI / 96 times their
//                                  96-DPI bounds, within a pixel; the date and the time fields
//                                  wide enough for their text
//   dpi_probe DESKTOP support      which of the system's per-monitor calls exist (notes only)
//   dpi_probe DESKTOP add-alarm    an alarm in a minute added through the panel: the list shows
//                                  its row with the kind picture
//   dpi_probe DESKTOP alarm DPI    the alarm window, when it comes, at DPI / 96 times its layout

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "field_fit.h"
#include "probe_support.h"

namespace {

using namespace probe;

// The main window's controls that show at the start, as the 96-DPI layout puts them: positions
// relative to the parent's client area, sizes of the whole window.
struct Expected {
  const char* name;
  const char* parent;
  int left, top, width, height;
};

constexpr Expected kLayout96[] = {
    {"PanelTop", "Form1", 0, 0, 780, 60},          {"PanelLeft", "Form1", 0, 61, 300, 460},
    {"GroupBox1", "PanelLeft", 20, 20, 265, 160},  {"RadioGroup1", "GroupBox1", 20, 20, 210, 60},
    {"Panel1", "GroupBox1", 20, 90, 210, 60},      {"bsSkinDateEdit1", "Panel1", 8, 8, 96, 18},
    {"bsSkinTimeEdit1", "Panel1", 120, 8, 75, 18}, {"RadioGroup2", "PanelLeft", 20, 200, 265, 117},
    {"ButtonAdd", "PanelLeft", 20, 337, 75, 25},   {"PanelRight", "Form1", 300, 60, 480, 460},
    {"TaskList", "PanelRight", 15, 15, 430, 420},
};
constexpr int kWindowWidth96 = 780, kWindowHeight96 = 550;
// Labels take the width of their text: the headline from its left edge, the clock from its
// right edge, 27 pixels inside the band.
constexpr int kTitleLeft96 = 10, kTitleTop96 = 10, kTitleHeight96 = 34;
constexpr int kClockRight96 = 753, kClockTop96 = 24, kClockHeight96 = 28;

int g_dpi = 96;

int Scaled(int value) { return MulDiv(value, g_dpi, 96); }

bool Near(long actual, int expected) { return std::labs(actual - expected) <= 1; }

void CheckPlace(HWND main, const char* name, const char* parent, int left, int top, int right,
                int height) {
  HWND hwnd = FindNamed(main, name);
  if (!hwnd) {
    Check(false, name, "no control with this name");
    return;
  }
  const RECT r = BoundsInParent(hwnd);
  const std::string actualParent = NameOf(GetParent(hwnd));
  const bool ok = actualParent == parent && (left < 0 || Near(r.left, Scaled(left))) &&
                  Near(r.top, Scaled(top)) && (right < 0 || Near(r.right, Scaled(right))) &&
                  Near(r.bottom - r.top, Scaled(height)) && Shown(hwnd);
  Check(ok, name,
        Format("in %s at %s; expected in %s, left %d, top %d, right %d, height %d (+-1)",
               actualParent.c_str(), Bounds(r).c_str(), parent, left < 0 ? -1 : Scaled(left),
               Scaled(top), right < 0 ? -1 : Scaled(right), Scaled(height)));
}

void StepLayout(const std::string& argument) {
  g_dpi = atoi(argument.c_str());
  if (g_dpi < 96) {
    Check(false, "argument", "a density of 96 or more expected, got " + Q(argument));
    return;
  }
  HWND main = nullptr;
  WaitFor([&] { return (main = MainWindow()) != nullptr && Shown(main); });
  Check(main != nullptr, "main window", main ? "shown" : "not shown");
  if (!main) return;

  RECT frame{};
  GetWindowRect(main, &frame);
  Check(Near(frame.right - frame.left, Scaled(kWindowWidth96)) &&
            Near(frame.bottom - frame.top, Scaled(kWindowHeight96)),
        "window size",
        Format("%s; expected %dx%d (+-1)", Bounds(frame).c_str(), Scaled(kWindowWidth96),
               Scaled(kWindowHeight96)));
  for (const Expected& e : kLayout96) {
    CheckPlace(main, e.name, e.parent, e.left, e.top, e.left + e.width, e.height);
  }
  CheckPlace(main, "Title", "PanelTop", kTitleLeft96, kTitleTop96, -1, kTitleHeight96);
  CheckPlace(main, "LabelNow", "PanelTop", -1, kClockTop96, kClockRight96, kClockHeight96);
  CheckDateAndTimeFit(main);

  // The fonts grow with the screen: the clock's text, measured by the program, is wider than
  // its 96-DPI font could make it (the zh_CN clock is 218 pixels wide at 96 DPI).
  if (HWND clock = FindNamed(main, "LabelNow")) {
    const RECT r = BoundsInParent(clock);
    const int width = r.right - r.left;
    Check(width > MulDiv(218, g_dpi, 96) * 9 / 10 && width < MulDiv(218, g_dpi, 96) * 11 / 10,
          "clock font",
          Format("text %d pixels wide; about %d expected", width, MulDiv(218, g_dpi, 96)));
  }
}

// A click as the user's reaches the program: posted, as the handler may open a box.
bool Click(HWND hwnd, const char* check) {
  Check(hwnd != nullptr, check, hwnd ? "clicked" : "not found");
  return hwnd && PostMessageW(hwnd, BM_CLICK, 0, 0);
}

void StepAddAlarm(const std::string&) {
  HWND main = MainWindow();
  Check(main != nullptr, "main window", main ? "found" : "not found");
  if (!main) return;
  constexpr int kCountdown = 1, kAlarm = 3;
  const std::vector<HWND> modes = RadioItems(FindNamed(main, "RadioGroup1"));
  const std::vector<HWND> kinds = RadioItems(FindNamed(main, "RadioGroup2"));
  if (modes.size() <= kCountdown || kinds.size() <= kAlarm) {
    Check(false, "radio items", Format("%zu timing modes, %zu kinds", modes.size(), kinds.size()));
    return;
  }
  // Counting down from the one minute the panel starts with.
  Click(modes[kCountdown], "countdown");
  Click(kinds[kAlarm], "alarm kind");
  HWND list = FindNamed(main, "TaskList");
  Click(FindNamed(main, "ButtonAdd"), "add");
  const bool added = list && WaitFor([&] { return Ask(list, LB_GETCOUNT).value_or(0) == 1; });
  Check(added, "task row", added ? "one row" : "no row in the list");
}

void StepAlarm(const std::string& argument) {
  g_dpi = atoi(argument.c_str());
  HWND tip = nullptr;
  constexpr DWORD kMinuteAndMoreMs = 100000;
  const bool shown = WaitFor(
      [&] {
        const std::vector<HWND> found = Forms("TipForm");
        tip = found.size() == 1 ? found[0] : nullptr;
        return tip && Shown(tip);
      },
      kMinuteAndMoreMs);
  Check(shown, "alarm window", shown ? "shown" : "not shown within 100 s");
  if (!shown) return;
  RECT frame{};
  GetWindowRect(tip, &frame);
  Check(Near(frame.right - frame.left, Scaled(500)) && Near(frame.bottom - frame.top, Scaled(300)),
        "alarm window size",
        Format("%s; expected %dx%d (+-1)", Bounds(frame).c_str(), Scaled(500), Scaled(300)));
  CheckPlace(tip, "Image1", "TipForm", 0, 0, 500, 300);
  CheckPlace(tip, "Label1", "TipForm", 200, 30, 460, 30);
  CheckPlace(tip, "Label2", "TipForm", 200, 80, 460, 100);
  CheckPlace(tip, "bsSkinButton1", "TipForm", 160, 240, 321, 49);
}

void StepSupport(const std::string&) {
  const HMODULE user = GetModuleHandleW(L"user32.dll");
  for (const char* call : {"GetDpiForWindow", "AdjustWindowRectExForDpi", "GetDpiForSystem",
                           "SetProcessDpiAwarenessContext", "GetSystemMetricsForDpi"}) {
    Note(Format("%s %s", call, GetProcAddress(user, call) ? "present" : "missing"));
  }
  if (HWND main = MainWindow()) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    if (const auto getDpi = reinterpret_cast<GetDpiForWindowCall>(
            reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")))) {
      Note(Format("GetDpiForWindow(main window) %u", getDpi(main)));
    }
  }
  const HDC screen = GetDC(nullptr);
  Note(Format("LOGPIXELSY %d", GetDeviceCaps(screen, LOGPIXELSY)));
  ReleaseDC(nullptr, screen);
  Check(true, "support", "noted");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: dpi_probe DESKTOP layout DPI | support | add-alarm | alarm DPI\n");
    return 2;
  }
  const std::string desktop = argv[1], step = argv[2], argument = argc > 3 ? argv[3] : "";
  if (lstrcmpiA(CurrentDesktop().c_str(), desktop.c_str()) != 0) return RunInDesktop(desktop);
  // Sees the screen's own pixels, as the program draws them: an unaware process would be shown
  // positions scaled back to 96 DPI.
  SetProcessDPIAware();
  if (step == "layout") {
    StepLayout(argument);
  } else if (step == "support") {
    StepSupport(argument);
  } else if (step == "add-alarm") {
    StepAddAlarm(argument);
  } else if (step == "alarm") {
    StepAlarm(argument);
  } else {
    fprintf(stderr, "unknown step %s\n", step.c_str());
    return 2;
  }
  printf("RESULT %s %s\n", step.c_str(), g_failures ? "FAIL" : "PASS");
  return g_failures ? 1 : 0;
}
