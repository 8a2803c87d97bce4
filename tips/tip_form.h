#pragma once

#include <string>

#include "language/language_listener.h"
#include "platform/sound.h"
#include "scheduler/alarm_view.h"
#include "widgets/controls.h"
#include "widgets/form.h"

// The alarm window: the picture of a ringing clock, the reminder text, and
// the button that silences the alarm. Shown beside the main window.
class TForm3 : public AlarmView, public LanguageListener {
 public:
  TForm3(const Form& mainWindow, Sound& sound, MirrorFactory* mirrors);
  TForm3(const TForm3&) = delete;
  TForm3& operator=(const TForm3&) = delete;

  // The alarm's reminder text, in front of the main window.
  void ShowAlarm(const std::string& text) override;
  // Visible and in front; placed beside the main window when it was hidden.
  void Show();
  void Hide();
  // From the alarm until the button: also while it is away with the main window.
  [[nodiscard]] bool Showing() const { return showing_; }

  // Away with the main window when it goes to the tray, back with it, without
  // taking the focus.
  void LeaveWithMainWindow();
  void ComeBackWithMainWindow();

  void bsSkinButton1Click();
  // The heading, the button and the first reminder in the active language; an
  // alarm's own reminder stays as the user wrote it.
  void LanguageChanged() override;

  Form TipForm;
  Picture Image1;
  Label Label1;
  Label Label2;
  Button bsSkinButton1;

 private:
  void FormShow();

  const Form& mainWindow_;
  Sound& sound_;
  bool showing_ = false;
  // Label2 shows an alarm's reminder, no longer the window's own text.
  bool reminderShown_ = false;
};
