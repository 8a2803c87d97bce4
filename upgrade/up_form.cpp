#include "upgrade/up_form.h"

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
  UpForm.SetText("正在下载最新版本：");
  UpForm.SetHeight(70);
  UpForm.SetWidth(595);
  ProgressBar1.SetBounds({5, 6, 580, 30});
  ProgressBar1.SetMaximum(100);
  ProgressBar1.SetPosition(0);
}

void TForm2::OnDownloadProgress(std::uint32_t progress, std::uint32_t progressMax,
                                const std::string& appTitle) {
  const DownloadProgress shown = ProgressOfDownload(progress, progressMax);
  ProgressBar1.SetMaximum(shown.barMaximum);
  ProgressBar1.SetPosition(shown.barPosition);
  UpForm.SetText(DownloadCaption(appTitle, shown.percentText));
}
