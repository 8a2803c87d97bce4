#include "upgrade/up_form.h"

#include "language/language.h"
#include "upgrade/download_progress.h"

TForm2::TForm2(const Form& mainWindow, MirrorFactory* mirrors)
    : UpForm("UpForm", {436, 440, 595, 70}, Form::Frame::Tool),
      ProgressBar1("ProgressBar1", &UpForm, {5, 6, 580, 30}) {
  UpForm.SetOwner(&mainWindow);
  UpForm.SetBackColor(ColorRef::System(SystemColor::ButtonFace));
  FormCreate();
  AttachMirrors(UpForm, mirrors, NativeWindow::WhenFirstShown);
}

void TForm2::FormCreate() {
  ShowCaption();
  UpForm.SetHeight(70);
  UpForm.SetWidth(595);
  ProgressBar1.SetBounds({5, 6, 580, 30});
  ProgressBar1.SetMaximum(100);
  ProgressBar1.SetPosition(0);
}

void TForm2::ShowDownload() {
  UpForm.Show();
  UpForm.BringToFront();
}

void TForm2::ShowDownloadProgress(std::uint32_t received, std::uint32_t total) {
  const DownloadProgress shown = ProgressOfDownload(received, total);
  ProgressBar1.SetMaximum(shown.barMaximum);
  ProgressBar1.SetPosition(shown.barPosition);
  percentText_ = shown.percentText;
  ShowCaption();
}

void TForm2::CloseDownload() { UpForm.Hide(); }

void TForm2::LanguageChanged() { ShowCaption(); }

void TForm2::ShowCaption() {
  UpForm.SetText(percentText_ ? DownloadCaption(Text(TextId::AppTitle), *percentText_)
                              : std::string(Text(TextId::DownloadStarting)));
}
