#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/notification_area.h"
#include "widgets/form.h"

// The program's icon in the notification area. It keeps the wanted state (in
// the tray, tooltip) apart from the shell's, so it can add itself again when
// the taskbar comes back, and it turns presses and releases into clicks and
// double clicks with the system's double-click time.
class TrayIcon : private NotificationArea::Events {
 public:
  // What the shell holds, in UTF-16 units.
  static constexpr std::size_t kMaxTipUnits = 127;
  static constexpr std::size_t kMaxBalloonTitleUnits = 63;
  static constexpr std::size_t kMaxBalloonTextUnits = 255;

  TrayIcon(NotificationArea& area, Form& mainWindow, unsigned doubleClickTimeMs);
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon();

  // Puts the icon into the notification area (idempotent).
  void AddToTray();

  [[nodiscard]] const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);

  // Clears the balloon showing, then shows this one; an empty text shows none.
  void ShowBalloonHint(const std::string& title, const std::string& text,
                       NotificationArea::BalloonIcon icon = NotificationArea::BalloonIcon::None);

  [[nodiscard]] bool MinimizeToTray() const { return minimizeToTray_; }
  void SetMinimizeToTray(bool value) { minimizeToTray_ = value; }
  void ShowMainWindow();
  void HideMainWindow();
  // The balloon shown last (its title cut to fit, its text whole), until a
  // balloon is cleared.
  [[nodiscard]] const std::string& BalloonTitle() const { return balloonTitle_; }
  [[nodiscard]] const std::string& BalloonText() const { return balloonText_; }
  [[nodiscard]] NotificationArea::BalloonIcon BalloonIcon() const { return balloonIcon_; }
  // How many balloons were shown so far: whether one came up in between.
  [[nodiscard]] std::uint64_t BalloonsShown() const { return balloonsShown_; }

  // The timer that ends the wait for a second click; the window system fires it.
  [[nodiscard]] Timer& ClickWaitTimer() { return clickWait_; }

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void()> OnRightClick;
  std::function<void()> OnBalloonHintClick;
  // The main window went to the tray, or came back from it.
  std::function<void()> OnMainWindowHidden;
  std::function<void()> OnMainWindowShown;

 private:
  enum class Press { None, Waiting, ReleasedWaiting, HeldPastWait, AfterDouble };

  void TrayMouse(NotificationArea::Mouse event) override;
  void TrayBalloonClicked() override;
  void TaskbarCreated() override;
  void WaitEnded();
  void RaiseClick();

  NotificationArea& area_;
  Form& mainWindow_;
  Timer clickWait_;
  std::string hint_;
  std::string balloonTitle_;
  std::string balloonText_;
  NotificationArea::BalloonIcon balloonIcon_ = NotificationArea::BalloonIcon::None;
  std::uint64_t balloonsShown_ = 0;
  bool inTray_ = false;
  bool minimizeToTray_ = false;
  Press press_ = Press::None;
};
