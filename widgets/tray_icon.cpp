#include "widgets/tray_icon.h"

#include "platform/utf16.h"

TrayIcon::TrayIcon(NotificationArea& area, Form& mainWindow, unsigned doubleClickTimeMs)
    : area_(area),
      mainWindow_(mainWindow),
      clickWait_("bsTrayIcon1ClickWait", &mainWindow, doubleClickTimeMs, false) {
  clickWait_.OnTimer = [this] { WaitEnded(); };
  area_.SetEvents(this);
}

TrayIcon::~TrayIcon() {
  if (inTray_) area_.RemoveIcon();
  area_.SetEvents(nullptr);
}

void TrayIcon::AddToTray() {
  if (inTray_) return;
  // When there is no taskbar yet this fails; TaskbarCreated adds it later.
  inTray_ = area_.AddIcon(hint_);
}

void TrayIcon::SetHint(const std::string& hint) {
  // Set each second by the tick: the shell is asked only when it changed.
  std::string cut = CutToUtf16Units(hint, kMaxTipUnits);
  if (cut == hint_) return;
  hint_ = std::move(cut);
  if (inTray_) (void)area_.SetTip(hint_);
}

void TrayIcon::ShowBalloonHint(const std::string& title, const std::string& text,
                               NotificationArea::BalloonIcon icon) {
  area_.HideBalloon();
  balloonTitle_.clear();
  balloonText_.clear();
  if (text.empty()) return;
  balloonTitle_ = CutToUtf16Units(title, kMaxBalloonTitleUnits);
  balloonText_ = text;
  balloonIcon_ = icon;
  ++balloonsShown_;
  (void)area_.ShowBalloon(balloonTitle_, CutToUtf16Units(text, kMaxBalloonTextUnits), icon);
}

void TrayIcon::ShowMainWindow() {
  mainWindow_.ShowNormal();
  if (OnMainWindowShown) OnMainWindowShown();
}

void TrayIcon::HideMainWindow() {
  mainWindow_.Hide();
  if (OnMainWindowHidden) OnMainWindowHidden();
}

void TrayIcon::TrayMouse(NotificationArea::Mouse event) {
  using Mouse = NotificationArea::Mouse;
  switch (event) {
    case Mouse::LeftDown:
      press_ = Press::Waiting;
      clickWait_.SetEnabled(false);  // restarts the wait
      clickWait_.SetEnabled(true);
      break;
    case Mouse::LeftUp:
      if (press_ == Press::Waiting) {
        press_ = Press::ReleasedWaiting;
      } else if (press_ == Press::HeldPastWait) {
        press_ = Press::None;
        RaiseClick();
      } else if (press_ == Press::AfterDouble) {
        press_ = Press::None;
      }
      break;
    case Mouse::LeftDoubleClick:
      clickWait_.SetEnabled(false);
      press_ = Press::AfterDouble;
      if (OnDblClick) OnDblClick();
      break;
    case Mouse::RightUp:
      if (OnRightClick) OnRightClick();
      break;
  }
}

void TrayIcon::WaitEnded() {
  clickWait_.SetEnabled(false);
  if (press_ == Press::ReleasedWaiting) {
    press_ = Press::None;
    RaiseClick();
  } else if (press_ == Press::Waiting) {
    press_ = Press::HeldPastWait;
  }
}

void TrayIcon::RaiseClick() {
  if (OnClick) OnClick();
}

void TrayIcon::TrayBalloonClicked() {
  if (OnBalloonHintClick) OnBalloonHintClick();
}

void TrayIcon::TaskbarCreated() { inTray_ = area_.AddIcon(hint_); }
