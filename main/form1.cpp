#include "main/form1.h"

#include <stdexcept>

#include "main/task_entry.h"
#include "main/version_text.h"
#include "process/process_listing.h"
#include "scheduler/moment_text.h"
#include "scheduler/task_actions.h"
#include "upgrade/update_signature.h"
#include "upgrade/url_time_stamp.h"
#include "upgrade/version_compare.h"

namespace {

constexpr Rgb kBandBlue{72, 162, 244};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kTipGreen{0, 128, 0};

std::vector<std::string> TaskKindItems() {
  std::vector<std::string> items;
  for (int kind = 0; kind < kTaskKindCount; ++kind) {
    items.emplace_back(TaskKindItemText(static_cast<TaskKind>(kind)));
  }
  return items;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace

TForm1::TForm1(const PlatformSet& platform, AppState& state, std::string updateServerHost)
    : platform(platform),
      state(state),
      updateServerHost_(std::move(updateServerHost)),
      Form1("Form1", {337, 220, 780, 550}, Form::Frame::Main),
      TimerNow("TimerNow", &Form1, 1000, true),
      TimerUpgrade("TimerUpgrade", &Form1, 300, true),
      PanelTop("PanelTop", &Form1, {0, 0, 780, 60}, false),
      Title("Title", &PanelTop, {10, 10, 0, 34}),
      LabelNow("LabelNow", &PanelTop, {512, 24, 0, 28}),
      PanelLeft("PanelLeft", &Form1, {0, 61, 300, 460}, false),
      GroupBox1("GroupBox1", &PanelLeft, {20, 20, 265, 140}, "  计时方式  "),
      RadioGroup1("RadioGroup1", &GroupBox1, {20, 20, 210, 40}, "", 2, {"指定时间", "倒计时"}),
      Panel1("Panel1", &GroupBox1, {20, 70, 210, 60}, true),
      bsSkinDateEdit1("bsSkinDateEdit1", &Panel1, {8, 8, 80, 18}),
      bsSkinTimeEdit1("bsSkinTimeEdit1", &Panel1, {104, 8, 75, 18}),
      PanelTimeTip("PanelTimeTip", &Panel1, {8, 32, 185, 22}, false),
      Image1("Image1", &PanelTimeTip, {0, 3, 16, 16}, IconView::Stock::Warning),
      Label1("Label1", &PanelTimeTip, {22, 4, 0, 14}),
      Panel2("Panel2", &GroupBox1, {20, 70, 210, 40}, true),
      bsSkinSpinEdit1("bsSkinSpinEdit1", &Panel2, {8, 8, 50, 20}, 1, 1000000, 1),
      bsSkinComboBox1("bsSkinComboBox1", &Panel2, {72, 8, 65, 20}, {"分钟", "小时", "天"}),
      bsSkinStdLabel1("bsSkinStdLabel1", &Panel2, {144, 16, 0, 13}),
      RadioGroup2("RadioGroup2", &PanelLeft, {20, 180, 265, 105}, "  执行任务  ", 3,
                  TaskKindItems()),
      LabelTips("LabelTips", &PanelLeft, {20, 305, 0, 15}),
      EditInfo("EditInfo", &PanelLeft, {20, 330, 265, 21}),
      bsSkinComboBoxEx1("bsSkinComboBoxEx1", &PanelLeft, {20, 330, 265, 20}, "选择你要关闭的软件"),
      ButtonAdd("ButtonAdd", &PanelLeft, {20, 305, 75, 25}, "添加任务"),
      PanelRight("PanelRight", &Form1, {300, 60, 480, 460}, false),
      TaskList("TaskList", &PanelRight, {15, 15, 430, 420}),
      bsTrayIcon1(platform.notificationArea, platform.codePage, Form1,
                  platform.windowSystem.DoubleClickTimeMs()),
      bsBusinessSkinForm1(Form1, bsTrayIcon1, platform.windowSystem),
      bsSkinMessage1("bsSkinMessage1", IconView::Stock::Warning, Form1, platform.windowSystem),
      relocation_(platform.files, platform.codePage) {
  Form1.SetBackColor(ColorRef::System(SystemColor::Window));
  Form1.SetFont({"MS Sans Serif", 11, false});
  Title.SetFont({"Arial", 29, true});
  Title.SetTextColor(ColorRef::System(SystemColor::ButtonHighlight));
  LabelNow.SetFont({"Arial", 24, false});
  LabelTips.SetFont({"Arial", 12, false});
  TaskList.SetFont({"Arial", 16, true});
  Label1.SetText("您设置的时间已过期     ");
  Label1.SetTextColor(ColorRef::Of(kTipGreen));
  PanelTimeTip.Hide();
  Panel2.Hide();
  bsSkinStdLabel1.SetText("之后  ");
  bsSkinComboBox1.SetItemIndex(0);
  RadioGroup1.SetItemIndex(0);
  bsSkinDateEdit1.SetDate(platform.clock.Now());
  TimerNow.OnTimer = [this] { TimerNowTimer(); };
  TimerUpgrade.OnTimer = [this] { TimerUpgradeTimer(); };
  RadioGroup1.OnClick = [this] { RadioGroup1Click(); };
  bsSkinComboBox1.OnClick = [this] { bsSkinComboBox1Click(); };
  bsSkinDateEdit1.OnChange = [this] { bsSkinDateEdit1Change(); };
  bsSkinTimeEdit1.OnChange = [this] { bsSkinTimeEdit1Change(); };
  RadioGroup2.OnClick = [this] { RadioGroup2Click(); };
  ButtonAdd.OnClick = [this] { ButtonAddClick(); };
  bsTrayIcon1.OnClick = [this] { TrayClick(); };
  bsTrayIcon1.OnBalloonHintClick = [this] { bsTrayIcon1BalloonHintClick(); };
  Form1.OnActivate = [this] { FormActivate(); };
  Form1.OnResume = [this] { TickAfterClockJump(); };
  Form1.OnTimeChange = [this] { TickAfterClockJump(); };
  TaskList.OnContextMenu = [this] { TaskListContextMenu(); };
  bsSkinComboBoxEx1.SetImages(&ImageListJinCheng);

  AttachMirrors(Form1, platform.mirrors);
  bsSkinMessage1.AttachMirrors(platform.mirrors);
  FormCreate();
  // The icon is in the tray before the window first shows.
  bsTrayIcon1.AddToTray();
}

void TForm1::FormCreate() {
  const std::string programFile = platform.files.ProgramFilePath();
  state.AppPath = DirectoryOf(programFile);
  state.AppVersion = GetFileVersionString(platform.versionResource, programFile);
  state.ExeFileName = "Dusk.exe";
  state.AppTitle = "Lumo定时关机";
  state.UpdateInfoUrl = "http://" + updateServerHost_ + "/v/dusk.html";
  state.NewVersionUrl.clear();
  state.Check = std::make_shared<UpdateCheck>();
  state.Check->AppPath = state.AppPath;
  state.Check->AppVersion = state.AppVersion;
  state.Check->UpdateInfoUrl = state.UpdateInfoUrl;
  StartUpdateCheck(state.Check, platform.threads,
                   {platform.download, platform.files, platform.clock, platform.codePage});
  state.RelaunchPending = false;
  state.RelaunchPending = relocation_.RelocateToFixedName(programFile, state.AppPath,
                                                          state.ExeFileName, platform.clock.Now());
  SettleStartupFiles(*state.Check);
  LayoutMainWindow();
}

void TForm1::LayoutMainWindow() {
  Form1.SetText(state.AppTitle + "     " + state.AppVersion);
  Form1.SetWidth(780);
  Form1.SetHeight(550);
  PanelTop.SetBackColor(ColorRef::Of(kBandBlue));
  PanelTop.SetBounds({0, 0, 780, 60});
  Title.SetLeft(10);
  Title.SetTop(10);
  const DateTime now = platform.clock.Now();
  LabelNow.SetText(MomentText(platform.clock, now));
  LabelNow.SetTextColor(ColorRef::Of(kWhite));
  PanelLeft.SetBounds({0, 61, 300, 460});
  PanelRight.SetBounds({300, 60, 480, 460});
  TaskList.SetBounds({15, 15, 430, 420});
  SetTimeEditTwentyMinutesAhead(now);
  GroupBox1.SetLeft(20);
  GroupBox1.SetTop(20);
  GroupBox1.SetHeight(140);
  RadioGroup1.SetBounds({20, 20, 210, 40});
  Panel1.SetBounds({20, 70, 210, 60});
  Panel2.Hide();
  Panel2.SetBounds({20, 70, 210, 40});
  RadioGroup2.SetLeft(20);
  RadioGroup2.SetTop(GroupBox1.Top() + GroupBox1.Height() + 20);
  LabelTips.SetTop(RadioGroup2.Top() + RadioGroup2.Height() + 20);
  LabelTips.SetLeft(20);
  LabelTips.SetTextColor(ColorRef::Of(kBandBlue));
  EditInfo.SetTop(LabelTips.Top() + LabelTips.Height() + 10);
  EditInfo.SetLeft(20);
  EditInfo.SetText("");
  LabelTips.Hide();
  EditInfo.Hide();
  bsSkinComboBoxEx1.Hide();
  bsSkinComboBoxEx1.SetLeft(20);
  bsSkinComboBoxEx1.SetTop(EditInfo.Top());
  ButtonAdd.SetLeft(20);
  PlaceButtonAdd(false);
  tasks_.emplace(TaskList, bsTrayIcon1, platform.clock);
}

void TForm1::TimerNowTimer() {
  // A shell call inside an action may dispatch messages, and with them this
  // timer; the tick already running owns the head task.
  if (tickRunning_) return;
  tickRunning_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{tickRunning_};

  const DateTime now = platform.clock.Now();
  LabelNow.SetText(MomentText(platform.clock, now));
  if (!state.RelaunchPending && relocation_.RetryCopy(now)) state.RelaunchPending = true;
  if (state.RelaunchPending) {
    // Once: a resume or a clock change may still tick before the loop ends.
    state.RelaunchPending = false;
    (void)platform.shell.Execute({Form1.Handle(), "open", state.AppPath + state.ExeFileName, "",
                                  std::nullopt, Shell::kShowNormal});
    platform.windowSystem.Terminate();
  }
  if (!taskActions_) throw std::logic_error("no task actions");
  DueTaskRunner(*tasks_, *taskActions_, Title, bsTrayIcon1, platform.clock, state.AppTitle + "：",
                warnedInThisSecond_)
      .Run(now);
  if (downloadedProgramWaiting_ && tasks_->Queue().Empty()) HandOverToDownloadedProgram();
}

void TForm1::TimerUpgradeTimer() {
  if (!state.Check->UpdateCheckDone.load(std::memory_order_acquire)) return;
  TimerUpgrade.SetEnabled(false);  // for good: one check per run
  state.NewVersionUrl = state.Check->UpdateCandidateUrl;
  state.NewVersion = state.Check->UpdateCandidateVersion;
  state.NewVersionSignature = state.Check->UpdateCandidateSignature;
  if (state.NewVersionUrl.empty()) return;
  upForm_->UpForm.Show();
  upForm_->UpForm.BringToFront();
  platform.download.StartToFile(
      UpdateRequestUrl(state.NewVersionUrl, DecodeDateTime(platform.clock.Now())),
      state.AppPath + "up" + state.ExeFileName + kDownloadSuffix, kProgramDownloadMaxBytes, *this);
}

void TForm1::DownloadProgress(std::uint32_t received, std::uint32_t total) {
  upForm_->OnDownloadProgress(received, total, state.AppTitle);
}

void TForm1::DownloadFinished(bool succeeded) {
  const std::string program = state.AppPath + "up" + state.ExeFileName;
  if (!succeeded || !AcceptDownloadedProgram(program + kDownloadSuffix, program)) {
    (void)platform.files.Delete(program + kDownloadSuffix);
    upForm_->UpForm.Hide();  // silently: the next start checks again
    return;
  }
  downloadedProgramWaiting_ = true;
  if (tasks_->Queue().Empty()) HandOverToDownloadedProgram();
}

bool TForm1::AcceptDownloadedProgram(const std::string& download, const std::string& program) {
  // Only what the project signed, of the version the server named, and newer
  // than this program: an old signed program offered as new is refused too.
  if (!IsSignedByProject(download, state.NewVersionSignature, platform.signatures)) return false;
  const std::string version = GetFileVersionString(platform.versionResource, download);
  if (version != state.NewVersion || !IsNewerVersion(state.AppVersion, version)) return false;
  return platform.files.MoveReplacing(download, program);
}

void TForm1::HandOverToDownloadedProgram() {
  downloadedProgramWaiting_ = false;
  (void)platform.shell.Execute({Form1.Handle(), "open", state.AppPath + "up" + state.ExeFileName,
                                "", std::nullopt, Shell::kShowNormal});
  platform.windowSystem.Terminate();
}

void TForm1::N1Click() { tasks_->RemoveSelected(); }

void TForm1::TaskListContextMenu() {
  const int chosen = platform.windowSystem.ShowPopupMenu(Form1.Handle(), {{"删除选中的任务", ""}});
  if (chosen == 0) N1Click();
}

void TForm1::SetTimeEditTwentyMinutesAhead(DateTime now) {
  // The time of day only: past midnight it wraps, and the date stays.
  const CalendarTime ahead = DecodeDateTime(now + 20.0 / kMinutesPerDay);
  bsSkinTimeEdit1.SetTimeOfDay(ahead.hour, ahead.minute, ahead.second);
}

void TForm1::PlaceButtonAdd(bool belowParameterField) {
  ButtonAdd.SetTop(belowParameterField ? EditInfo.Top() + EditInfo.Height() + 20
                                       : RadioGroup2.Top() + RadioGroup2.Height() + 20);
}

void TForm1::RadioGroup1Click() {
  if (RadioGroup1.ItemIndex() == 1) {
    Panel1.Hide();
    Panel2.Show();
    return;
  }
  SetTimeEditTwentyMinutesAhead(platform.clock.Now());
  Panel2.Hide();
  Panel1.Show();
}

void TForm1::bsSkinComboBox1Click() {
  bsSkinSpinEdit1.SetValue(CountForUnit(bsSkinComboBox1.ItemIndex()));
}

void TForm1::bsSkinDateEdit1Change() { ShowExpiredHint(); }

void TForm1::bsSkinTimeEdit1Change() { ShowExpiredHint(); }

void TForm1::ShowExpiredHint() {
  const DateTime entered = EnteredMoment(bsSkinDateEdit1.Date(), bsSkinTimeEdit1.SecondOfDay());
  PanelTimeTip.SetVisible(IsPastMoment(entered, platform.clock.Now()));
}

void TForm1::RadioGroup2Click() {
  LabelTips.Hide();
  EditInfo.Hide();
  bsSkinComboBoxEx1.Hide();
  PlaceButtonAdd(false);
  EditInfo.SetText("");
  const auto kind = static_cast<TaskKind>(RadioGroup2.ItemIndex());
  const char* prompt = ParameterPrompt(kind);
  if (!prompt) return;
  LabelTips.SetText(prompt);
  LabelTips.Show();
  if (kind == TaskKind::CloseProgram) {
    bsSkinComboBoxEx1.Show();
  } else {
    EditInfo.Show();
  }
  PlaceButtonAdd(true);
  switch (kind) {
    case TaskKind::OpenProgram:
      ChooseProgramFile();
      break;
    case TaskKind::CloseProgram:
      ListProcesses();
      break;
    case TaskKind::OpenWebPage:
      EditInfo.SetText("http://");
      break;
    default:
      break;
  }
}

void TForm1::ChooseProgramFile() {
  const std::optional<std::string> chosen = platform.windowSystem.ChooseFile(
      {Form1.Handle(), "请选择要打开的软件", "应用程序(*.exe)", "*.exe", OpenDialog1FileName});
  if (!chosen) return;
  OpenDialog1FileName = *chosen;
  if (!HasProgramExtension(*chosen)) {
    (void)platform.windowSystem.ShowMessageBox(0, "这不是应用软件！", "Error",
                                               WindowSystem::kIconError);
    return;
  }
  EditInfo.SetText(*chosen);
}

void TForm1::ButtonAddClick() {
  const int kindIndex = RadioGroup2.ItemIndex();
  if (kindIndex < 0) {
    bsSkinMessage1.Show("Warning", "请选择执行任务的类型");
    return;
  }
  const DateTime now = platform.clock.Now();
  Task task;
  if (RadioGroup1.ItemIndex() == 1) {
    task.When = CountdownDueMoment(now, bsSkinSpinEdit1.Value(), bsSkinComboBox1.ItemIndex());
    task.IsCountdown = 1;
  } else {
    task.When = EnteredMoment(bsSkinDateEdit1.Date(), bsSkinTimeEdit1.SecondOfDay());
    if (IsPastMoment(task.When, now)) {
      (void)platform.windowSystem.ShowMessageBox(Form1.Handle(), "光阴似箭，设置的时间已经过去了。",
                                                 "添加定时任务错误", WindowSystem::kIconWarning);
      return;
    }
    task.IsCountdown = 0;
  }
  task.Kind = static_cast<TaskKind>(kindIndex);
  switch (task.Kind) {
    case TaskKind::CloseProgram:
      task.Param = CloseProgramParam(bsSkinComboBoxEx1.Text(), platform.codePage);
      break;
    case TaskKind::Alarm:
    case TaskKind::OpenProgram:
    case TaskKind::OpenWebPage:
      task.Param = EditInfo.Text();
      break;
    default:
      break;
  }
  tasks_->Add(std::move(task));
  // No handler runs: the prompt and the field stay until another kind is chosen.
  RadioGroup2.SetItemIndex(-1);
  EditInfo.SetText("");
}

void TForm1::ListProcesses() {
  GetProcess(platform.processes, bsSkinComboBoxEx1, ImageListJinCheng);
}

void TForm1::UseAlarmWindow(TForm3& tipForm) {
  tipForm_ = &tipForm;
  bsTrayIcon1.OnMainWindowHidden = [this] { tipForm_->LeaveWithMainWindow(); };
  bsTrayIcon1.OnMainWindowShown = [this] { tipForm_->ComeBackWithMainWindow(); };
}

void TForm1::ReshowAlarmWindow() {
  // Hidden and shown again: placed beside this window once more, and in front.
  if (!tipForm_ || !tipForm_->Showing()) return;
  tipForm_->Hide();
  tipForm_->Show();
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
  TimerNow.Restart();
}

void TForm1::bsTrayIcon1BalloonHintClick() {
  // Only the balloon that announced an alarm silences it: by then the alarm
  // has left the queue, so the queue's head says nothing about it.
  if (bsTrayIcon1.BalloonTitle() == kAlarmBalloonTitle) platform.sound.Stop();
}
