#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "language/language.h"
#include "main/program.h"
#include "storage/saved_task_list.h"
#include "tests/fakes/fake_platform.h"
#include "tests/host/running_program.h"

namespace {

constexpr std::uint16_t kChinesePrc = 0x0804;
constexpr std::uint16_t kChineseTaiwan = 0x0404;
constexpr std::uint16_t kEnglishUs = 0x0409;
constexpr std::uint16_t kJapanese = 0x0411;

// Every text the main window, its list, the tray hint and the tray menu show, by where it
// shows: what a user reads, apart from the values they typed and the clock's moments.
std::map<std::string, std::string> ShownTexts(Control& control) {
  std::map<std::string, std::string> texts;
  const std::string& name = control.Name();
  switch (control.Kind()) {
    case ControlKind::Form:
    case ControlKind::GroupBox:
    case ControlKind::Label:
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::ComboBox:
      texts[name] = control.Text();
      break;
    default:
      break;
  }
  if (const auto* group = dynamic_cast<const RadioGroup*>(&control)) {
    texts[name] = group->Text();
    for (std::size_t i = 0; i < group->Items().size(); ++i) {
      texts[name + "." + std::to_string(i)] = group->Items()[i];
      texts[name + ".hint" + std::to_string(i)] = group->ItemHint(static_cast<int>(i));
    }
  }
  if (const auto* combo = dynamic_cast<const ComboBox*>(&control)) {
    for (std::size_t i = 0; i < combo->Items().size(); ++i) {
      texts[name + "." + std::to_string(i)] = combo->Items()[i];
    }
  }
  if (const auto* picker = dynamic_cast<const ComboBoxEx*>(&control)) {
    texts[name + ".hint"] = picker->Hint();
  }
  if (const auto* list = dynamic_cast<const TaskListBox*>(&control)) {
    for (std::size_t i = 0; i < list->Rows().size(); ++i) {
      texts[name + "." + std::to_string(i)] = list->Rows()[i].caption;
    }
  }
  for (Control* child : control.Children()) texts.merge(ShownTexts(*child));
  return texts;
}

// The tray menu opened and dismissed, as the user would see it now.
const std::vector<WindowSystem::MenuItem>& TrayMenu(FakePlatform& platform) {
  platform.windowSystem.menuChoice = -1;
  platform.notificationArea.Raise(NotificationArea::Mouse::RightUp);
  return platform.windowSystem.menus.back();
}

std::map<std::string, std::string> ShownTexts(FakePlatform& platform, TForm1& form) {
  std::map<std::string, std::string> texts = ShownTexts(form.Form1);
  texts["tray hint"] = form.bsTrayIcon1.Hint();
  int entry = 0;
  for (const WindowSystem::MenuItem& item : TrayMenu(platform)) {
    texts["tray menu " + std::to_string(entry++)] = item.text;
    for (const WindowSystem::MenuItem& subitem : item.submenu) {
      texts["tray menu " + std::to_string(entry++)] = subitem.text;
    }
  }
  return texts;
}

class LanguageSwitchTest : public ::testing::Test {
 protected:
  // The language is the process's: the tests after these read Chinese.
  void TearDown() override {
    program.reset();
    SetActiveLanguage(Language::Chinese);
  }
  void StartProgram() {
    program = std::make_unique<Program>(platform.Set(), kTestUpdateHost);
    program->Start();
  }
  [[nodiscard]] std::string SettingsPath() const {
    return TaskListFolder(platform.profileFiles.RoamingAppDataFolder()) + "\\settings.txt";
  }
  [[nodiscard]] std::string AddButtonText() const { return program->Form1.ButtonAdd.Text(); }
  [[nodiscard]] bool ChooseFromTrayMenu(std::string_view text) {
    return RunningProgram::ChooseFromTrayMenu(platform, std::string(text));
  }

  FakePlatform platform{At(10, 0, 0)};
  std::unique_ptr<Program> program;
};

TEST_F(LanguageSwitchTest, SpeaksTheDisplayLanguageUnlessTheUserChoseOne) {
  struct Case {
    std::uint16_t displayLanguage;
    const char* settings;
    Language expected;
  };
  const Case kCases[] = {
      {kChinesePrc, nullptr, Language::Chinese},
      {kChineseTaiwan, nullptr, Language::Chinese},
      {kEnglishUs, nullptr, Language::English},
      {kJapanese, nullptr, Language::English},
      {kEnglishUs, "language=zh\r\n", Language::Chinese},
      {kChinesePrc, "language=en\r\n", Language::English},
      {kChinesePrc, "language=auto\r\n", Language::Chinese},
      // A word no version of ours wrote: as Windows speaks.
      {kJapanese, "language=fr\r\n", Language::English},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::to_string(c.displayLanguage) + " " + (c.settings ? c.settings : "no file"));
    program.reset();
    platform.displayLanguage.langId = c.displayLanguage;
    platform.profileFiles.contents.erase(SettingsPath());
    if (c.settings) platform.profileFiles.contents[SettingsPath()] = c.settings;
    StartProgram();
    EXPECT_EQ(ActiveLanguage(), c.expected);
    EXPECT_EQ(AddButtonText(), TextIn(c.expected, TextId::AddButton));
    EXPECT_TRUE(program->Form1.Form1.Text().starts_with(TextIn(c.expected, TextId::AppTitle)));
    EXPECT_TRUE(ChooseFromTrayMenu(TextIn(c.expected, TextId::StartWithWindows)));
  }
}

TEST_F(LanguageSwitchTest, TheMenuChoiceHoldsAtOnceAndAfterARestart) {
  platform.displayLanguage.langId = kEnglishUs;
  StartProgram();
  ASSERT_EQ(AddButtonText(), "Add task");

  ASSERT_TRUE(ChooseFromTrayMenu("中文"));
  EXPECT_EQ(AddButtonText(), "添加任务");
  // The windows built after the main window switch with it.
  EXPECT_EQ(program->TipForm.bsSkinButton1.Text(), TextIn(Language::Chinese, TextId::AlarmDismiss));
  EXPECT_NE(platform.profileFiles.contents[SettingsPath()].find("\nlanguage=zh\r\n"),
            std::string::npos);
  // The menu marks the choice in use, in the language it brought.
  const WindowSystem::MenuItem& menu = TrayMenu(platform).end()[-3];
  ASSERT_EQ(menu.text, "语言 / Language");
  ASSERT_EQ(menu.submenu.size(), 3u);
  EXPECT_EQ(menu.submenu[0].text, "自动（跟随Windows）");
  EXPECT_FALSE(menu.submenu[0].checked);
  EXPECT_TRUE(menu.submenu[1].checked);
  EXPECT_TRUE(menu.submenu[1].radio);

  program.reset();
  StartProgram();
  EXPECT_EQ(AddButtonText(), "添加任务");

  // Back to following Windows, which speaks English.
  ASSERT_TRUE(ChooseFromTrayMenu("自动（跟随Windows）"));
  EXPECT_EQ(AddButtonText(), "Add task");
  program.reset();
  StartProgram();
  EXPECT_EQ(AddButtonText(), "Add task");
}

TEST_F(LanguageSwitchTest, SwitchingShowsEveryTextAsAStartInThatLanguageWould) {
  StartProgram();
  RunningProgram::EnterOnPanel(program->Form1, At(10, 30, 0), TaskKind::TurnOff, "");
  RunningProgram::EnterOnPanel(program->Form1, At(11, 0, 0), TaskKind::Alarm, "喝水");
  program->Form1.RadioGroup2.UserSelect(static_cast<int>(TaskKind::OpenWebPage));
  const std::map<std::string, std::string> chinese = ShownTexts(platform, program->Form1);

  ASSERT_TRUE(ChooseFromTrayMenu("English"));
  const std::map<std::string, std::string> switched = ShownTexts(platform, program->Form1);
  EXPECT_EQ(switched.at("ButtonAdd"), "Add task");
  EXPECT_EQ(switched.at("GroupBox1"), "  Timing  ");
  EXPECT_EQ(switched.at("RadioGroup1.1"), "Countdown");
  EXPECT_EQ(switched.at("bsSkinComboBox1.2"), "days");
  EXPECT_NE(switched, chinese);

  // Started anew in English, with the same tasks, the same kind chosen, at the same moment.
  program.reset();
  StartProgram();
  program->Form1.RadioGroup2.UserSelect(static_cast<int>(TaskKind::OpenWebPage));
  program->Form1.TimerNow.Fire();
  EXPECT_EQ(ShownTexts(platform, program->Form1), switched);
}

}  // namespace
