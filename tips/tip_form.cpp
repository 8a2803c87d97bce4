#include "tips/tip_form.h"

#include "language/language.h"

namespace {

constexpr int kPictureId = 103;
constexpr int kOffsetFromMainWindow = 140;
constexpr Rgb kWhite{255, 255, 255};
// The labels stand on the picture's upper panel and the button on its lower
// band: their backgrounds take those colours, so they look transparent.
constexpr Rgb kPanelBlue{72, 177, 229};
constexpr Rgb kBandBlue{81, 193, 244};
constexpr Rgb kButtonInk{74, 180, 232};
constexpr Bounds kWindow{0, 0, 500, 300};
constexpr Bounds kHeading{200, 30, 260, 30};
constexpr Bounds kReminder{200, 80, 260, 100};
constexpr Bounds kButton{160, 240, 161, 49};

}  // namespace

TForm3::TForm3(const Form& mainWindow, Sound& sound, MirrorFactory* mirrors)
    : TipForm("TipForm", kWindow, Form::Frame::Borderless),
      // The picture fills the window.
      Image1("Image1", &TipForm, kWindow, kPictureId, true),
      Label1("Label1", &TipForm, kHeading, Label::Sizing::Fixed),
      Label2("Label2", &TipForm, kReminder, Label::Sizing::Fixed),
      bsSkinButton1("bsSkinButton1", &TipForm, kButton, Text(TextId::AlarmDismiss), true),
      mainWindow_(mainWindow),
      sound_(sound) {
  TipForm.SetOwner(&mainWindow);
  TipForm.SetBackColor(ColorRef::System(SystemColor::ButtonFace));
  Label1.SetText(std::string(Text(TextId::AlarmHeading)));
  Label1.SetFont({"Arial", 24, true});
  Label1.SetTextColor(ColorRef::Of(kWhite));
  Label1.SetBackColor(ColorRef::Of(kPanelBlue));
  Label2.SetText(std::string(Text(TextId::AlarmReminder)));
  Label2.SetFont({"Arial", 13, false});
  Label2.SetTextColor(ColorRef::Of(kWhite));
  Label2.SetBackColor(ColorRef::Of(kPanelBlue));
  bsSkinButton1.SetFont({"Arial Narrow", 20, true});
  bsSkinButton1.SetTextColor(ColorRef::Of(kButtonInk));
  bsSkinButton1.SetBackColor(ColorRef::Of(kBandBlue));
  bsSkinButton1.OnClick = [this] { bsSkinButton1Click(); };
  AttachMirrors(TipForm, mirrors, NativeWindow::WhenFirstShown);
}

void TForm3::FormShow() {
  TipForm.SetTop(mainWindow_.Top() + kOffsetFromMainWindow);
  TipForm.SetLeft(mainWindow_.Left() + kOffsetFromMainWindow);
}

void TForm3::ShowAlarm(const std::string& text) {
  Label2.SetText(text);
  reminderShown_ = true;
  Show();
}

void TForm3::Show() {
  if (!TipForm.Visible()) FormShow();
  showing_ = true;
  TipForm.Show();
  TipForm.BringToFront();
}

void TForm3::Hide() {
  showing_ = false;
  TipForm.Hide();
}

void TForm3::LeaveWithMainWindow() {
  if (showing_) TipForm.Hide();
}

void TForm3::ComeBackWithMainWindow() {
  if (showing_) TipForm.Show();
}

void TForm3::bsSkinButton1Click() {
  // A sound started without "no stop" ends the looping alarm.
  (void)sound_.PlayFile("x.wav", Sound::Playback::Once);
  Hide();
}

void TForm3::LanguageChanged() {
  Label1.SetText(std::string(Text(TextId::AlarmHeading)));
  bsSkinButton1.SetText(std::string(Text(TextId::AlarmDismiss)));
  if (!reminderShown_) Label2.SetText(std::string(Text(TextId::AlarmReminder)));
}
