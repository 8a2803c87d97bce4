#pragma once

#include <functional>
#include <string>

#include "language/language_listener.h"
#include "platform/sound.h"
#include "scheduler/warning_view.h"
#include "widgets/controls.h"
#include "widgets/form.h"

// The warning before a power action: the task, the seconds left, the programs
// a shut-down, restart or log-off will close, and the buttons that put it off, cancel it or run it
// at once. It stays above other windows and never takes the keyboard from the program the user is
// typing in: no button of it is pressed by accident.
class TForm4 : public WarningView, public LanguageListener {
 public:
  // `warningSound` is played each time the window opens.
  TForm4(Form& mainWindow, Sound& sound, std::string warningSound, MirrorFactory* mirrors);
  TForm4(const TForm4&) = delete;
  TForm4& operator=(const TForm4&) = delete;

  void ShowWarning(const std::string& caption, const std::string& countdown,
                   const std::string& closing) override;
  void Close() override;
  [[nodiscard]] bool Showing() const { return WarnForm.Visible(); }
  // The caption and the buttons in the active language. The labels are the
  // power warning's, which shows them again at its next second.
  void LanguageChanged() override;

  std::function<void(int minutes)> OnPostpone;
  std::function<void()> OnCancel;
  std::function<void()> OnRunNow;
  // Closed with its caption's button: the task stays as it is.
  std::function<void()> OnDismiss;

  Form WarnForm;
  Label LabelWarnTask;
  Label LabelCountdown;
  // "将关闭：记事本、Word 等 5 个程序": what the user would lose.
  Label LabelClosingPrograms;
  Button ButtonPostpone5;
  Button ButtonPostpone30;
  Button ButtonCancelTask;
  Button ButtonRunNow;

 private:
  Form& mainWindow_;
  Sound& sound_;
  std::string warningSound_;
};
