#include "upgrade/up_form.h"

TForm2::TForm2(const Form& mainWindow, MirrorFactory* mirrors)
    : UpForm("UpForm", {436, 440, 595, 70}, Form::Frame::Tool) {
  UpForm.SetOwner(&mainWindow);
  UpForm.SetText("正在下载最新版本：");
  AttachMirrors(UpForm, mirrors);
}
