#pragma once

#include <optional>

#include "language/language_listener.h"
#include "main/app_state.h"
#include "main/command_runner.h"
#include "main/language_menu.h"
#include "main/platform_set.h"
#include "main/quick_pick_menu.h"
#include "main/shutdown_method_menu.h"
#include "process/process_listing.h"
#include "scheduler/power_warning.h"
#include "scheduler/task_kinds.h"
#include "scheduler/task_listing.h"
#include "scheduler/tick.h"
#include "scheduler/wake_keeper.h"
#include "startup/start_with_windows.h"
#include "storage/saved_task_list.h"
#include "storage/settings_file.h"
#include "tips/tip_form.h"
#include "tips/warn_form.h"
#include "triggers/condition_watch.h"
#include "triggers/program_end_watch.h"
#include "upgrade/relocation.h"
#include "upgrade/self_update.h"
#include "upgrade/up_form.h"
#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/image_list.h"
#include "widgets/skinned_message.h"
#include "widgets/task_list_box.h"
#include "widgets/tray_frame.h"
#include "widgets/tray_icon.h"

// The main window: the blue band with the headline and the clock, the entry
// panel on the left, the task list on the right, and the tray icon.
class TForm1 : LanguageListener {
 public:
  // The windows and services the main window works with. They may be built
  // after it (their windows are owned by it) but before its message loop runs.
  struct Collaborators {
    TaskActions& taskActions;
    TForm3& alarmWindow;
    TForm2& updateWindow;
    TForm4& warningWindow;
    // The other windows that show their texts again when the user switches the language.
    std::vector<LanguageListener*> languageListeners;
  };

  // The update server is fixed when the program is built.
  TForm1(const PlatformSet& platform, AppState& state, std::string updateServerHost,
         Collaborators collaborators);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // The window comes up first, then the tray icon and the update check.
  void ShowAndStartUpdateCheck();
  // Started at logon: the window stays hidden, the icon in the tray.
  void StartInTray();

  void TimerNowTimer();
  void TimerUpgradeTimer();
  void N1Click();
  void RadioGroup1Click();
  void bsSkinComboBox1Click();
  void bsSkinDateEdit1Change();
  void bsSkinTimeEdit1Change();
  void RadioGroup2Click();
  void ButtonAddClick();
  void TrayClick();
  void FormActivate();
  void bsTrayIcon1BalloonHintClick();
  // The buttons of the warning before a power action, and its closing.
  void ButtonPostponeClick(int minutes);
  void ButtonCancelTaskClick();
  void ButtonRunNowClick();
  void WarnFormDismiss();

  [[nodiscard]] TaskListing& Tasks() { return tasks_; }
  // A command of dusk-cli or of "Dusk.exe add", carried out as the panel and
  // the list would.
  CommandReply RunCommand(const std::vector<std::string>& words);
  // How an exit treats the programs still running, as the tray menu's "关机方式" says now.
  [[nodiscard]] ShutdownMethod ShutdownMethodInUse() const { return shutdownMethod_.Current(); }
  // The load report of the copy that handed over to this one, which it could
  // not show: told at the first tick, before this program's own.
  void TakeOverLoadReport(const std::string& report);

  const PlatformSet platform;
  AppState& state;

 private:
  std::string updateServerHost_;
  TaskActions& taskActions_;
  TForm3& tipForm_;
  TForm4& warnForm_;
  // Before the tray menu that turns it on and off.
  StartWithWindows startWithWindows_;
  // Read before the tray menu that shows the choices kept in it; the panel's
  // last choices and the recent entries of the quick picks live there too.
  SettingsFile settings_;
  // Before the first window: it sets the language they are made in.
  LanguageMenu language_;
  ShutdownMethodMenu shutdownMethod_;
  QuickPickMenu quickPicks_;

 public:
  Form Form1;
  Timer TimerNow;
  Timer TimerUpgrade;
  Panel PanelTop;
  Label Title;
  Label LabelNow;
  Panel PanelLeft;
  GroupBox GroupBox1;
  RadioGroup RadioGroup1;
  // The date-and-time mode's fields.
  Panel Panel1;
  DateEdit bsSkinDateEdit1;
  TimeEdit bsSkinTimeEdit1;
  Panel PanelTimeTip;
  IconView Image1;
  Label Label1;
  // How the task comes back: not, every day, Monday to Friday, or weekly.
  ComboBox ComboBoxRepeat;
  // The countdown mode's fields.
  Panel Panel2;
  SpinEdit bsSkinSpinEdit1;
  ComboBox bsSkinComboBox1;
  Label bsSkinStdLabel1;
  // The after-a-program-ends mode's field: the delay after the end.
  Panel Panel3;
  SpinEdit bsSkinSpinEdit2;
  Label bsSkinStdLabel2;
  // The quiet-network mode's fields: the rate and the minutes below it, the
  // processor condition, and whether it comes back each time.
  Panel Panel4;
  Label LabelNetRate;
  SpinEdit EditNetRate;
  Label LabelNetRateUnit;
  Label LabelNetLasting;
  SpinEdit EditNetMinutes;
  Label LabelNetMinutes;
  CheckBox CheckCpuQuiet;
  SpinEdit EditCpuPercent;
  Label LabelCpuPercent;
  ComboBox ComboBoxNetRepeat;
  // The nobody-at-the-computer mode's fields: the minutes, the guard for
  // watching, and whether it comes back each time.
  Panel Panel5;
  Label LabelIdleLasting;
  SpinEdit EditIdleMinutes;
  Label LabelIdleMinutes;
  CheckBox CheckIdleGuard;
  ComboBox ComboBoxIdleRepeat;
  RadioGroup RadioGroup2;
  Label LabelTips;
  Edit EditInfo;
  // The icons of the running programs in the close-program picker; before the
  // picker, whose window draws from it.
  ImageList ImageListJinCheng;
  ComboBoxEx bsSkinComboBoxEx1;
  Button ButtonAdd;
  Panel PanelRight;
  TaskListBox TaskList;
  TrayIcon bsTrayIcon1;
  TrayFrame bsBusinessSkinForm1;
  SkinnedMessage bsSkinMessage1;
  // The file chosen last in the file dialog, which opens on it next time.
  std::string OpenDialog1FileName;

 private:
  void FormCreate();
  void LayoutMainWindow();
  // The texts of the window and its controls, in the active language.
  void ShowTexts();
  void ShowWindowTitle();
  // The controls, the headline, the list and the tray hint show the new language at once.
  void LanguageChanged() override;
  void ShowTrayIconAndStartUpdateCheck();
  void TaskListContextMenu();
  void PlaceButtonAdd(bool belowParameterField);
  // The prompt, the parameter field and the picker that the timing mode and
  // the kind call for, one below the other, with the add button below them.
  void PlaceEntryFields();
  // What the prompt asks for the kind's parameter in the chosen timing mode.
  [[nodiscard]] std::string PromptText(TaskKind kind) const;
  [[nodiscard]] bool WaitsForProgramEnd() const;
  // The condition of the quiet-network or nobody-at-the-computer mode, with
  // its repeat; none in the other modes.
  [[nodiscard]] WaitCondition ChosenCondition() const;
  [[nodiscard]] RepeatKind ChosenConditionRepeat() const;
  void SetTimeEditTwentyMinutesAhead(DateTime now);
  void ShowExpiredHint();
  // The kind chosen in the action group; none before a choice.
  [[nodiscard]] const TaskKindTraits* ChosenKind() const;
  [[nodiscard]] RepeatKind ChosenRepeat() const;
  void ChooseProgramFile();
  void ListProcesses();
  void TickAfterClockJump();
  void ReshowAlarmWindow();
  // The panel as the user left it at the last add, in the last run too.
  void RestorePanelChoices();
  void RememberPanelChoices(const Task& added);

  // A downloaded program waits: it takes over when nothing is lost by that.
  void HandOverWhenItMay();
  // The successor comes up as this window is, with what of the load report,
  // not shown yet, only this program can tell.
  [[nodiscard]] SuccessorStart SuccessorStartNow() const;

  // Before the queue it observes.
  SavedTaskList savedTasks_;
  WakeKeeper wakeKeeper_;
  ProgramEndWatch programEnd_;
  ConditionWatch conditions_;
  TaskListing tasks_;
  // What the saved list lost at start-up, told after the first tick's own report.
  SavedTaskList::LoadReport loadReport_;
  DueTaskRunner dueTasks_;
  PowerWarning powerWarning_;
  CommandRunner commandRunner_;
  Relocation relocation_;
  SelfUpdate selfUpdate_;
  bool tickRunning_ = false;
  // The kind whose parameter the prompt asks for while it shows; it stays after an add.
  std::optional<TaskKind> promptKind_;
  // The process of each picker entry, from the last listing.
  std::vector<ListedProcess> pickerProcesses_;
};
