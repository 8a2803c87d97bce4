#pragma once

#include "widgets/form.h"

// The update progress window; hidden until a download runs.
class TForm2 {
 public:
  TForm2(const Form& mainWindow, MirrorFactory* mirrors);
  Form UpForm;
};
