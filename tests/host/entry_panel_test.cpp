#include <gtest/gtest.h>

#include "main/program.h"
#include "tests/fakes/fake_platform.h"

// The entry panel driven the way a user drives it, on the fake platform.
class EntryPanelTest : public testing::Test {
 protected:
  EntryPanelTest()
      : platform(At(14, 0, 0)), program(platform.Set(), kTestUpdateHost), f(program.Form1) {
    program.Start();
  }

  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (const auto& row : f.TaskList.Rows()) rows.push_back(row.caption);
    return rows;
  }

  FakePlatform platform;
  Program program;
  TForm1& f;
};

TEST_F(EntryPanelTest, EachKindShowsItsPromptAndFieldAndMovesTheButton) {
  platform.windowSystem.chosenFile = "C:\\Tools\\run.exe";
  struct Case {
    int kind;
    const char* prompt;  // nullptr: no prompt, no field
    bool picker;
    const char* field;
  };
  static const Case kCases[] = {
      {3, "请输入提醒的信息：", false, ""},
      {0, nullptr, false, ""},
      {4, "您选择打开的软件：", false, "C:\\Tools\\run.exe"},
      {5, "选择你要关闭的软件：", true, ""},
      {1, nullptr, false, ""},
      {6, "请输入要打开的网页：", false, "http://"},
      {2, nullptr, false, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.kind);
    f.RadioGroup2.UserSelect(c.kind);
    EXPECT_EQ(f.LabelTips.Visible(), c.prompt != nullptr);
    if (c.prompt) {
      EXPECT_EQ(f.LabelTips.Text(), c.prompt);
    }
    EXPECT_EQ(f.EditInfo.Visible(), c.prompt && !c.picker);
    EXPECT_EQ(f.bsSkinComboBoxEx1.Visible(), c.picker);
    EXPECT_EQ(f.EditInfo.Text(), c.field);
    EXPECT_EQ(f.ButtonAdd.Top(), c.prompt ? 362 + 21 + 20 : 337);
  }
  ASSERT_EQ(platform.windowSystem.fileDialogs.size(), 1u);
  const auto& dialog = platform.windowSystem.fileDialogs[0];
  EXPECT_EQ(dialog.title, "请选择要打开的软件");
  EXPECT_EQ(dialog.filterDescription, "应用程序(*.exe)");
  EXPECT_EQ(dialog.filterPattern, "*.exe");
}

TEST_F(EntryPanelTest, TheFileDialogRefusesWhatIsNotAProgramAndRemembersTheLastChoice) {
  platform.windowSystem.chosenFile = "C:\\docs\\readme.txt";
  f.RadioGroup2.UserSelect(4);
  EXPECT_EQ(f.EditInfo.Text(), "");
  ASSERT_EQ(platform.windowSystem.boxes.size(), 1u);
  EXPECT_EQ(platform.windowSystem.boxes[0].text, "这不是应用软件！");
  EXPECT_EQ(platform.windowSystem.boxes[0].caption, "Error");
  EXPECT_EQ(platform.windowSystem.boxes[0].icon, WindowSystem::MessageBoxIcon::Error);

  platform.windowSystem.chosenFile.reset();  // cancelled
  f.RadioGroup2.UserSelect(3);
  f.RadioGroup2.UserSelect(4);
  EXPECT_EQ(f.EditInfo.Text(), "");
  EXPECT_EQ(platform.windowSystem.fileDialogs.back().initialFile, "C:\\docs\\readme.txt");
}

TEST_F(EntryPanelTest, AddsTasksOfEveryKindInDueOrder) {
  // Countdown: an alarm in 30 minutes and a restart in one hour.
  f.RadioGroup1.UserSelect(1);
  EXPECT_FALSE(f.Panel1.Visible());
  EXPECT_TRUE(f.Panel2.Visible());
  f.bsSkinComboBox1.UserSelect(0);
  EXPECT_EQ(f.bsSkinSpinEdit1.Value(), 30);
  f.RadioGroup2.UserSelect(3);
  f.EditInfo.UserEdit("开会");
  f.ButtonAdd.UserClick();
  f.bsSkinSpinEdit1.UserSetValue(7);
  f.bsSkinComboBox1.UserSelect(1);
  EXPECT_EQ(f.bsSkinSpinEdit1.Value(), 1);
  f.RadioGroup2.UserSelect(1);
  f.ButtonAdd.UserClick();

  // Date and time: the rest, today at 14:10:00 and later.
  f.RadioGroup1.UserSelect(0);
  EXPECT_EQ(f.bsSkinTimeEdit1.Text(), "14:20:00");
  const auto addAt = [&](int kind, int hour, int minute) {
    f.bsSkinTimeEdit1.UserSetTimeOfDay(hour, minute, 0);
    f.RadioGroup2.UserSelect(kind);
    f.ButtonAdd.UserClick();
  };
  addAt(0, 16, 0);
  addAt(2, 14, 10);
  platform.windowSystem.chosenFile = "C:\\Tools\\run.exe";
  addAt(4, 15, 1);
  f.bsSkinTimeEdit1.UserSetTimeOfDay(15, 5, 0);
  f.RadioGroup2.UserSelect(5);
  f.bsSkinComboBoxEx1.AddItem({"记事本|notepad.exe", 0});
  f.bsSkinComboBoxEx1.UserSelect(0);
  f.ButtonAdd.UserClick();
  f.bsSkinTimeEdit1.UserSetTimeOfDay(15, 30, 0);
  f.RadioGroup2.UserSelect(6);
  f.ButtonAdd.UserClick();

  EXPECT_EQ(Rows(), (std::vector<std::string>{
                        "注销：2026/12/10 14:10:00",
                        "闹钟：开会\r\n2026/12/10 14:30:00",
                        "重启电脑：2026/12/10 15:00:00",
                        "打开软件：C:\\Tools\\run.exe\r\n2026/12/10 15:01:00",
                        "关闭软件：notepad.exe\r\n2026/12/10 15:05:00",
                        "打开网页：http://\r\n2026/12/10 15:30:00",
                        "关机：2026/12/10 16:00:00",
                    }));
  EXPECT_EQ(platform.notificationArea.tip, "还有10分钟注销\r\n注销：2026/12/10 14:10:00");
}

TEST_F(EntryPanelTest, AnAddResetsTheKindAndTheFieldOnly) {
  f.RadioGroup2.UserSelect(3);
  f.EditInfo.UserEdit("tea");
  f.ButtonAdd.UserClick();
  EXPECT_EQ(f.RadioGroup2.ItemIndex(), -1);
  EXPECT_EQ(f.EditInfo.Text(), "");
  EXPECT_TRUE(f.LabelTips.Visible());
  EXPECT_TRUE(f.EditInfo.Visible());
  EXPECT_EQ(f.ButtonAdd.Top(), 403);
  EXPECT_EQ(f.RadioGroup1.ItemIndex(), 0);
  // The same kind is a change again, and its handler runs.
  f.RadioGroup2.UserSelect(6);
  f.RadioGroup2.UserSelect(6);
  EXPECT_EQ(f.EditInfo.Text(), "http://");
}

TEST_F(EntryPanelTest, RefusesAnAddWithoutAKindOrInThePast) {
  f.ButtonAdd.UserClick();
  EXPECT_EQ(platform.windowSystem.modalRuns, 1);
  EXPECT_EQ(f.bsSkinMessage1.Window().Text(), "Warning");
  EXPECT_EQ(f.bsSkinMessage1.Message().Text(), "请选择执行任务的类型");
  EXPECT_EQ(f.bsSkinMessage1.Window().Left(), (1280 - f.bsSkinMessage1.Window().Width()) / 2);
  EXPECT_FALSE(f.bsSkinMessage1.Window().Visible());

  f.RadioGroup2.UserSelect(0);
  f.bsSkinTimeEdit1.UserSetTimeOfDay(13, 59, 59);
  EXPECT_TRUE(f.PanelTimeTip.Visible());
  f.ButtonAdd.UserClick();
  f.ButtonAdd.UserClick();
  ASSERT_EQ(platform.windowSystem.boxes.size(), 2u);
  EXPECT_EQ(platform.windowSystem.boxes[0].text, "光阴似箭，设置的时间已经过去了。");
  EXPECT_EQ(platform.windowSystem.boxes[0].caption, "添加定时任务错误");
  EXPECT_EQ(platform.windowSystem.boxes[0].icon, WindowSystem::MessageBoxIcon::Warning);
  EXPECT_TRUE(f.Tasks().Queue().Empty());
  EXPECT_EQ(f.RadioGroup2.ItemIndex(), 0);

  // Now, to the millisecond, is not past: performed in the next tick.
  f.bsSkinTimeEdit1.UserSetTimeOfDay(14, 0, 0);
  EXPECT_FALSE(f.PanelTimeTip.Visible());
  f.ButtonAdd.UserClick();
  EXPECT_EQ(f.Tasks().Queue().Count(), 1u);
}

TEST_F(EntryPanelTest, YesterdayShowsTheExpiredHintAtOnce) {
  f.bsSkinDateEdit1.UserSetDate(At(0, 0, 0, 9));
  EXPECT_TRUE(f.PanelTimeTip.Visible());
  f.bsSkinDateEdit1.UserSetDate(At(0, 0, 0, 10));
  EXPECT_FALSE(f.PanelTimeTip.Visible());
}

// With a repeat, a moment already past today starts the series at its next
// occurrence; the countdown mode ignores the choice, as it hides it.
TEST_F(EntryPanelTest, ARepeatStartsAtTheNextOccurrenceOfTheEnteredTime) {
  struct Case {
    int repeatIndex;
    int hour;
    int dateDay;  // of December 2026; the 10th is a Thursday
    const char* caption;
  };
  static const Case kCases[] = {
      {1, 15, 10, "关机：每天 15:00\r\n2026/12/10 15:00:00"},
      {1, 13, 10, "关机：每天 13:00\r\n2026/12/11 13:00:00"},
      {2, 13, 12, "关机：工作日 13:00\r\n2026/12/14 13:00:00"},
      {3, 13, 10, "关机：每周四 13:00\r\n2026/12/17 13:00:00"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.caption);
    f.ComboBoxRepeat.UserSelect(c.repeatIndex);
    f.bsSkinDateEdit1.UserSetDate(At(0, 0, 0, c.dateDay));
    f.bsSkinTimeEdit1.UserSetTimeOfDay(c.hour, 0, 0);
    EXPECT_FALSE(f.PanelTimeTip.Visible());
    f.RadioGroup2.UserSelect(0);
    f.ButtonAdd.UserClick();
    EXPECT_TRUE(platform.windowSystem.boxes.empty());
    ASSERT_EQ(Rows().size(), 1u);
    EXPECT_EQ(Rows()[0], c.caption);
    f.Tasks().RemoveHead();
  }
  f.ComboBoxRepeat.UserSelect(0);
  EXPECT_TRUE(f.PanelTimeTip.Visible());  // 13:00 today is past again

  f.ComboBoxRepeat.UserSelect(1);
  f.RadioGroup1.UserSelect(1);
  f.RadioGroup2.UserSelect(0);
  f.ButtonAdd.UserClick();
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0], "关机：2026/12/10 14:01:00");
}
