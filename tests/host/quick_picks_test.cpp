#include "main/quick_picks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "main/program.h"
#include "scheduler/tick.h"
#include "tests/fakes/fake_platform.h"

// The tray menu's quick picks, the entry panel's choices kept across a
// restart, and the time left in the tray hint.
namespace {

class QuickPicksTest : public testing::Test {
 protected:
  QuickPicksTest() : platform(At(14, 0, 0)) { Start(); }

  void Start() {
    program.reset();
    program = std::make_unique<Program>(platform.Set(), kTestUpdateHost, actions);
    program->Start();
  }
  TForm1& Form() { return program->Form1; }

  // A countdown entered on the panel and added.
  void AddCountdown(int count, int unit, TaskKind kind, const std::string& param = "") {
    TForm1& f = Form();
    f.RadioGroup1.UserSelect(1);
    f.bsSkinComboBox1.UserSelect(unit);
    f.bsSkinSpinEdit1.UserSetValue(count);
    f.RadioGroup2.UserSelect(static_cast<int>(kind));
    if (!param.empty()) f.EditInfo.UserEdit(param);
    f.ButtonAdd.UserClick();
  }

  // The quick picks' labels, as the tray menu shows them now.
  std::vector<std::string> Picks() {
    platform.windowSystem.menuChoice = -1;
    platform.windowSystem.menuChoiceText.clear();
    platform.notificationArea.Raise(NotificationArea::Mouse::RightUp);
    std::vector<std::string> labels;
    for (const WindowSystem::MenuItem& item : platform.windowSystem.menus.back()) {
      if (item.text != "快速定时") continue;
      for (const auto& pick : item.submenu) labels.push_back(pick.text);
      return labels;
    }
    ADD_FAILURE() << "no 快速定时 in the tray menu";
    return labels;
  }

  void Choose(const std::string& label) {
    platform.windowSystem.menuChoiceText = label;
    platform.notificationArea.Raise(NotificationArea::Mouse::RightUp);
  }

  const TaskQueue& Queue() { return Form().Tasks().Queue(); }

  FakePlatform platform;
  RecordingTaskActions actions{platform.clock};
  std::unique_ptr<Program> program;
};

}  // namespace

TEST_F(QuickPicksTest, APickAddsItsTaskAndTheHeadTaskCanBePutOff) {
  EXPECT_EQ(Picks(), (std::vector<std::string>{"30分钟后关机", "1小时后关机", "2小时后关机",
                                               "今晚23:00关机"}));
  Choose("1小时后关机");
  Choose("今晚23:00关机");
  ASSERT_EQ(Queue().Count(), 2u);
  EXPECT_EQ(Form().TaskList.Rows().size(), 2u);
  EXPECT_EQ(CompareDateTime(Queue().At(0).When, At(15, 0, 0)), 0);
  EXPECT_EQ(CompareDateTime(Queue().At(1).When, At(23, 0, 0)), 0);
  EXPECT_EQ(Form().Title.Text(), "1小时0分钟后关机。     ");

  EXPECT_EQ(Picks().back(), "推迟10分钟");
  Choose("推迟10分钟");
  EXPECT_EQ(CompareDateTime(Queue().Head().When, At(15, 10, 0)), 0);
  EXPECT_EQ(Form().Title.Text(), "1小时10分钟后关机。     ");
}

TEST_F(QuickPicksTest, TheLastThreeDistinctEntriesOfThePanelBecomePicks) {
  AddCountdown(45, 0, TaskKind::Alarm, "喝水");
  AddCountdown(2, 1, TaskKind::Restart);
  AddCountdown(45, 0, TaskKind::Alarm, "喝茶");  // the same entry again: moves to the top
  AddCountdown(1, 2, TaskKind::Lock);
  AddCountdown(10, 0, TaskKind::Sleep);
  Start();
  const std::vector<std::string> picks = Picks();
  EXPECT_EQ(std::vector<std::string>(picks.begin() + 4, picks.end()),
            (std::vector<std::string>{"10分钟后睡眠", "1天后锁定", "45分钟后闹钟", "推迟10分钟"}));

  Form().Tasks().RemoveAll();
  Choose("45分钟后闹钟");
  ASSERT_EQ(Queue().Count(), 1u);
  EXPECT_EQ(Queue().Head().Param, "喝茶");
  EXPECT_EQ(CompareDateTime(Queue().Head().When, At(14, 45, 0)), 0);
}

TEST_F(QuickPicksTest, ThePanelComesBackAsTheUserLeftItAtTheLastAdd) {
  AddCountdown(2, 1, TaskKind::Alarm, "喝水");
  Start();
  TForm1& f = Form();
  EXPECT_EQ(f.RadioGroup1.ItemIndex(), 1);
  EXPECT_TRUE(f.Panel2.Visible());
  EXPECT_FALSE(f.Panel1.Visible());
  EXPECT_EQ(f.bsSkinComboBox1.ItemIndex(), 1);
  EXPECT_EQ(f.bsSkinSpinEdit1.Value(), 2);
  EXPECT_EQ(f.RadioGroup2.ItemIndex(), static_cast<int>(TaskKind::Alarm));
  EXPECT_TRUE(f.EditInfo.Visible());
  EXPECT_EQ(f.LabelTips.Text(), "请输入提醒的信息：");

  // A series at a time of day: the mode and the repeat come back.
  f.RadioGroup1.UserSelect(0);
  f.ComboBoxRepeat.UserSelect(static_cast<int>(RepeatKind::Weekdays));
  f.bsSkinTimeEdit1.UserSetTimeOfDay(23, 0, 0);
  f.RadioGroup2.UserSelect(static_cast<int>(TaskKind::LogOff));
  f.ButtonAdd.UserClick();
  ASSERT_EQ(Queue().Count(), 2u);
  Start();
  EXPECT_EQ(Form().RadioGroup1.ItemIndex(), 0);
  EXPECT_TRUE(Form().Panel1.Visible());
  EXPECT_EQ(Form().ComboBoxRepeat.ItemIndex(), static_cast<int>(RepeatKind::Weekdays));
  EXPECT_EQ(Form().RadioGroup2.ItemIndex(), static_cast<int>(TaskKind::LogOff));
  EXPECT_FALSE(Form().EditInfo.Visible());
  EXPECT_EQ(Picks().at(4), "23:00注销");
}

TEST(QuickPickTest, ARecentEntryReadsBackOnlyAsACommandThatRuns) {
  const RecentEntry entry{true, "45m", TaskKind::Alarm, "喝|水"};
  const auto read = ReadRecentEntry(RecentEntryValue(entry));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->param, "喝|水");
  EXPECT_EQ(read->amount, "45m");
  static const char* const kDamaged[] = {
      "",
      "countdown|45m|alarm",    // no parameter field
      "countdown|45x|alarm|",   // no duration
      "at|25:00:00|shutdown|",  // no time of day
      "soon|45m|alarm|",        // no timing
      "countdown|45m|boil|",    // no kind
      "countdown|45m|open|",    // a program to open, none named
  };
  for (const char* value : kDamaged) {
    SCOPED_TRACE(value);
    EXPECT_FALSE(ReadRecentEntry(value).has_value());
  }
}

TEST(TimeLeftTest, SaysWholeMinutesHoursAndDays) {
  static const struct {
    std::int64_t seconds;
    TaskKind kind;
    const char* text;
  } kCases[] = {
      {0, TaskKind::TurnOff, "还有不到1分钟关机"},
      {59, TaskKind::Alarm, "还有不到1分钟闹钟响起"},
      {60, TaskKind::TurnOff, "还有1分钟关机"},
      {3599, TaskKind::Lock, "还有59分钟锁定电脑"},
      {3600, TaskKind::TurnOff, "还有1小时关机"},
      {4320, TaskKind::TurnOff, "还有1小时12分钟关机"},
      {86399, TaskKind::Restart, "还有23小时59分钟重启电脑"},
      {86400, TaskKind::Sleep, "还有1天进入睡眠"},
      {90061, TaskKind::OpenWebPage, "还有1天1小时打开网页"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(TimeLeftText(c.seconds, c.kind), c.text);
  }
}

TEST_F(QuickPicksTest, TheTrayHintTellsTheTimeLeftAboveTheRow) {
  AddCountdown(72, 0, TaskKind::TurnOff);
  EXPECT_EQ(platform.notificationArea.tip, "还有1小时12分钟关机\r\n关机：2026/12/10 15:12:00");
  platform.clock.AdvanceSeconds(61);
  Form().TimerNow.Fire();
  EXPECT_EQ(platform.notificationArea.tip, "还有1小时10分钟关机\r\n关机：2026/12/10 15:12:00");
  // Gone: the hint keeps the row, as it always has, but no time left.
  Form().RunCommand({"cancel", "all"});
  EXPECT_EQ(platform.notificationArea.tip, "关机：2026/12/10 15:12:00");
}

TEST(QuickPickTest, TonightIsOfferedOnlyUntilElevenPm) {
  static const struct {
    DateTime now;
    bool offered;
  } kCases[] = {
      {At(0, 0, 0), true},   {At(22, 59, 59), true},  {At(23, 0, 0), true},
      {At(23, 0, 1), false}, {At(23, 59, 59), false},
  };
  for (const auto& c : kCases) {
    const CalendarTime at = DecodeDateTime(c.now);
    SCOPED_TRACE(std::to_string(at.hour) + ":" + std::to_string(at.minute) + ":" +
                 std::to_string(at.second));
    const std::vector<QuickPick> picks = QuickPicks({}, nullptr, c.now);
    const bool offered = std::any_of(picks.begin(), picks.end(), [](const QuickPick& pick) {
      return pick.label == "今晚23:00关机";
    });
    EXPECT_EQ(offered, c.offered);
  }
}
