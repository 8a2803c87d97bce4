#include "tips/warn_form.h"

#include "language/language.h"

namespace {

constexpr Rgb kBandBlue{72, 162, 244};
constexpr int kMargin = 16;
constexpr int kButtonWidth = 80;
constexpr int kButtonGap = 8;
constexpr int kButtonTop = 124;
constexpr int kClientWidth = 2 * kMargin + 4 * kButtonWidth + 3 * kButtonGap;

constexpr Bounds ButtonAt(int index) {
  return {kMargin + index * (kButtonWidth + kButtonGap), kButtonTop, kButtonWidth, 28};
}

}  // namespace

TForm4::TForm4(Form& mainWindow, Sound& sound, std::string warningSound, MirrorFactory* mirrors)
    : WarnForm("WarnForm", {0, 0, kClientWidth + 6, 198}, Form::Frame::Alert),
      LabelWarnTask("LabelWarnTask", &WarnForm, {kMargin, 12, kClientWidth - 2 * kMargin, 34},
                    Label::Sizing::Fixed),
      LabelCountdown("LabelCountdown", &WarnForm, {kMargin, 52, kClientWidth - 2 * kMargin, 30},
                     Label::Sizing::Fixed),
      // Two whole lines: long program names wrap.
      LabelClosingPrograms("LabelClosingPrograms", &WarnForm,
                           {kMargin, 88, kClientWidth - 2 * kMargin, 34}, Label::Sizing::Fixed),
      ButtonPostpone5("ButtonPostpone5", &WarnForm, ButtonAt(0), ""),
      ButtonPostpone30("ButtonPostpone30", &WarnForm, ButtonAt(1), ""),
      ButtonCancelTask("ButtonCancelTask", &WarnForm, ButtonAt(2), ""),
      ButtonRunNow("ButtonRunNow", &WarnForm, ButtonAt(3), ""),
      mainWindow_(mainWindow),
      sound_(sound),
      warningSound_(std::move(warningSound)) {
  WarnForm.SetOwner(&mainWindow);
  LanguageChanged();
  WarnForm.SetBackColor(ColorRef::System(SystemColor::Window));
  WarnForm.SetFont({"MS Sans Serif", 12, false});
  LabelCountdown.SetFont({"Arial", 22, true});
  LabelCountdown.SetTextColor(ColorRef::Of(kBandBlue));
  ButtonPostpone5.OnClick = [this] {
    if (OnPostpone) OnPostpone(5);
  };
  ButtonPostpone30.OnClick = [this] {
    if (OnPostpone) OnPostpone(30);
  };
  ButtonCancelTask.OnClick = [this] {
    if (OnCancel) OnCancel();
  };
  ButtonRunNow.OnClick = [this] {
    if (OnRunNow) OnRunNow();
  };
  // Closing it with the caption's button leaves the task as it is: the
  // countdown goes on in the main window.
  WarnForm.OnClose = [this] {
    Close();
    if (OnDismiss) OnDismiss();
  };
  AttachMirrors(WarnForm, mirrors, NativeWindow::WhenFirstShown);
}

void TForm4::ShowWarning(const std::string& caption, const std::string& countdown,
                         const std::string& closing) {
  LabelWarnTask.SetText(caption);
  LabelCountdown.SetText(countdown);
  LabelClosingPrograms.SetText(closing);
  if (WarnForm.Visible()) return;
  WarnForm.Show();
  mainWindow_.FlashTaskbarEntry();
  (void)sound_.PlayFile(warningSound_, Sound::Playback::OnceUnlessPlaying);
}

void TForm4::Close() { WarnForm.Hide(); }

void TForm4::LanguageChanged() {
  WarnForm.SetText(std::string(Text(TextId::AppTitle)));
  ButtonPostpone5.SetText(std::string(Text(TextId::WarningPostpone5)));
  ButtonPostpone30.SetText(std::string(Text(TextId::WarningPostpone30)));
  ButtonCancelTask.SetText(std::string(Text(TextId::WarningCancelTask)));
  ButtonRunNow.SetText(std::string(Text(TextId::WarningRunNow)));
}
