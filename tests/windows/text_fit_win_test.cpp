#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "language/language.h"
#include "main/program.h"
#include "platform/handler_errors_win.h"
#include "platform/unique_handle_win.h"
#include "platform/wide_text_win.h"
#include "scheduler/task_kinds.h"
#include "tests/fakes/fake_platform.h"
#include "tests/host/running_program.h"
#include "tests/windows/beside_this_test.h"
#include "widgets/display_scale.h"
#include "widgets/mirror_factory_win.h"

// Every text of the program's windows fits the control that shows it, in every language, at 96
// and at 144 DPI: measured as the control draws it, in its own font, against its own client area.
// The windows are the program's own, on the fake platform, on the real (Wine) screen; each state
// that shows other texts (a timing mode, a task kind, the warning for each power kind) is
// measured.
namespace {

constexpr int kDensities[] = {96, 144};

std::string NameOf(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(window, L"Name")));
  wchar_t name[256] = {};
  return atom && GlobalGetAtomNameW(atom, name, std::size(name)) ? FromWide(name) : "";
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, std::size(name));
  return name;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Radio items and a picker's inner list carry no name: their group's or picker's, with the item.
std::string ControlName(HWND control) {
  if (std::string name = NameOf(control); !name.empty()) return name;
  const HWND parent = GetParent(control);
  if (ClassOf(parent) == L"DuskRadioGroup") {
    return NameOf(parent) + " item " + std::to_string(GetDlgCtrlID(control));
  }
  return NameOf(parent);
}

// Measures texts in a control's own font, on its own screen.
class ControlMeasure {
 public:
  explicit ControlMeasure(HWND control)
      : dc_(control),
        font_(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0))),
        selected_(dc_.Get(), font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT)) {}
  [[nodiscard]] bool HasFont() const { return font_ != nullptr; }
  [[nodiscard]] SIZE Extent(const std::wstring& text) const {
    SIZE extent{};
    GetTextExtentPoint32W(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
  }
  // The box word-wrapped text takes at this width.
  [[nodiscard]] RECT Wrapped(const std::wstring& text, int width) const {
    RECT box{0, 0, width, 0};
    DrawTextW(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &box,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return box;
  }

 private:
  WindowDC dc_;
  HFONT font_;
  SelectedObject selected_;
};

// The texts that do not fit, each once for a window, language and density, with the first state
// that showed it.
class FitReport {
 public:
  void Begin(std::string window, Language language, int dpi, std::string state) {
    window_ = std::move(window);
    where_ = std::string(language == Language::English ? "English" : "Chinese") + ", " +
             std::to_string(dpi) + " DPI";
    dpi_ = dpi;
    state_ = std::move(state);
  }
  void Check(HWND control, const std::wstring& text, long needed, long available,
             const char* dimension = "wide") {
    ++checked_;
    if (needed > available) {
      Problem(window_ + " / " + ControlName(control) + ": \"" + FromWide(text) + "\" needs " +
              std::to_string(needed) + " px " + dimension + ", has " + std::to_string(available) +
              " (" + where_ + ")");
    }
  }
  void NoFont(HWND control) {
    Problem(window_ + " / " + ControlName(control) + ": no font to measure with (" + where_ + ")");
  }
  void Problem(const std::string& what) { misfits_.emplace(what, state_); }
  [[nodiscard]] int Scaled(int layoutPixels) const { return ScaleToDpi(layoutPixels, dpi_); }
  [[nodiscard]] const std::map<std::string, std::string>& Misfits() const { return misfits_; }
  [[nodiscard]] int Checked() const { return checked_; }

 private:
  std::string window_;
  std::string where_;
  int dpi_ = kLayoutDpi;
  std::string state_;
  std::map<std::string, std::string> misfits_;  // what, and the state first showing it
  int checked_ = 0;
};

bool IsCheckOrRadio(HWND button) {
  switch (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

void CheckButton(HWND button, const std::wstring& text, const RECT& client, FitReport& report) {
  const ControlMeasure measure(button);
  const long width = measure.Extent(text).cx;
  // A check box or a radio item: the system's glyph box, then half a digit's width of gap.
  // A push button: its edge and the space inside it on each side.
  const long taken = IsCheckOrRadio(button) ? report.Scaled(13) + measure.Extent(L"0").cx / 2
                                            : 2 * report.Scaled(3);
  report.Check(button, text, width, client.right - taken);
}

void CheckLabel(HWND label, const std::wstring& text, const RECT& client, FitReport& report) {
  const ControlMeasure measure(label);
  // As the label draws it: wrapped at its width, from its top. Its lines must all show; one line
  // is as high as the layout made the label.
  const RECT box = measure.Wrapped(text, client.right);
  report.Check(label, text, box.right, client.right);
  if (box.bottom > measure.Extent(text).cy) {
    report.Check(label, text, box.bottom, client.bottom, "high");
  }
  // A label that takes its text's width must still show it inside its container; the spaces
  // after the text show nothing.
  RECT inParent{};
  GetWindowRect(label, &inParent);
  MapWindowPoints(nullptr, GetParent(label), reinterpret_cast<POINT*>(&inParent), 2);
  RECT parentClient{};
  GetClientRect(GetParent(label), &parentClient);
  const std::wstring shown = text.substr(0, text.find_last_not_of(L' ') + 1);
  report.Check(label, text, inParent.left + measure.Wrapped(shown, client.right).right,
               parentClient.right, "to the right edge of its parent");
}

void CheckFramedCaption(HWND group, const std::wstring& text, const RECT& client,
                        FitReport& report) {
  // The caption stands in the top line of the frame, indented from both ends.
  report.Check(group, text, ControlMeasure(group).Extent(text).cx + 2 * report.Scaled(8),
               client.right);
}

void CheckComboItems(HWND combo, FitReport& report) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(combo, &info)) return;
  long available = info.rcItem.right - info.rcItem.left;
  // A picker's items show their picture before the text.
  const HWND parent = GetParent(combo);
  if (ClassOf(parent) == WC_COMBOBOXEXW) {
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(parent, CBEM_GETIMAGELIST, 0, 0));
    int imageWidth = 0, imageHeight = 0;
    if (images && ImageList_GetIconSize(images, &imageWidth, &imageHeight)) {
      available -= imageWidth + report.Scaled(4);
    }
  }
  const ControlMeasure measure(combo);
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring item(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1,
                      L'\0');
    item.resize(static_cast<std::size_t>(
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
    report.Check(combo, item, measure.Extent(item).cx, available);
  }
}

void CheckControl(HWND control, FitReport& report) {
  const std::wstring kind = ClassOf(control);
  const std::wstring text = TextOf(control);
  RECT client{};
  GetClientRect(control, &client);
  // Panels, pictures, the task list and the bar show no text of the tables; the date and the
  // time fields show the user's own formats, measured in Dusk.exe by the end-to-end tests.
  const bool showsText = kind == L"Button" || kind == L"DuskLabel" || kind == L"DuskGroupBox" ||
                         kind == L"DuskRadioGroup" || kind == L"Edit" || kind == L"ComboBox";
  if (!showsText) return;
  if (!SendMessageW(control, WM_GETFONT, 0, 0)) {
    if (!text.empty()) report.NoFont(control);
    return;
  }
  if (kind == L"ComboBox") {
    CheckComboItems(control, report);
  } else if (text.empty()) {
    return;
  } else if (kind == L"Button") {
    CheckButton(control, text, client, report);
  } else if (kind == L"DuskLabel") {
    CheckLabel(control, text, client, report);
  } else if (kind == L"Edit") {
    RECT area{};
    SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    report.Check(control, text, ControlMeasure(control).Extent(text).cx, area.right - area.left);
  } else {
    CheckFramedCaption(control, text, client, report);
  }
}

BOOL CALLBACK AddChild(HWND child, LPARAM children) {
  reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
  return TRUE;
}

HWND WindowOf(const Control& control) { return reinterpret_cast<HWND>(control.Handle()); }

// The window moves to a screen of this density, as the system tells it.
void MoveToDensity(const Form& form, int dpi) {
  const HWND window = WindowOf(form);
  if (!window) return;
  RECT frame{};
  GetWindowRect(window, &frame);
  const RECT suggested{frame.left, frame.top, frame.left + ScaleToDpi(form.Width(), dpi),
                       frame.top + ScaleToDpi(form.Height(), dpi)};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// Three programs open, with long titles: the warning names two as long as it names any, and
// counts them all.
void OpenLongTitledPrograms(FakeProcesses& processes) {
  processes.processes = {{30, "notepad.exe", "C:\\Windows\\notepad.exe"},
                         {40, "winword.exe", "C:\\Office\\winword.exe"},
                         {50, "mspaint.exe", "C:\\Windows\\mspaint.exe"}};
  processes.windows = {{3, 30, "Quarterly figures for the board meeting.txt - Notepad"},
                       {4, 40, "Annual report with every appendix.docx - Word"},
                       {5, 50, "Holiday photo montage.png - Paint"}};
}

// The program on the fake platform, its windows on the screen.
struct ProgramOnScreen {
  ProgramOnScreen() {
    OpenLongTitledPrograms(platform.processes);
    program.Start();
  }
  PlatformSet WithWindows() {
    PlatformSet set = platform.Set();
    set.mirrors = &mirrors;
    return set;
  }

  // Each shown window at each density, as it shows now.
  void Measure(const std::string& state, Language language, FitReport& report) const {
    for (const int dpi : kDensities) {
      for (const Form* form : {&program.Form1.Form1, &program.TipForm.TipForm,
                               &program.WarnForm.WarnForm, &program.UpForm.UpForm}) {
        if (!form->Visible()) continue;
        MoveToDensity(*form, dpi);
        report.Begin(form->Name(), language, dpi, state);
        std::vector<HWND> children;
        EnumChildWindows(WindowOf(*form), AddChild, reinterpret_cast<LPARAM>(&children));
        for (const HWND child : children) {
          if (IsWindowVisible(child)) CheckControl(child, report);
        }
      }
    }
  }

  FakePlatform platform{At(14, 0, 0)};
  HandlerErrors errors;
  Win32MirrorFactory mirrors{GetModuleHandleW(nullptr), errors};
  RecordingTaskActions actions{platform.clock};
  const PlatformSet set = WithWindows();
  Program program{set, kTestUpdateHost, actions};
};

// Brings the windows to each state that shows other texts, and measures each.
void MeasureEveryState(Language language, FitReport& report) {
  ProgramOnScreen screen;
  TForm1& f = screen.program.Form1;
  const auto measure = [&](const std::string& state) { screen.Measure(state, language, report); };
  screen.program.TipForm.Show();
  screen.program.UpForm.ShowDownload();
  measure("at the start, the alarm and download windows open");
  screen.program.UpForm.ShowDownloadProgress(50, 100);
  measure("downloading");

  for (int mode = 0; mode < static_cast<int>(f.RadioGroup1.Items().size()); ++mode) {
    f.RadioGroup1.UserSelect(mode);
    measure("timing mode " + f.RadioGroup1.Items()[mode]);
  }
  f.RadioGroup1.UserSelect(0);
  f.bsSkinDateEdit1.UserSetDate(At(14, 0, 0, 9));
  measure("a moment past");
  for (int kind = 0; kind < static_cast<int>(f.RadioGroup2.Items().size()); ++kind) {
    f.RadioGroup2.UserSelect(kind);
    measure("task kind " + f.RadioGroup2.Items()[kind]);
  }

  for (int kind = 0; kind < kTaskKindCount; ++kind) {
    if (!IsPowerAction(static_cast<TaskKind>(kind))) continue;
    const DateTime now = screen.platform.clock.Now();
    RunningProgram::EnterOnPanel(f, now + 60.0 / kSecondsPerDay, static_cast<TaskKind>(kind), "");
    // Half a minute ahead: the warning opens, at its longest count.
    screen.platform.clock.AdvanceSeconds(30);
    f.TimerNow.Fire();
    const std::string state = "warning of " + f.RadioGroup2.Items()[kind];
    if (!screen.program.WarnForm.Showing()) {
      report.Problem("no warning");
      continue;
    }
    measure(state);
    screen.program.WarnForm.ButtonCancelTask.UserClick();
  }
  if (screen.errors.Take()) report.Problem("a handler failed");
}

// The windows stand on a virtual desktop of their own, as the program's do in the end-to-end
// tests: on the bare X screen, each hiding waits for a window manager that is not there. A
// thread takes a desktop only before it has windows, so the measuring runs on one of its own,
// with the program's own manifest, which asks for the same common controls as Dusk.exe.
void AsTheProgramOnItsOwnDesktop(const std::function<void()>& body) {
  constexpr wchar_t kDesktop[] = L"DuskTextFit";
  HKEY desktops = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &desktops, nullptr) == ERROR_SUCCESS) {
    constexpr wchar_t kSize[] = L"1920x1200";
    RegSetValueExW(desktops, kDesktop, 0, REG_SZ, reinterpret_cast<const BYTE*>(kSize),
                   sizeof kSize);
    RegCloseKey(desktops);
  }
  std::thread measuring([&] {
    const HDESK desktop = CreateDesktopW(kDesktop, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (desktop) SetThreadDesktop(desktop);
    const std::wstring program = ToWide(BesideThisTest("Dusk.exe"));
    ACTCTXW manifest{};
    manifest.cbSize = sizeof manifest;
    manifest.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    manifest.lpSource = program.c_str();
    manifest.lpResourceName = MAKEINTRESOURCEW(1);
    const HANDLE context = CreateActCtxW(&manifest);
    ULONG_PTR cookie = 0;
    const bool active = context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie);
    body();
    if (active) DeactivateActCtx(0, cookie);
    if (context != INVALID_HANDLE_VALUE) ReleaseActCtx(context);
    if (desktop) CloseDesktop(desktop);
  });
  measuring.join();
}

TEST(TextFit, EveryTextFitsItsControlInEveryLanguageAt96And144Dpi) {
  FitReport report;
  AsTheProgramOnItsOwnDesktop([&] {
    for (const Language language : kLanguages) {
      SetActiveLanguage(language);
      MeasureEveryState(language, report);
    }
    SetActiveLanguage(Language::Chinese);
  });

  EXPECT_GT(report.Checked(), 0);
  std::string misfits;
  for (const auto& [misfit, state] : report.Misfits()) misfits += "\n  " + misfit + ", " + state;
  EXPECT_TRUE(report.Misfits().empty())
      << report.Misfits().size() << " texts do not fit their controls:" << misfits;
}

}  // namespace
