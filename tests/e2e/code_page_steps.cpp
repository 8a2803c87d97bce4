// The main window's texts under the system's code page of the run: the steps of the end-to-end
// tests that start Dusk under Simplified Chinese, Traditional Chinese and Western locales. Every
// text the program writes reads back exactly through the wide calls, and a text the user types
// with characters of no code page comes back whole in the task list.

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "field_fit.h"
#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

// Hangul and an emoji (a surrogate pair) are in none of the code pages the tests run under.
constexpr const char* kReminder = "提醒 테스트 😀 naïve";

void StepCodePage(const std::string& expected) {
  wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
  GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH);
  UINT acp = GetACP();
  Note(Format("GetACP() %u, GetOEMCP() %u, user locale %s", acp, GetOEMCP(), Utf8(locale).c_str()));
  Check(acp == strtoul(expected.c_str(), nullptr, 10), "ANSI code page",
        Format("%u, expected %s", acp, expected.c_str()));
}

void CheckNamedText(HWND main, const char* name, const std::string& expected) {
  HWND control = FindNamed(main, name);
  if (!control) {
    Check(false, name, "no control with this name");
    return;
  }
  CheckText(control, expected, name);
}

// The captions and texts that the start shows, the date and the time whole in their fields, then
// those of the countdown fields and of the prompts, and a reminder typed, added and read back from
// the task list.
void StepTexts(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  CheckNamedText(p->main, "GroupBox1", "  计时方式  ");
  CheckNamedText(p->main, "RadioGroup2", "  执行任务  ");
  CheckNamedText(p->main, "ButtonAdd", "添加任务");
  // The date field follows the user's short date format.
  CheckDateAndTimeFit(p->main);

  if (!ClickRadio(p->radio1, kCountdown, "countdown mode")) return;
  CheckShown(p->panel2, true, "countdown fields shown");
  CheckNamedText(p->main, "bsSkinStdLabel1", "之后  ");
  std::vector<std::string> units =
      ReadStrings(p->unit, kComboBoxMessages).value_or(std::vector<std::string>{});
  std::vector<std::string> expectedUnits = {"分钟", "小时", "天"};
  std::string read = "[";
  for (const std::string& unit : units) read.append(" ").append(Q(unit));
  read.append(" ] expected 分钟 小时 天");
  Check(units == expectedUnits, "bsSkinComboBox1 entries", read);
  constexpr int kMinutes = 0;
  Ask(p->unit, CB_SETCURSEL, kMinutes);
  PostMessageW(GetParent(p->unit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(p->unit), CBN_SELCHANGE),
               (LPARAM)p->unit);
  CheckText(p->unit, "分钟", "unit picked");
  CheckText(p->spin, "30", "count for minutes");

  if (!ClickRadio(p->radio2, kAlarm, "alarm kind")) return;
  CheckText(p->tips, "请输入提醒的信息：", "alarm prompt");
  TypeInto(p->info, kReminder);
  CheckText(p->info, kReminder, "reminder typed");
  size_t before = StableRows(p->list).size();
  long long pressed = SecondsOf(LocalNow());
  PostMessageW(p->add, BM_CLICK, 0, 0);
  bool added = WaitFor([&] { return HasRowCount(p->list, before + 1); });
  Check(added, "row added", Format("%zu rows before the press", before));
  // The program's second of the press may differ from ours by one either way.
  state.AddRow({std::string("闹钟：") + kReminder + "\r\n", pressed + 30 * kSecondsPerMinute - 1,
                SecondsOf(LocalNow()) + 30 * kSecondsPerMinute + 1});
  CheckRows(*p, state);
  // The headline counts down to it, within a second of the add.
  HWND title = FindNamed(p->main, "Title");
  std::string headline;
  bool counting =
      title && WaitFor([&] {
        headline = TextOf(title);
        return headline == "29分钟后闹钟响起。     " || headline == "30分钟后闹钟响起。     ";
      });
  Check(counting, "headline", "Title reads " + Q(headline) + " expected 29 or 30 分钟后闹钟响起。");

  if (!ClickRadio(p->radio2, kCloseProgram, "close-program kind")) return;
  CheckText(p->tips, "选择你要关闭的软件：", "close-program prompt");
  CheckShown(p->picker, true, "picker shown");
  // Back to the date-and-time mode of the start, which the steps that enter a due moment
  // expect, and to another kind, so that a later choice of this one lists the programs anew.
  if (ClickRadio(p->radio1, kDateAndTime, "date-and-time mode"))
    CheckShown(p->panel1, true, "date and time fields shown");
  ClickRadio(p->radio2, kAlarm, "alarm kind again");
}

}  // namespace

const std::vector<Step>& CodePageSteps() {
  static const std::vector<Step> steps = {
      {"code-page", "ACP", StepCodePage},
      {"texts", "STATE", StepTexts},
  };
  return steps;
}

}  // namespace probe
