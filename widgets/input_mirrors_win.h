#pragma once

#include "widgets/controls.h"
#include "widgets/mirror_win.h"

class ButtonMirror : public Win32Mirror {
 public:
  ButtonMirror(Button& button, MirrorContext& context);
  void OnCommand(WORD code) override;
  void OnDrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  Button& button_;
};

class CheckBoxMirror : public Win32Mirror {
 public:
  CheckBoxMirror(CheckBox& box, MirrorContext& context);
  void OnCommand(WORD code) override;

 private:
  void UpdateSpecific(ControlChange change) override;
  CheckBox& box_;
};

class EditMirror : public Win32Mirror {
 public:
  EditMirror(Edit& edit, MirrorContext& context);
  void OnCommand(WORD code) override;
  HBRUSH OnControlColor(HDC dc) override;

 private:
  Edit& edit_;
};

class ComboBoxMirror : public Win32Mirror {
 public:
  ComboBoxMirror(ComboBox& combo, MirrorContext& context);
  void OnCommand(WORD code) override;

 private:
  void UpdateSpecific(ControlChange change) override;
  void ShowItems();
  ComboBox& combo_;
};

class DateEditMirror : public Win32Mirror {
 public:
  DateEditMirror(DateEdit& edit, MirrorContext& context);
  LRESULT OnNotify(const NMHDR& header) override;

 private:
  void UpdateSpecific(ControlChange change) override;
  void ShowDate();
  DateEdit& edit_;
};

class TimeEditMirror : public Win32Mirror {
 public:
  TimeEditMirror(TimeEdit& edit, MirrorContext& context);
  LRESULT OnNotify(const NMHDR& header) override;

 private:
  void UpdateSpecific(ControlChange change) override;
  void ShowTime();
  TimeEdit& edit_;
};

// An edit with up and down buttons beside it.
class SpinEditMirror : public Win32Mirror {
 public:
  SpinEditMirror(SpinEdit& spin, MirrorContext& context);
  void OnCommand(WORD code) override;

 private:
  void UpdateSpecific(ControlChange change) override;
  void PlaceButtons();
  SpinEdit& spin_;
  UniqueWindow upDown_;
  bool settingText_ = false;
};

class ProgressBarMirror : public Win32Mirror {
 public:
  ProgressBarMirror(ProgressBar& bar, MirrorContext& context);

 private:
  void UpdateSpecific(ControlChange change) override;
  ProgressBar& bar_;
};
