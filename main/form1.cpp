#include "main/form1.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "command/request_wire.h"
#include "language/language.h"
#include "main/task_entry.h"
#include "process/image_name.h"
#include "process/process_listing.h"
#include "scheduler/condition_texts.h"
#include "scheduler/moment_text.h"
#include "scheduler/task_actions.h"
#include "upgrade/version_text.h"

namespace {

constexpr Rgb kBandBlue{72, 162, 244};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kTipGreen{0, 128, 0};

// The main window's layout. The kind group, the prompt, the parameter field
// and the add button stand one below the other with these gaps.
constexpr Bounds kMainWindow{337, 220, 780, 550};
constexpr Bounds kBand{0, 0, 780, 60};
constexpr Bounds kHeadline{10, 10, 0, 34};
// The clock grows to the left from its right edge, so that a long date and
// time format stays inside the band.
constexpr int kClockRightMargin = 27;
constexpr Bounds kClock{kBand.width - kClockRightMargin, 24, 0, 28};
constexpr Bounds kLeftPane{0, 61, 300, 460};
constexpr Bounds kRightPane{300, 60, 480, 460};
constexpr Bounds kTaskList{15, 15, 430, 420};
// The modes take three rows of two; the fields of the chosen mode stand below.
constexpr Bounds kTimingModes{20, 20, 210, 60};
constexpr int kFieldsTop = kTimingModes.top + kTimingModes.height + 10;
constexpr Bounds kDateTimeFields{20, kFieldsTop, 210, 60};
constexpr Bounds kTimingGroup{20, 20, 265, kFieldsTop + kDateTimeFields.height + 10};
// The date field is wide enough for the longest date of the user's short format
// ("2026/12/31", "12/31/2026") beside its drop-down button; the time field
// keeps its gap after it.
constexpr Bounds kDateField{8, 8, 96, 18};
constexpr int kDateTimeGap = 16;
constexpr Bounds kTimeField{kDateField.left + kDateField.width + kDateTimeGap, 8, 75, 18};
// The hint and the repeat list share the row below the date and the time.
constexpr Bounds kExpiredHint{8, 32, 126, 22};
constexpr Bounds kRepeatField{136, 32, 66, 20};
constexpr Bounds kExpiredPicture{0, 3, 16, 16};
constexpr Bounds kExpiredText{22, 4, 0, 14};
constexpr Bounds kCountdownFields{20, kFieldsTop, 210, 40};
constexpr Bounds kCountField{8, 8, 50, 20};
constexpr Bounds kUnitField{72, 8, 65, 20};
constexpr Bounds kAfterText{144, 16, 0, 13};
constexpr Bounds kDelayFields{20, kFieldsTop, 210, 40};
constexpr Bounds kDelayField{8, 8, 50, 20};
constexpr Bounds kDelayText{64, 12, 0, 13};
// Two rows each: the values, then the check box and the repeat list.
constexpr Bounds kConditionFields{20, kFieldsTop, 235, 56};
constexpr Bounds kNetRateText{8, 10, 0, 13};
constexpr Bounds kNetRateField{56, 6, 58, 20};
constexpr Bounds kNetRateUnit{118, 10, 0, 13};
constexpr Bounds kNetLastingText{146, 10, 0, 13};
constexpr Bounds kNetMinutesField{172, 6, 34, 20};
constexpr Bounds kNetMinutesText{210, 10, 0, 13};
constexpr Bounds kCpuQuietBox{8, 32, 92, 20};
constexpr Bounds kCpuPercentField{102, 32, 40, 20};
constexpr Bounds kCpuPercentText{146, 36, 0, 13};
constexpr Bounds kIdleLastingText{8, 10, 0, 13};
constexpr Bounds kIdleMinutesField{34, 6, 48, 20};
constexpr Bounds kIdleMinutesText{86, 10, 0, 13};
constexpr Bounds kIdleGuardBox{8, 32, 150, 20};
constexpr Bounds kConditionRepeatField{162, 32, 66, 20};
constexpr int kGroupGap = 20;
constexpr int kPromptGap = 10;
// Four rows: the first three as the kinds have always stood, the later kinds below them. Rows
// of 23 pixels, like the timing modes': taller ones would push the add button out of the pane.
constexpr Bounds kKindGroup{20, kTimingGroup.top + kTimingGroup.height + kGroupGap, 265, 117};
constexpr Bounds kPrompt{20, kKindGroup.top + kKindGroup.height + kGroupGap, 0, 15};
constexpr Bounds kParameterField{20, kPrompt.top + kPrompt.height + kPromptGap, 265, 21};
constexpr Bounds kPicker{20, kParameterField.top, 265, 20};
constexpr Bounds kAddButton{20, kKindGroup.top + kKindGroup.height + kGroupGap, 75, 25};
constexpr int kButtonGap = 20;

constexpr int kDateTimeMode = 0;
constexpr int kCountdownMode = 1;
constexpr int kProgramEndMode = 2;
constexpr int kNetworkQuietMode = 3;
constexpr int kNoInputMode = 4;

std::vector<std::string> Texts(std::initializer_list<TextId> ids) {
  std::vector<std::string> texts;
  for (const TextId id : ids) texts.emplace_back(Text(id));
  return texts;
}

std::vector<std::string> TimingModeItems() {
  std::vector<std::string> items =
      Texts({TextId::TimingModeAtTime, TextId::TimingModeCountdown, TextId::TimingModeProgramEnd});
  items.emplace_back(Text(TextId::NetworkQuietMode));
  items.emplace_back(Text(TextId::NoInputMode));
  return items;
}

// In the order of kUnitMinutes, kUnitHours, kUnitDays.
std::vector<std::string> UnitItems() {
  return Texts({TextId::UnitMinutes, TextId::UnitHours, TextId::UnitDays});
}

std::vector<std::string> TaskKindItems() {
  std::vector<std::string> items;
  for (int kind = 0; kind < kTaskKindCount; ++kind) {
    items.emplace_back(Text(TraitsOf(static_cast<TaskKind>(kind)).itemText));
  }
  return items;
}

// The first nine kinds fill the three columns in order, as they always have; hibernation
// stands below log-off, and turning the screen off below locking it.
static_assert(kTaskKindCount == static_cast<int>(TaskKind::ScreenOff) + 1,
              "a new kind needs its cell in the kind group");
std::vector<RadioGroup::Cell> TaskKindCells() {
  std::vector<RadioGroup::Cell> cells;
  for (int kind = 0; kind <= static_cast<int>(TaskKind::Lock); ++kind) {
    cells.push_back({kind / 3, kind % 3});
  }
  cells.push_back({0, 3});  // 休眠
  cells.push_back({2, 3});  // 关闭显示器
  return cells;
}

// The main window first: it is the one the user switched from.
std::vector<LanguageListener*> ListenersAfter(LanguageListener* mainWindow,
                                              const TForm1::Collaborators& collaborators) {
  std::vector<LanguageListener*> listeners{mainWindow};
  listeners.insert(listeners.end(), collaborators.languageListeners.begin(),
                   collaborators.languageListeners.end());
  return listeners;
}

SettingsFile LoadedSettings(const PlatformSet& platform) {
  SettingsFile settings(platform.profileFiles, platform.clock,
                        TaskListFolder(platform.profileFiles.RoamingAppDataFolder()));
  settings.Load();
  return settings;
}

std::vector<std::string> RepeatKindItems() {
  std::vector<std::string> items;
  for (int kind = 0; kind < kDatedRepeatKindCount; ++kind) {
    items.emplace_back(RepeatKindItemText(static_cast<RepeatKind>(kind)));
  }
  return items;
}

// A task that waits for a condition runs once, or again each time.
std::vector<std::string> ConditionRepeatItems() {
  return {RepeatKindItemText(RepeatKind::None), RepeatKindItemText(RepeatKind::EachTime)};
}

}  // namespace

TForm1::TForm1(const PlatformSet& platform, AppState& state, std::string updateServerHost,
               Collaborators collaborators)
    : platform(platform),
      state(state),
      updateServerHost_(std::move(updateServerHost)),
      taskActions_(collaborators.taskActions),
      tipForm_(collaborators.alarmWindow),
      warnForm_(collaborators.warningWindow),
      startWithWindows_(platform.runAtLogon, platform.files),
      settings_(LoadedSettings(platform)),
      language_(settings_, platform.displayLanguage, ListenersAfter(this, collaborators)),
      shutdownMethod_(settings_),
      quickPicks_(tasks_, settings_, platform.clock,
                  [this](const std::vector<std::string>& words) { (void)RunCommand(words); }),
      Form1("Form1", kMainWindow, Form::Frame::Main),
      TimerNow("TimerNow", &Form1, 1000, true),
      TimerUpgrade("TimerUpgrade", &Form1, 300, true),
      PanelTop("PanelTop", &Form1, kBand, false),
      Title("Title", &PanelTop, kHeadline),
      LabelNow("LabelNow", &PanelTop, kClock, Label::Sizing::AutomaticFromRight),
      PanelLeft("PanelLeft", &Form1, kLeftPane, false),
      GroupBox1("GroupBox1", &PanelLeft, kTimingGroup, ""),
      RadioGroup1("RadioGroup1", &GroupBox1, kTimingModes, "", 2, TimingModeItems()),
      Panel1("Panel1", &GroupBox1, kDateTimeFields, true),
      bsSkinDateEdit1("bsSkinDateEdit1", &Panel1, kDateField),
      bsSkinTimeEdit1("bsSkinTimeEdit1", &Panel1, kTimeField),
      PanelTimeTip("PanelTimeTip", &Panel1, kExpiredHint, false),
      Image1("Image1", &PanelTimeTip, kExpiredPicture, IconView::Stock::Warning),
      Label1("Label1", &PanelTimeTip, kExpiredText),
      ComboBoxRepeat("ComboBoxRepeat", &Panel1, kRepeatField, RepeatKindItems()),
      Panel2("Panel2", &GroupBox1, kCountdownFields, true),
      bsSkinSpinEdit1("bsSkinSpinEdit1", &Panel2, kCountField, 1, 1000000, 1),
      bsSkinComboBox1("bsSkinComboBox1", &Panel2, kUnitField, UnitItems()),
      bsSkinStdLabel1("bsSkinStdLabel1", &Panel2, kAfterText),
      Panel3("Panel3", &GroupBox1, kDelayFields, true),
      bsSkinSpinEdit2("bsSkinSpinEdit2", &Panel3, kDelayField, 0, kMaxProgramEndDelayMinutes, 0),
      bsSkinStdLabel2("bsSkinStdLabel2", &Panel3, kDelayText),
      Panel4("Panel4", &GroupBox1, kConditionFields, true),
      LabelNetRate("LabelNetRate", &Panel4, kNetRateText),
      EditNetRate("EditNetRate", &Panel4, kNetRateField, 1, kMaxRateKilobytes,
                  NetworkQuietTrigger{}.rateKilobytes),
      LabelNetRateUnit("LabelNetRateUnit", &Panel4, kNetRateUnit),
      LabelNetLasting("LabelNetLasting", &Panel4, kNetLastingText),
      EditNetMinutes("EditNetMinutes", &Panel4, kNetMinutesField, 1, kMaxConditionMinutes,
                     NetworkQuietTrigger{}.minutes),
      LabelNetMinutes("LabelNetMinutes", &Panel4, kNetMinutesText),
      CheckCpuQuiet("CheckCpuQuiet", &Panel4, kCpuQuietBox, "", NetworkQuietTrigger{}.cpuQuiet),
      EditCpuPercent("EditCpuPercent", &Panel4, kCpuPercentField, kMinCpuPercent, kMaxCpuPercent,
                     NetworkQuietTrigger{}.cpuPercent),
      LabelCpuPercent("LabelCpuPercent", &Panel4, kCpuPercentText),
      ComboBoxNetRepeat("ComboBoxNetRepeat", &Panel4, kConditionRepeatField,
                        ConditionRepeatItems()),
      Panel5("Panel5", &GroupBox1, kConditionFields, true),
      LabelIdleLasting("LabelIdleLasting", &Panel5, kIdleLastingText),
      EditIdleMinutes("EditIdleMinutes", &Panel5, kIdleMinutesField, 1, kMaxConditionMinutes,
                      NoInputTrigger{}.minutes),
      LabelIdleMinutes("LabelIdleMinutes", &Panel5, kIdleMinutesText),
      CheckIdleGuard("CheckIdleGuard", &Panel5, kIdleGuardBox, "", NoInputTrigger{}.guard),
      ComboBoxIdleRepeat("ComboBoxIdleRepeat", &Panel5, kConditionRepeatField,
                         ConditionRepeatItems()),
      RadioGroup2("RadioGroup2", &PanelLeft, kKindGroup, "", 3, TaskKindItems(), TaskKindCells()),
      LabelTips("LabelTips", &PanelLeft, kPrompt),
      EditInfo("EditInfo", &PanelLeft, kParameterField),
      bsSkinComboBoxEx1("bsSkinComboBoxEx1", &PanelLeft, kPicker, ""),
      ButtonAdd("ButtonAdd", &PanelLeft, kAddButton, ""),
      PanelRight("PanelRight", &Form1, kRightPane, false),
      TaskList("TaskList", &PanelRight, kTaskList),
      bsTrayIcon1(platform.notificationArea, Form1, platform.windowSystem.DoubleClickTimeMs()),
      bsBusinessSkinForm1(Form1, bsTrayIcon1, platform.windowSystem,
                          {&shutdownMethod_, &quickPicks_, &language_}, startWithWindows_),
      bsSkinMessage1("bsSkinMessage1", IconView::Stock::Warning, Form1, platform.windowSystem),
      savedTasks_(platform.profileFiles, platform.messages, bsTrayIcon1, platform.clock, tasks_,
                  TaskListFolder(platform.profileFiles.RoamingAppDataFolder())),
      wakeKeeper_(platform.powerRequests, platform.clock),
      programEnd_(platform.processes, tasks_, platform.timeZone),
      conditions_(platform.machineActivity, platform.presenceSensor, tasks_),
      tasks_(TaskList, bsTrayIcon1, platform.clock, platform.timeZone,
             {
                 &savedTasks_,
                 &wakeKeeper_,
                 &programEnd_,
                 &conditions_,
             },
             conditions_),
      dueTasks_(tasks_, programEnd_, taskActions_, Title, bsTrayIcon1, platform.clock),
      powerWarning_(tasks_, taskActions_, collaborators.warningWindow, bsTrayIcon1, platform.clock,
                    platform.timeZone, platform.processes,
                    [this] { return shutdownMethod_.Current(); }),
      commandRunner_(tasks_, programEnd_, platform.processes, platform.clock, platform.timeZone),
      relocation_(platform.files, platform.versionResource),
      selfUpdate_({platform.download, platform.files, platform.clock, platform.signatures,
                   platform.versionResource, platform.shell, platform.sessionInstance,
                   platform.windowSystem},
                  collaborators.updateWindow, [this] { HandOverWhenItMay(); }) {
  Form1.SetBackColor(ColorRef::System(SystemColor::Window));
  Form1.SetFont({"MS Sans Serif", 11, false});
  PanelTop.SetBackColor(ColorRef::Of(kBandBlue));
  Title.SetFont({"Arial", 29, true});
  Title.SetTextColor(ColorRef::System(SystemColor::ButtonHighlight));
  LabelNow.SetFont({"Arial", 24, false});
  LabelNow.SetTextColor(ColorRef::Of(kWhite));
  LabelTips.SetFont({"Arial", 12, false});
  LabelTips.SetTextColor(ColorRef::Of(kBandBlue));
  TaskList.SetFont({"Arial", 16, true});
  Label1.SetTextColor(ColorRef::Of(kTipGreen));
  // Shown only for a moment past: hidden before the windows are made, it
  // costs nothing until then.
  PanelTimeTip.Hide();
  Panel2.Hide();
  Panel3.Hide();
  Panel4.Hide();
  Panel5.Hide();
  ComboBoxNetRepeat.SetItemIndex(0);
  ComboBoxIdleRepeat.SetItemIndex(0);
  LabelTips.Hide();
  EditInfo.Hide();
  bsSkinComboBoxEx1.Hide();
  bsSkinComboBox1.SetItemIndex(0);
  ComboBoxRepeat.SetItemIndex(0);
  RadioGroup1.SetItemIndex(0);
  bsSkinDateEdit1.SetDate(platform.clock.Now());
  TimerNow.OnTimer = [this] { TimerNowTimer(); };
  TimerUpgrade.OnTimer = [this] { TimerUpgradeTimer(); };
  RadioGroup1.OnClick = [this] { RadioGroup1Click(); };
  bsSkinComboBox1.OnClick = [this] { bsSkinComboBox1Click(); };
  bsSkinDateEdit1.OnChange = [this] { bsSkinDateEdit1Change(); };
  bsSkinTimeEdit1.OnChange = [this] { bsSkinTimeEdit1Change(); };
  ComboBoxRepeat.OnClick = [this] { ShowExpiredHint(); };
  RadioGroup2.OnClick = [this] { RadioGroup2Click(); };
  ButtonAdd.OnClick = [this] { ButtonAddClick(); };
  bsTrayIcon1.OnClick = [this] { TrayClick(); };
  bsTrayIcon1.OnBalloonHintClick = [this] { bsTrayIcon1BalloonHintClick(); };
  bsTrayIcon1.OnMainWindowHidden = [this] { tipForm_.LeaveWithMainWindow(); };
  bsTrayIcon1.OnMainWindowShown = [this] { tipForm_.ComeBackWithMainWindow(); };
  Form1.OnActivate = [this] { FormActivate(); };
  Form1.OnShowRequest = [this] { TrayClick(); };
  Form1.OnRequest = [this](const std::string& bytes) {
    const auto words = DecodeRequest(bytes);
    return EncodeReply(words ? RunCommand(*words) : CommandReply{ExitCode::WrongUsage, {}, {}});
  };
  Form1.OnResume = [this] { TickAfterClockJump(); };
  Form1.OnTimeChange = [this] { TickAfterClockJump(); };
  // The session ends without the window being closed: a list not saved yet is saved now.
  Form1.OnSessionEnd = [this] { (void)savedTasks_.SaveIfBehind(tasks_.Queue()); };
  TaskList.OnContextMenu = [this] { TaskListContextMenu(); };
  bsSkinComboBoxEx1.SetImages(&ImageListJinCheng);
  // Its word on why comes with the other texts.
  if (!platform.power.CanHibernate()) {
    RadioGroup2.DisableItem(static_cast<int>(TaskKind::Hibernate), {});
  }
  ShowTexts();

  AttachMirrors(Form1, platform.mirrors);
  bsSkinMessage1.AttachMirrors(platform.mirrors);
  FormCreate();
  // Before the first tick, which treats tasks found late as after a sleep.
  loadReport_ = savedTasks_.Load();
  RestorePanelChoices();
}

void TForm1::FormCreate() {
  const std::string programFile = platform.files.ProgramFilePath();
  state.AppPath = std::string(DirectoryPart(programFile));
  state.AppVersion = GetFileVersionString(platform.versionResource, programFile);
  state.ExeFileName = "Dusk.exe";
  state.UpdateInfoUrl = "http://" + updateServerHost_ + "/v/dusk.html";
  state.Check = std::make_shared<UpdateCheck>();
  state.Check->AppPath = state.AppPath;
  state.Check->AppVersion = state.AppVersion;
  state.Check->UpdateInfoUrl = state.UpdateInfoUrl;
  state.RelaunchPending = relocation_.RelocateToFixedName(
      programFile, state.AppPath, state.ExeFileName, state.AppVersion, platform.clock.Now());
  // Only the program under its fixed name stays: a copy under another name
  // hands over to it, or is a leftover.
  if (FileNamePart(programFile) == state.ExeFileName) startWithWindows_.FollowProgramFile();
  SettleStartupFiles(*state.Check);
  LayoutMainWindow();
}

void TForm1::ShowAndStartUpdateCheck() {
  Form1.ShowNormal();
  // Once the window is on the screen: the shell's library that the tray icon
  // loads, the thread and the internet service would only hold it up.
  ShowTrayIconAndStartUpdateCheck();
}

void TForm1::StartInTray() {
  // With no window on the screen, the icon is all the user has.
  ShowTrayIconAndStartUpdateCheck();
}

void TForm1::ShowTrayIconAndStartUpdateCheck() {
  bsTrayIcon1.AddToTray();
  StartUpdateCheck(state.Check, platform.threads,
                   {platform.download, platform.files, platform.clock, platform.codePage});
}

void TForm1::ShowTexts() {
  GroupBox1.SetText(std::string(Text(TextId::TimingGroupCaption)));
  RadioGroup1.SetItemTexts(TimingModeItems());
  Label1.SetText(std::string(Text(TextId::MomentExpired)));
  ComboBoxRepeat.SetItemTexts(RepeatKindItems());
  bsSkinComboBox1.SetItemTexts(UnitItems());
  bsSkinStdLabel1.SetText(std::string(Text(TextId::CountdownAfter)));
  bsSkinStdLabel2.SetText(std::string(Text(TextId::ProgramEndDelayAfter)));
  LabelNetRate.SetText(std::string(Text(TextId::NetRateBefore)));
  LabelNetRateUnit.SetText(std::string(Text(TextId::NetRateUnit)));
  LabelNetLasting.SetText(std::string(Text(TextId::NetLasting)));
  LabelNetMinutes.SetText(std::string(Text(TextId::ConditionMinutes)));
  CheckCpuQuiet.SetText(std::string(Text(TextId::CpuQuiet)));
  LabelCpuPercent.SetText(std::string(Text(TextId::CpuPercent)));
  ComboBoxNetRepeat.SetItemTexts(ConditionRepeatItems());
  LabelIdleLasting.SetText(std::string(Text(TextId::IdleLasting)));
  LabelIdleMinutes.SetText(std::string(Text(TextId::ConditionMinutes)));
  CheckIdleGuard.SetText(std::string(Text(TextId::IdleGuard)));
  ComboBoxIdleRepeat.SetItemTexts(ConditionRepeatItems());
  RadioGroup2.SetText(std::string(Text(TextId::KindGroupCaption)));
  RadioGroup2.SetItemTexts(TaskKindItems());
  if (constexpr int hibernate = static_cast<int>(TaskKind::Hibernate);
      !RadioGroup2.ItemEnabled(hibernate)) {
    RadioGroup2.DisableItem(hibernate, std::string(Text(TextId::NoHibernation)));
  }
  if (promptKind_) LabelTips.SetText(PromptText(*promptKind_));
  bsSkinComboBoxEx1.SetHint(std::string(Text(TextId::PickerHint)));
  ButtonAdd.SetText(std::string(Text(TextId::AddButton)));
}

void TForm1::ShowWindowTitle() {
  Form1.SetText(std::string(Text(TextId::AppTitle)) + "     " + state.AppVersion);
}

void TForm1::LanguageChanged() {
  ShowTexts();
  ShowWindowTitle();
  tasks_.RefreshCaptions();
  dueTasks_.ShowHeadline(platform.clock.Now());
}

void TForm1::LayoutMainWindow() {
  ShowWindowTitle();
  const DateTime now = platform.clock.Now();
  LabelNow.SetText(MomentText(platform.clock, now));
  SetTimeEditTwentyMinutesAhead(now);
  // Setting the time raised its change event, which judged the moment: after
  // 23:40 the time twenty minutes ahead lies before this one on today's date.
  // The hint waits for the user's own change.
  PanelTimeTip.Hide();
  EditInfo.SetText("");
  PlaceButtonAdd(false);
}

void TForm1::TimerNowTimer() {
  // A shell call inside an action may dispatch messages, and with them this
  // timer; the tick already running owns the head task. After the hand-over
  // the successor holds the claim: this program changes nothing it has loaded.
  if (tickRunning_ || selfUpdate_.HandedOver()) return;
  tickRunning_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{tickRunning_};

  const DateTime now = platform.clock.Now();
  LabelNow.SetText(MomentText(platform.clock, now));
  if (!state.RelaunchPending && relocation_.RetryCopy(now)) state.RelaunchPending = true;
  if (state.RelaunchPending) {
    state.RelaunchPending = false;
    // Not started: this copy runs on under its present name, asked once.
    if (selfUpdate_.StartSuccessor(state.AppPath + state.ExeFileName, SuccessorStartNow())) return;
  }
  const std::uint64_t balloonsBeforeTick = bsTrayIcon1.BalloonsShown();
  conditions_.Follow(now);
  dueTasks_.Run(now);
  if (!loadReport_.text.empty()) {
    ShowTaskReport(bsTrayIcon1, ReportTitle(), std::exchange(loadReport_.text, {}),
                   balloonsBeforeTick);
  }
  powerWarning_.Follow(now);
  wakeKeeper_.Follow(now);
  HandOverWhenItMay();
}

void TForm1::TimerUpgradeTimer() {
  if (!state.Check->UpdateCheckDone.load(std::memory_order_acquire)) return;
  TimerUpgrade.SetEnabled(false);  // for good: one check per run
  if (state.Check->UpdateCandidateUrl.empty()) return;
  selfUpdate_.Download({state.Check->UpdateCandidateUrl, state.Check->UpdateCandidateVersion,
                        state.Check->UpdateCandidateSignature},
                       {state.AppPath, state.ExeFileName, state.AppVersion});
}

void TForm1::HandOverWhenItMay() {
  const TaskQueue& queue = tasks_.Queue();
  if (!selfUpdate_.MayHandOver(
          {tipForm_.Showing(), warnForm_.Showing(),
           queue.Empty() ? std::nullopt : std::optional<DateTime>(queue.Head().When)})) {
    return;
  }
  // The new program knows only the tasks the file holds: while the list
  // cannot be saved, this program keeps them and tries again each tick.
  if (!savedTasks_.SaveIfBehind(queue)) return;
  selfUpdate_.HandOver(SuccessorStartNow());
}

SuccessorStart TForm1::SuccessorStartNow() const {
  // The saved list is written after every change: the successor loads what
  // this program holds. A file left as it was tells the successor the same
  // when it reads it.
  return {Form1.Handle(), !Form1.Visible(),
          loadReport_.fileSetAside ? loadReport_.text : std::string()};
}

void TForm1::TakeOverLoadReport(const std::string& report) {
  if (report.empty()) return;
  loadReport_.text = loadReport_.text.empty() ? report : report + "\r\n" + loadReport_.text;
}

void TForm1::N1Click() {
  tasks_.RemoveSelected();
  const DateTime now = platform.clock.Now();
  dueTasks_.ShowHeadline(now);
  powerWarning_.Follow(now);
}

// After each choice the tick runs at once: the list, the headline and the
// window agree before the next second.
void TForm1::ButtonPostponeClick(int minutes) {
  powerWarning_.Postpone(minutes, platform.clock.Now());
  TimerNowTimer();
}

void TForm1::ButtonCancelTaskClick() {
  powerWarning_.Cancel();
  TimerNowTimer();
}

void TForm1::ButtonRunNowClick() {
  powerWarning_.RunNow();
  TimerNowTimer();
}

void TForm1::WarnFormDismiss() { powerWarning_.Dismiss(); }

void TForm1::TaskListContextMenu() {
  const int chosen = platform.windowSystem.ShowPopupMenu(
      Form1.Handle(), {{std::string(Text(TextId::DeleteSelectedTask)), ""}});
  if (chosen == 0) N1Click();
}

void TForm1::SetTimeEditTwentyMinutesAhead(DateTime now) {
  // The time of day only: past midnight it wraps, and the date stays.
  const CalendarTime ahead = DecodeDateTime(now + 20.0 / kMinutesPerDay);
  bsSkinTimeEdit1.SetTimeOfDay(ahead.hour, ahead.minute, ahead.second);
}

void TForm1::PlaceButtonAdd(bool belowParameterField) {
  ButtonAdd.SetTop(belowParameterField ? EditInfo.Top() + EditInfo.Height() + kButtonGap
                                       : RadioGroup2.Top() + RadioGroup2.Height() + kButtonGap);
}

bool TForm1::WaitsForProgramEnd() const { return RadioGroup1.ItemIndex() == kProgramEndMode; }

std::string TForm1::PromptText(TaskKind kind) const {
  // Waiting for a program's end, the picker names that program: a program to
  // end after it is typed in.
  if (WaitsForProgramEnd() && TraitsOf(kind).parameter == TaskParameter::RunningProgram) {
    return std::string(Text(TextId::CloseProgramTypedPrompt));
  }
  return std::string(Text(*TraitsOf(kind).parameterPrompt));
}

void TForm1::PlaceEntryFields() {
  const TaskKindTraits* kind = ChosenKind();
  const bool endsAProgram = kind && kind->parameter == TaskParameter::RunningProgram;
  const bool prompt = (kind && kind->parameterPrompt) || (endsAProgram && WaitsForProgramEnd());
  promptKind_.reset();
  if (prompt) {
    promptKind_ = static_cast<TaskKind>(RadioGroup2.ItemIndex());
    LabelTips.SetText(PromptText(*promptKind_));
  }
  if (!WaitsForProgramEnd()) {
    const bool picker = endsAProgram;
    LabelTips.SetVisible(prompt);
    LabelTips.SetTop(kPrompt.top);
    EditInfo.SetTop(kParameterField.top);
    bsSkinComboBoxEx1.SetTop(kPicker.top);
    EditInfo.SetVisible(prompt && !picker);
    bsSkinComboBoxEx1.SetVisible(picker);
    PlaceButtonAdd(prompt);
    return;
  }
  // The program waited for comes first, right below the kinds; a kind's own
  // parameter goes below it.
  bsSkinComboBoxEx1.SetTop(kPrompt.top);
  bsSkinComboBoxEx1.Show();
  const int belowPicker = kPrompt.top + kPicker.height + kPromptGap;
  LabelTips.SetVisible(prompt);
  EditInfo.SetVisible(prompt);
  if (!prompt) {
    ButtonAdd.SetTop(kPrompt.top + kPicker.height + kButtonGap);
    return;
  }
  LabelTips.SetTop(belowPicker);
  EditInfo.SetTop(belowPicker + kPrompt.height + kPromptGap);
  PlaceButtonAdd(true);
}

void TForm1::RadioGroup1Click() {
  const int mode = RadioGroup1.ItemIndex();
  Panel1.SetVisible(mode == kDateTimeMode);
  Panel2.SetVisible(mode == kCountdownMode);
  Panel3.SetVisible(mode == kProgramEndMode);
  Panel4.SetVisible(mode == kNetworkQuietMode);
  Panel5.SetVisible(mode == kNoInputMode);
  if (mode == kDateTimeMode) SetTimeEditTwentyMinutesAhead(platform.clock.Now());
  // The picker lists the programs running now, and keeps the pick while the
  // kind changes.
  if (mode == kProgramEndMode) ListProcesses();
  PlaceEntryFields();
}

void TForm1::bsSkinComboBox1Click() {
  bsSkinSpinEdit1.SetValue(CountForUnit(bsSkinComboBox1.ItemIndex()));
}

void TForm1::bsSkinDateEdit1Change() { ShowExpiredHint(); }

void TForm1::bsSkinTimeEdit1Change() { ShowExpiredHint(); }

void TForm1::ShowExpiredHint() {
  const DateTime entered = EnteredMoment(bsSkinDateEdit1.Date(), bsSkinTimeEdit1.SecondOfDay());
  // A series starts at its next occurrence: no moment of it is past.
  PanelTimeTip.SetVisible(ChosenRepeat() == RepeatKind::None &&
                          IsPastMoment(entered, platform.clock.Now()));
}

WaitCondition TForm1::ChosenCondition() const {
  switch (RadioGroup1.ItemIndex()) {
    case kNetworkQuietMode:
      return NetworkQuietTrigger{EditNetRate.Value(), EditNetMinutes.Value(),
                                 CheckCpuQuiet.Checked(), EditCpuPercent.Value()};
    case kNoInputMode:
      return NoInputTrigger{EditIdleMinutes.Value(), CheckIdleGuard.Checked()};
    default:
      return {};
  }
}

RepeatKind TForm1::ChosenConditionRepeat() const {
  const ComboBox& repeat =
      RadioGroup1.ItemIndex() == kNetworkQuietMode ? ComboBoxNetRepeat : ComboBoxIdleRepeat;
  return repeat.ItemIndex() == 1 ? RepeatKind::EachTime : RepeatKind::None;
}

const TaskKindTraits* TForm1::ChosenKind() const {
  const int index = RadioGroup2.ItemIndex();
  return index >= 0 && index < kTaskKindCount ? &TraitsOf(static_cast<TaskKind>(index)) : nullptr;
}

RepeatKind TForm1::ChosenRepeat() const {
  const int index = ComboBoxRepeat.ItemIndex();
  return index > 0 && index < kDatedRepeatKindCount ? static_cast<RepeatKind>(index)
                                                    : RepeatKind::None;
}

void TForm1::RadioGroup2Click() {
  EditInfo.SetText("");
  PlaceEntryFields();
  const TaskKindTraits* kind = ChosenKind();
  if (!kind) return;
  switch (kind->parameter) {
    case TaskParameter::ProgramFile:
      ChooseProgramFile();
      break;
    case TaskParameter::RunningProgram:
      if (!WaitsForProgramEnd()) ListProcesses();
      break;
    case TaskParameter::WebAddress:
      EditInfo.SetText("http://");
      break;
    case TaskParameter::None:
    case TaskParameter::Text:
      break;
  }
}

void TForm1::ChooseProgramFile() {
  const std::optional<std::string> chosen = platform.windowSystem.ChooseFile(
      {Form1.Handle(), std::string(Text(TextId::ChooseProgramTitle)),
       std::string(Text(TextId::ProgramFilesFilter)), "*.exe", OpenDialog1FileName});
  if (!chosen) return;
  OpenDialog1FileName = *chosen;
  if (!HasProgramExtension(*chosen)) {
    (void)platform.windowSystem.ShowMessageBox(0, std::string(Text(TextId::NotAProgram)),
                                               std::string(Text(TextId::ErrorCaption)),
                                               WindowSystem::MessageBoxIcon::Error);
    return;
  }
  EditInfo.SetText(*chosen);
}

void TForm1::ButtonAddClick() {
  const int kindIndex = RadioGroup2.ItemIndex();
  if (kindIndex < 0) {
    bsSkinMessage1.Show(std::string(Text(TextId::WarningCaption)),
                        std::string(Text(TextId::NoKindChosen)));
    return;
  }
  const DateTime now = platform.clock.Now();
  Task task;
  if (WaitsForProgramEnd()) {
    const int picked = bsSkinComboBoxEx1.ItemIndex();
    if (picked < 0 || static_cast<std::size_t>(picked) >= pickerProcesses_.size()) {
      bsSkinMessage1.Show(std::string(Text(TextId::WarningCaption)),
                          std::string(Text(TextId::NoProgramChosen)));
      return;
    }
    const ListedProcess& listed = pickerProcesses_[static_cast<std::size_t>(picked)];
    std::optional<ProgramEndTrigger> trigger = programEnd_.Watch(
        listed.processId, listed.startTime, bsSkinComboBoxEx1.Text(), bsSkinSpinEdit2.Value());
    if (!trigger) {
      (void)platform.windowSystem.ShowMessageBox(
          Form1.Handle(), std::string(Text(TextId::CannotWait)),
          std::string(Text(TextId::EntryErrorCaption)), WindowSystem::MessageBoxIcon::Warning);
      return;
    }
    task.When = kWaitingMoment;
    task.AfterProgram = std::move(*trigger);
  } else if (WaitCondition condition = ChosenCondition();
             !std::holds_alternative<std::monostate>(condition)) {
    task.When = kWaitingMoment;
    task.Condition = condition;
    if (ChosenConditionRepeat() == RepeatKind::EachTime) task.Repeat = {RepeatKind::EachTime, 0};
  } else if (RadioGroup1.ItemIndex() == kCountdownMode) {
    task.When = CountdownDueMoment(now, bsSkinSpinEdit1.Value(), bsSkinComboBox1.ItemIndex(),
                                   platform.timeZone);
  } else {
    const DateTime entered = EnteredMoment(bsSkinDateEdit1.Date(), bsSkinTimeEdit1.SecondOfDay());
    const std::optional<DatedDue> due =
        DueForEnteredMoment(entered, ChosenRepeat(), now, platform.timeZone);
    if (!due) {
      (void)platform.windowSystem.ShowMessageBox(
          Form1.Handle(), std::string(Text(TextId::PastMoment)),
          std::string(Text(TextId::EntryErrorCaption)), WindowSystem::MessageBoxIcon::Warning);
      return;
    }
    task.When = due->when;
    task.Repeat = due->repeat;
  }
  task.Kind = static_cast<TaskKind>(kindIndex);
  switch (TraitsOf(task.Kind).parameter) {
    case TaskParameter::RunningProgram:
      task.Param =
          WaitsForProgramEnd() ? EditInfo.Text() : CloseProgramParam(bsSkinComboBoxEx1.Text());
      break;
    case TaskParameter::Text:
    case TaskParameter::ProgramFile:
    case TaskParameter::WebAddress:
      task.Param = EditInfo.Text();
      break;
    case TaskParameter::None:
      break;
  }
  RememberPanelChoices(task);
  tasks_.Add(std::move(task));
  dueTasks_.ShowHeadline(now);
  // A power action less than half a minute away is warned of at once.
  powerWarning_.Follow(now);
  // No handler runs: the prompt and the field stay until another kind is chosen.
  RadioGroup2.SetItemIndex(-1);
  EditInfo.SetText("");
}

CommandReply TForm1::RunCommand(const std::vector<std::string>& words) {
  bool changed = false;
  CommandReply reply = commandRunner_.Run(words, changed);
  if (changed) {
    const DateTime now = platform.clock.Now();
    dueTasks_.ShowHeadline(now);
    powerWarning_.Follow(now);
  }
  return reply;
}

namespace {

constexpr char kKindKey[] = "panel.kind";
constexpr char kModeKey[] = "panel.mode";
constexpr char kCountKey[] = "panel.count";
constexpr char kUnitKey[] = "panel.unit";
constexpr char kRepeatKey[] = "panel.repeat";

// A stored number, or -1 when there is none.
int StoredIndex(const std::optional<std::string>& stored) {
  const std::string value = stored.value_or("");
  int number = -1;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
  return error == std::errc() && end == value.data() + value.size() && number >= 0 ? number : -1;
}

}  // namespace

void TForm1::RestorePanelChoices() {
  // The wait for a program's end lists the processes, and a program or a
  // running program to end is picked anew each time: those are not restored.
  const int mode = StoredIndex(settings_.Get(kModeKey));
  if (mode == kDateTimeMode || mode == kCountdownMode) {
    RadioGroup1.SetItemIndex(mode);
    RadioGroup1Click();
  }
  const int unit = StoredIndex(settings_.Get(kUnitKey));
  if (unit >= kUnitMinutes && unit <= kUnitDays) bsSkinComboBox1.SetItemIndex(unit);
  const int count = StoredIndex(settings_.Get(kCountKey));
  if (count > 0) bsSkinSpinEdit1.SetValue(count);
  const int repeat = StoredIndex(settings_.Get(kRepeatKey));
  if (repeat >= 0 && repeat < kRepeatKindCount) ComboBoxRepeat.SetItemIndex(repeat);
  const int kind = StoredIndex(settings_.Get(kKindKey));
  if (kind < 0 || kind >= kTaskKindCount) return;
  const auto taskKind = static_cast<TaskKind>(kind);
  if (taskKind == TaskKind::OpenProgram || taskKind == TaskKind::CloseProgram) return;
  RadioGroup2.SetItemIndex(kind);
  PlaceEntryFields();
  if (taskKind == TaskKind::OpenWebPage) EditInfo.SetText("http://");
}

void TForm1::RememberPanelChoices(const Task& added) {
  const int mode = RadioGroup1.ItemIndex();
  (void)settings_.Set({{kKindKey, std::to_string(RadioGroup2.ItemIndex())},
                       {kModeKey, std::to_string(mode)},
                       {kCountKey, std::to_string(bsSkinSpinEdit1.Value())},
                       {kUnitKey, std::to_string(bsSkinComboBox1.ItemIndex())},
                       {kRepeatKey, std::to_string(ComboBoxRepeat.ItemIndex())}});
  if (mode == kProgramEndMode) return;
  RecentEntry entry{mode == kCountdownMode, {}, added.Kind, added.Param};
  if (entry.countdown) {
    static constexpr char kUnitLetters[] = {'m', 'h', 'd'};
    const int unit = bsSkinComboBox1.ItemIndex();
    entry.amount = std::to_string(bsSkinSpinEdit1.Value()) +
                   kUnitLetters[unit >= kUnitMinutes && unit <= kUnitDays ? unit : kUnitMinutes];
  } else {
    const int second = bsSkinTimeEdit1.SecondOfDay();
    AppendZeroPadded(entry.amount, second / 3600, 2);
    entry.amount += ':';
    AppendZeroPadded(entry.amount, second / 60 % 60, 2);
    entry.amount += ':';
    AppendZeroPadded(entry.amount, second % 60, 2);
  }
  quickPicks_.Remember(std::move(entry));
}

void TForm1::ListProcesses() {
  pickerProcesses_ = GetProcess(platform.processes, bsSkinComboBoxEx1, ImageListJinCheng);
}

void TForm1::ReshowAlarmWindow() {
  // Hidden and shown again: placed beside this window once more, and in front.
  if (!tipForm_.Showing()) return;
  tipForm_.Hide();
  tipForm_.Show();
}

void TForm1::TrayClick() {
  bsTrayIcon1.ShowMainWindow();
  ReshowAlarmWindow();
}

void TForm1::FormActivate() { ReshowAlarmWindow(); }

void TForm1::TickAfterClockJump() {
  // Due moments may have gone by unseen: the tick settles them now, not a
  // timer period later, and the next period counts from here.
  TimerNowTimer();
  wakeKeeper_.AfterClockJump(platform.clock.Now());
  TimerNow.Restart();
}

void TForm1::bsTrayIcon1BalloonHintClick() {
  // Only the balloon that announced an alarm silences it: by then the alarm
  // has left the queue, so the queue's head says nothing about it. The language
  // may have changed since the balloon showed.
  const auto announcedAnAlarm = [this](Language language) {
    return bsTrayIcon1.BalloonTitle() == TextIn(language, TextId::AlarmBalloonTitle);
  };
  if (std::ranges::any_of(kLanguages, announcedAnAlarm)) platform.sound.Stop();
}
