#pragma once

#include <set>
#include <vector>

#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/mirror_win.h"

class TimerMirror;

class FormMirror : public OwnWindowMirror {
 public:
  FormMirror(Form& form, MirrorContext& context);
  void AddTimer(TimerMirror* timer) { timers_.insert(timer); }
  void RemoveTimer(TimerMirror* timer) { timers_.erase(timer); }
  [[nodiscard]] int Dpi() const override { return dpi_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void UpdateSpecific(ControlChange change) override;
  // Shown on a screen of another density: the system's rectangle keeps the
  // window where the user sees it, the controls and fonts follow.
  void DpiChanged(int dpi, const RECT& suggested);
  void SetIcons();

  Form& form_;
  int dpi_;
  std::set<TimerMirror*> timers_;
};

class PanelMirror : public OwnWindowMirror {
 public:
  PanelMirror(Panel& panel, MirrorContext& context);

 private:
  void Paint(HDC dc, const RECT& client) override;
  Panel& panel_;
};

class GroupBoxMirror : public OwnWindowMirror {
 public:
  GroupBoxMirror(GroupBox& group, MirrorContext& context);

 private:
  void Paint(HDC dc, const RECT& client) override;
  void UpdateSpecific(ControlChange change) override;
};

class LabelMirror : public OwnWindowMirror {
 public:
  LabelMirror(Label& label, MirrorContext& context);

 private:
  void Paint(HDC dc, const RECT& client) override;
  void UpdateSpecific(ControlChange change) override;
  void Measure();
  Label& label_;
};

// The items are radio buttons of their own, so tools can read and click them.
class RadioGroupMirror : public OwnWindowMirror {
 public:
  RadioGroupMirror(RadioGroup& group, MirrorContext& context);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc, const RECT& client) override;
  void UpdateSpecific(ControlChange change) override;
  // Where an item in `cell` of the grid `cells` spans stands in the group's window.
  [[nodiscard]] RECT ItemPlace(RadioGroup::Cell cell,
                               const std::vector<RadioGroup::Cell>& cells) const;
  void LayOutItems();
  void ShowSelection();
  // Greys the items the user cannot choose, and gives each its hint.
  void ShowDisabledItems();

  RadioGroup& group_;
  std::vector<HWND> items_;
  UniqueWindow hint_;
};

class PictureMirror : public OwnWindowMirror {
 public:
  PictureMirror(Picture& picture, MirrorContext& context);

 private:
  void Paint(HDC dc, const RECT& client) override;
  Picture& picture_;
  UniqueBitmap bitmap_;
  bool bitmapLoaded_ = false;
};

class IconMirror : public Win32Mirror {
 public:
  IconMirror(IconView& icon, MirrorContext& context);
};

// A timer ticks through the window of the form that owns it.
class TimerMirror : public ControlMirror {
 public:
  TimerMirror(Timer& timer, FormMirror& owner);
  ~TimerMirror() override;
  void Update(ControlChange change) override;
  [[nodiscard]] WindowHandle Handle() const override { return 0; }
  void Fire() { timer_.Fire(); }

 private:
  void Apply();
  Timer& timer_;
  FormMirror& owner_;
};
