#pragma once

#include "widgets/form.h"

// The update progress window; hidden until a download runs.
class TForm2 {
 public:
  explicit TForm2(MirrorFactory* mirrors);
  Form UpForm;
};
