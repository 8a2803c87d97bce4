// The main window in the language Windows speaks or the user chose: the steps of the end-to-end
// test that starts Dusk under an English locale and switches it to Chinese from the tray menu.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

bool HoldsChinese(const std::string& utf8) {
  for (const wchar_t c : Wide(utf8)) {
    if ((c >= 0x3000 && c <= 0x9fff) || (c >= 0xff00 && c <= 0xffef)) return true;
  }
  return false;
}

struct ShownText {
  std::string where;
  std::string text;
};

// Every control's text under `window`, a list's entries too, named by the control's design name,
// or by its container's and its number (a radio group's items).
void CollectTexts(HWND window, const std::string& container, std::vector<ShownText>& shown) {
  for (HWND child : ChildWindows(window)) {
    std::string where = NameOf(child);
    if (where.empty()) where = container + "#" + std::to_string(GetDlgCtrlID(child));
    shown.push_back({where, TextOf(child)});
    if (lstrcmpiA(ClassOf(child).c_str(), "ComboBox") == 0) {
      for (const std::string& entry :
           ReadStrings(child, kComboBoxMessages).value_or(std::vector<std::string>{})) {
        shown.push_back({where, entry});
      }
    }
    CollectTexts(child, where, shown);
  }
}

std::string RadioItemText(HWND main, const char* group, size_t index) {
  const HWND found = FindNamed(main, group);
  const std::vector<HWND> items = found ? RadioItems(found) : std::vector<HWND>{};
  return index < items.size() ? TextOf(items[index]) : std::string();
}

// The countdown mode's fields: chosen under English, then read again after the switch, which must
// reach the lists too. A program started anew shows the date and time fields, and these not yet.
void CheckCountdownTexts(bool english) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  if (english) {
    if (!ClickRadio(p->radio1, kCountdown, "countdown mode")) return;
  } else if (!Shown(p->panel2)) {
    Note("no countdown fields shown: their texts are not read");
    return;
  }
  const std::vector<std::string> expected =
      english ? std::vector<std::string>{"minutes", "hours", "days"}
              : std::vector<std::string>{"分钟", "小时", "天"};
  std::vector<std::string> units;
  const bool listed = WaitFor([&] {
    units = ReadStrings(p->unit, kComboBoxMessages).value_or(std::vector<std::string>{});
    return units == expected;
  });
  std::string read = "[";
  for (const std::string& unit : units) read.append(" ").append(Q(unit));
  Check(listed, "bsSkinComboBox1 entries", read + " ]");
  CheckText(p->unit, expected.front(), "unit shown");
  CheckText(FindNamed(p->main, "bsSkinStdLabel1"), english ? "from now" : "之后  ",
            "countdown label");
}

// The texts of one language once the main window shows, waited for: a switch from the tray menu
// shows them at once, but the probe may ask before the program has taken the menu's choice.
void StepLanguageTexts(const std::string& language) {
  HWND main = nullptr;
  const bool started = WaitFor([&] { return (main = MainWindow()) != nullptr && Shown(main); });
  Check(started, "main window", started ? "shown" : "no main window shown");
  if (!started) return;
  const bool english = language == "en";
  const std::string title = english ? "Lumo Shutdown Timer" : "Lumo定时关机";
  const std::string modes =
      english ? "At a time|Countdown|Program ends" : "指定时间|倒计时|程序结束后";
  const auto read = [&] {
    return TextOf(FindNamed(main, "GroupBox1")) + "|" + TextOf(FindNamed(main, "RadioGroup2")) +
           "|" + TextOf(FindNamed(main, "ButtonAdd")) + "|" +
           RadioItemText(main, "RadioGroup1", 0) + "|" + RadioItemText(main, "RadioGroup1", 1) +
           "|" + RadioItemText(main, "RadioGroup1", 2);
  };
  const std::string expected =
      (english ? "  Timing  |  Action  |Add task|" : "  计时方式  |  执行任务  |添加任务|") + modes;
  std::string shown;
  const bool texts = WaitFor([&] { return (shown = read()) == expected; });
  Check(texts, "captions, modes and button", Q(shown) + " expected " + Q(expected));
  const std::string caption = TextOf(main);
  Check(caption.rfind(title, 0) == 0, "window title", Q(caption) + " expected " + Q(title) + "...");
  CheckCountdownTexts(english);
  if (!english) return;

  // The headline comes with the first tick, a second after the start.
  std::string headline;
  const bool told = WaitFor([&] { return !(headline = TextOf(FindNamed(main, "Title"))).empty(); });
  Check(told, "headline", told ? Q(headline) : "no headline");
  std::vector<ShownText> all;
  CollectTexts(main, "", all);
  std::string chinese;
  for (const ShownText& each : all) {
    if (HoldsChinese(each.text)) {
      chinese += " " + each.where + "=" + Q(each.text);
    }
  }
  Check(chinese.empty(), "no Chinese text",
        chinese.empty() ? Format("%zu texts read", all.size()) : "Chinese in" + chinese);
}

// The language submenu, opened beside the tray menu: the points of its three choices.
void StepLanguageChoices() {
  const HWND submenu = OpenSubmenu();
  Check(submenu, "language choices open",
        submenu ? "a second popup menu of Dusk" : "one menu or none");
  if (!submenu) return;
  RECT r;
  GetWindowRect(submenu, &r);
  const int border = GetSystemMetrics(SM_CYFIXEDFRAME);
  const long rowHeight = (r.bottom - r.top - 2 * border) / 3;
  const char* const choices[] = {"language-auto", "language-zh", "language-en"};
  for (long row = 0; row < 3; ++row) {
    Point(choices[row], {(r.left + r.right) / 2, r.top + border + row * rowHeight + rowHeight / 2});
  }
  Note("language choices at " + Bounds(r));
}

}  // namespace

const std::vector<Step>& LanguageSteps() {
  static const std::vector<Step> steps = {
      {"language-texts", "en|zh", StepLanguageTexts},
      {"language-choices", "", [](const std::string&) { StepLanguageChoices(); }},
  };
  return steps;
}

}  // namespace probe
