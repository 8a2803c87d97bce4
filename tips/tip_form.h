#pragma once

#include "widgets/form.h"

// The alarm window; hidden until an alarm comes due.
class TForm3 {
 public:
  TForm3();
  Form TipForm;

 private:
  void FormCreate();
};
