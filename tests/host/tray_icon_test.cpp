#include "widgets/tray_icon.h"

#include <gtest/gtest.h>

#include "startup/start_with_windows.h"
#include "tests/fakes/fake_platform.h"
#include "widgets/tray_frame.h"

namespace {

using Mouse = NotificationArea::Mouse;

class TrayIconTest : public testing::Test {
 protected:
  TrayIconTest()
      : platform(At(9, 0, 0)),
        form("Form1", {0, 0, 780, 550}, Form::Frame::Main),
        tray(platform.notificationArea, form, 500) {
    tray.OnClick = [this] { events += "C"; };
    tray.OnDblClick = [this] { events += "D"; };
  }

  FakePlatform platform;
  Form form;
  TrayIcon tray;
  std::string events;
};

}  // namespace

TEST_F(TrayIconTest, TurnsPressesIntoClicksWithTheDoubleClickTime) {
  // Steps: d = press, u = release, 2 = double click, w = the wait ends.
  struct Case {
    const char* steps;
    const char* events;
  };
  static const Case kCases[] = {
      {"du", ""},        // a click waits for the double-click time
      {"duw", "C"},      // released in time: click when the wait ends
      {"dwu", "C"},      // held past the wait: click at the release
      {"dw", ""},        // still held
      {"du2u", "D"},     // a double click raises no click
      {"du2uw", "D"},    // not even when a stale wait ends
      {"duwduw", "CC"},  // two slow clicks
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.steps);
    events.clear();
    for (const char* step = c.steps; *step; ++step) {
      switch (*step) {
        case 'd':
          platform.notificationArea.Raise(Mouse::LeftDown);
          break;
        case 'u':
          platform.notificationArea.Raise(Mouse::LeftUp);
          break;
        case '2':
          platform.notificationArea.Raise(Mouse::LeftDoubleClick);
          break;
        case 'w':
          tray.ClickWaitTimer().Fire();
          break;
      }
    }
    EXPECT_EQ(events, c.events);
  }
  EXPECT_EQ(tray.ClickWaitTimer().IntervalMs(), 500u);
}

TEST_F(TrayIconTest, CutsTipAndBalloonTextsToWhatTheShellHoldsWithoutSplittingACharacter) {
  tray.AddToTray();
  // The shell counts UTF-16 units: 关 is one, three bytes in UTF-8.
  tray.SetHint(std::string(126, 'a') + "关");
  EXPECT_EQ(platform.notificationArea.tip, std::string(126, 'a') + "关");
  tray.SetHint(std::string(127, 'a') + "关");
  EXPECT_EQ(platform.notificationArea.tip, std::string(127, 'a'));
  // A character beyond U+FFFF takes two units, and is never cut in half.
  const std::string emoji = "\xF0\x9F\x98\x80";
  tray.SetHint(std::string(126, 'a') + emoji);
  EXPECT_EQ(platform.notificationArea.tip, std::string(126, 'a'));

  std::string chinese;
  for (int i = 0; i < 300; ++i) chinese += "关";
  tray.ShowBalloonHint(std::string(62, 't') + emoji, chinese);
  ASSERT_EQ(platform.notificationArea.balloons.size(), 1u);
  EXPECT_EQ(platform.notificationArea.balloons[0].title, std::string(62, 't'));
  EXPECT_EQ(platform.notificationArea.balloons[0].text, chinese.substr(0, 255 * 3));
}

TEST_F(TrayIconTest, AnEmptyBalloonTextOnlyClearsTheBalloonShowing) {
  tray.AddToTray();
  tray.ShowBalloonHint("t", "shown");
  tray.ShowBalloonHint("t", "");
  EXPECT_EQ(platform.notificationArea.balloons.size(), 1u);
  EXPECT_FALSE(platform.notificationArea.balloonShowing);
  EXPECT_EQ(platform.notificationArea.balloonHides, 2);
}

TEST_F(TrayIconTest, ComesBackWithItsTooltipWhenTheTaskbarIsCreated) {
  platform.notificationArea.shellRunning = false;
  tray.AddToTray();
  EXPECT_FALSE(platform.notificationArea.iconShown);
  tray.SetHint("关机：2026/12/10 22:00:00");

  platform.notificationArea.shellRunning = true;
  platform.notificationArea.events->TaskbarCreated();
  EXPECT_TRUE(platform.notificationArea.iconShown);
  EXPECT_EQ(platform.notificationArea.tip, "关机：2026/12/10 22:00:00");

  // The shell restarts: the icon is added again, tooltip and all.
  platform.notificationArea.iconShown = false;
  platform.notificationArea.events->TaskbarCreated();
  EXPECT_TRUE(platform.notificationArea.iconShown);
  EXPECT_EQ(platform.notificationArea.added.back(), "关机：2026/12/10 22:00:00");
}

TEST_F(TrayIconTest, FrameMinimisesToTheTrayAndRestoresFromIt) {
  StartWithWindows startWithWindows(platform.runAtLogon, platform.files);
  TrayFrame frame(form, tray, platform.windowSystem, {}, startWithWindows);
  tray.AddToTray();
  form.ShowNormal();

  form.UserMinimize();
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(tray.MinimizeToTray());
  EXPECT_TRUE(platform.notificationArea.iconShown);

  platform.notificationArea.Raise(Mouse::LeftDown);
  platform.notificationArea.Raise(Mouse::LeftUp);
  platform.notificationArea.Raise(Mouse::LeftDoubleClick);
  EXPECT_TRUE(form.Visible());
  EXPECT_FALSE(tray.MinimizeToTray());

  form.UserMinimize();
  platform.windowSystem.menuChoice = 0;  // "&Restore"
  platform.notificationArea.Raise(Mouse::RightUp);
  EXPECT_TRUE(form.Visible());
  ASSERT_EQ(platform.windowSystem.menus.size(), 1u);
  const auto& menu = platform.windowSystem.menus[0];
  ASSERT_EQ(menu.size(), 4u);
  EXPECT_EQ(menu[0].text, "&Restore");
  EXPECT_EQ(menu[1].text, "");
  EXPECT_EQ(menu[2].text, "开机时启动");
  EXPECT_EQ(menu[3].text, "&Close");
  EXPECT_EQ(menu[3].shortcut, "Alt+F4");

  platform.windowSystem.menuChoice = 3;  // "&Close"
  platform.notificationArea.Raise(Mouse::RightUp);
  EXPECT_EQ(platform.windowSystem.terminations, 1);
}

namespace {

// A submenu that records what was chosen in it.
class RecordingSubmenu : public TrayFrame::Submenu {
 public:
  RecordingSubmenu(std::string title, std::size_t entries)
      : title_(std::move(title)), entries_(entries) {}
  [[nodiscard]] std::string Title() const override { return title_; }
  [[nodiscard]] std::vector<WindowSystem::MenuItem> Items() const override {
    std::vector<WindowSystem::MenuItem> items;
    for (std::size_t i = 0; i < entries_; ++i) items.push_back({title_ + std::to_string(i), ""});
    return items;
  }
  void Choose(std::size_t index) override { chosen.push_back(index); }

  std::vector<std::size_t> chosen;

 private:
  std::string title_;
  std::size_t entries_;
};

}  // namespace

TEST_F(TrayIconTest, FrameHandsEachSubmenuItsOwnChoices) {
  StartWithWindows startWithWindows(platform.runAtLogon, platform.files);
  RecordingSubmenu picks("快速", 3);
  RecordingSubmenu method("方式", 2);
  TrayFrame frame(form, tray, platform.windowSystem, {&picks, &method}, startWithWindows);
  tray.AddToTray();

  // Counted in order, each submenu's entries right after its own entry:
  // 0 Restore, 1 separator, 2 快速 (3..5), 6 方式 (7..8), 9 start with Windows, 10 Close.
  struct Case {
    int choice;
    std::vector<std::size_t> picks;
    std::vector<std::size_t> method;
  };
  const Case kCases[] = {
      {2, {}, {}},  {3, {0}, {}}, {5, {2}, {}}, {6, {}, {}},
      {7, {}, {0}}, {8, {}, {1}}, {-1, {}, {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.choice);
    picks.chosen.clear();
    method.chosen.clear();
    platform.windowSystem.menuChoice = c.choice;
    platform.notificationArea.Raise(Mouse::RightUp);
    EXPECT_EQ(picks.chosen, c.picks);
    EXPECT_EQ(method.chosen, c.method);
  }
  const auto& menu = platform.windowSystem.menus.back();
  ASSERT_EQ(menu.size(), 6u);
  EXPECT_EQ(menu[2].text, "快速");
  EXPECT_EQ(menu[2].submenu.size(), 3u);
  EXPECT_EQ(menu[3].text, "方式");
  EXPECT_EQ(menu[4].text, "开机时启动");

  platform.windowSystem.menuChoice = 9;
  platform.notificationArea.Raise(Mouse::RightUp);
  EXPECT_TRUE(startWithWindows.On());
  platform.windowSystem.menuChoice = 10;
  platform.notificationArea.Raise(Mouse::RightUp);
  EXPECT_EQ(platform.windowSystem.terminations, 1);
}
