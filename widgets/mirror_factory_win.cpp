#include "widgets/mirror_factory_win.h"

#include <windows.h>

#include <commctrl.h>

#include "widgets/combo_box_ex_mirror_win.h"
#include "widgets/container_mirrors_win.h"
#include "widgets/input_mirrors_win.h"
#include "widgets/task_list_mirror_win.h"

Win32MirrorFactory::Win32MirrorFactory(HINSTANCE instance, HandlerErrors& errors)
    : context_{instance, errors, {}, {}} {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_UPDOWN_CLASS |
                                                     ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES |
                                                     ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  OwnWindowMirror::RegisterClasses(instance);
}

std::unique_ptr<ControlMirror> Win32MirrorFactory::CreateMirror(Control& control) {
  switch (control.Kind()) {
    case ControlKind::Form:
      return std::make_unique<FormMirror>(static_cast<Form&>(control), context_);
    case ControlKind::Panel:
      return std::make_unique<PanelMirror>(static_cast<Panel&>(control), context_);
    case ControlKind::GroupBox:
      return std::make_unique<GroupBoxMirror>(static_cast<GroupBox&>(control), context_);
    case ControlKind::Label:
      return std::make_unique<LabelMirror>(static_cast<Label&>(control), context_);
    case ControlKind::RadioGroup:
      return std::make_unique<RadioGroupMirror>(static_cast<RadioGroup&>(control), context_);
    case ControlKind::Button:
      return std::make_unique<ButtonMirror>(static_cast<Button&>(control), context_);
    case ControlKind::Edit:
      return std::make_unique<EditMirror>(static_cast<Edit&>(control), context_);
    case ControlKind::ComboBox:
      return std::make_unique<ComboBoxMirror>(static_cast<ComboBox&>(control), context_);
    case ControlKind::ComboBoxEx:
      return std::make_unique<ComboBoxExMirror>(static_cast<ComboBoxEx&>(control), context_);
    case ControlKind::DateEdit:
      return std::make_unique<DateEditMirror>(static_cast<DateEdit&>(control), context_);
    case ControlKind::TimeEdit:
      return std::make_unique<TimeEditMirror>(static_cast<TimeEdit&>(control), context_);
    case ControlKind::SpinEdit:
      return std::make_unique<SpinEditMirror>(static_cast<SpinEdit&>(control), context_);
    case ControlKind::CheckBox:
      return std::make_unique<CheckBoxMirror>(static_cast<CheckBox&>(control), context_);
    case ControlKind::TaskListBox:
      return std::make_unique<TaskListMirror>(static_cast<TaskListBox&>(control), context_);
    case ControlKind::ProgressBar:
      return std::make_unique<ProgressBarMirror>(static_cast<ProgressBar&>(control), context_);
    case ControlKind::Picture:
      return std::make_unique<PictureMirror>(static_cast<Picture&>(control), context_);
    case ControlKind::Icon:
      return std::make_unique<IconMirror>(static_cast<IconView&>(control), context_);
    case ControlKind::Timer: {
      const Control* parent = control.Parent();
      if (!parent || parent->Kind() != ControlKind::Form || !parent->Mirror()) return nullptr;
      return std::make_unique<TimerMirror>(static_cast<Timer&>(control),
                                           static_cast<FormMirror&>(*parent->Mirror()));
    }
  }
  return nullptr;
}
