#include "tips/tip_form.h"

TForm3::TForm3() : TipForm("TipForm", {0, 0, 500, 300}, Form::Frame::Borderless) { FormCreate(); }

void TForm3::FormCreate() {
  TipForm.SetWidth(500);
  TipForm.SetHeight(300);
  TipForm.Hide();
}
