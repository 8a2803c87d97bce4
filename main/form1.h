#pragma once

#include <optional>

#include "main/app_state.h"
#include "main/platform_set.h"
#include "scheduler/task_listing.h"
#include "scheduler/tick.h"
#include "tips/tip_form.h"
#include "upgrade/relocation.h"
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
class TForm1 : private Download::Listener {
 public:
  // The update server is fixed when the program is built.
  TForm1(const PlatformSet& platform, AppState& state, std::string updateServerHost);
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Who performs due tasks, and the alarm window kept in front of this one;
  // both set before the message loop runs.
  void UseTaskActions(TaskActions& actions) { taskActions_ = &actions; }
  void UseAlarmWindow(TForm3& tipForm);
  void UseUpdateWindow(TForm2& upForm) { upForm_ = &upForm; }

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

  [[nodiscard]] TaskListing& Tasks() { return *tasks_; }

  const PlatformSet platform;
  AppState& state;

 private:
  std::string updateServerHost_;

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
  Panel Panel1;
  DateEdit bsSkinDateEdit1;
  TimeEdit bsSkinTimeEdit1;
  Panel PanelTimeTip;
  IconView Image1;
  Label Label1;
  Panel Panel2;
  SpinEdit bsSkinSpinEdit1;
  ComboBox bsSkinComboBox1;
  Label bsSkinStdLabel1;
  RadioGroup RadioGroup2;
  Label LabelTips;
  Edit EditInfo;
  // Before the picker: the picker's window draws from it.
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
  void TaskListContextMenu();
  void PlaceButtonAdd(bool belowParameterField);
  void SetTimeEditTwentyMinutesAhead(DateTime now);
  void ShowExpiredHint();
  void ChooseProgramFile();
  void ListProcesses();
  void TickAfterClockJump();

  std::optional<TaskListing> tasks_;
  void ReshowAlarmWindow();
  void DownloadProgress(std::uint32_t received, std::uint32_t total) override;
  void DownloadFinished(bool succeeded) override;
  [[nodiscard]] bool AcceptDownloadedProgram(const std::string& download,
                                             const std::string& program);
  void HandOverToDownloadedProgram();

  Relocation relocation_;
  TForm2* upForm_ = nullptr;
  // The new program is downloaded and waits for the queue to empty: pending
  // tasks would be lost with this program.
  bool downloadedProgramWaiting_ = false;

  TaskActions* taskActions_ = nullptr;
  TForm3* tipForm_ = nullptr;
  bool tickRunning_ = false;
  std::optional<Task> warnedInThisSecond_;
};
