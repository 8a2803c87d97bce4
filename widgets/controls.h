#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/date_time.h"
#include "widgets/control.h"

// The ordinary controls of the program's windows. Each keeps its state here;
// the "User..." operations are what a person does (the native window calls
// them, and so do tests), and they raise the control's events.

class Panel : public Control {
 public:
  Panel(std::string_view name, Control* parent, Bounds bounds, bool bevel)
      : Control(ControlKind::Panel, name, parent, bounds), bevel_(bevel) {}
  [[nodiscard]] bool Bevel() const { return bevel_; }

 private:
  bool bevel_;
};

class GroupBox : public Control {
 public:
  GroupBox(std::string_view name, Control* parent, Bounds bounds, std::string_view caption)
      : Control(ControlKind::GroupBox, name, parent, bounds, caption) {}
};

class Label : public Control {
 public:
  enum class Sizing {
    Fixed,      // the bounds as given; the text wraps
    Automatic,  // takes the width of its text, growing to the right
    // Takes the width of its text, growing to the left: the right edge
    // (left + width of the given bounds) stays.
    AutomaticFromRight,
  };
  // The height stays as given.
  Label(std::string_view name, Control* parent, Bounds bounds, Sizing sizing = Sizing::Automatic)
      : Control(ControlKind::Label, name, parent, bounds), sizing_(sizing) {}
  [[nodiscard]] bool AutoWidth() const { return sizing_ != Sizing::Fixed; }
  [[nodiscard]] bool RightAnchored() const { return sizing_ == Sizing::AutomaticFromRight; }
  [[nodiscard]] int Right() const { return Left() + Width(); }
  // The native window measured the text, in layout pixels.
  void TextMeasured(int width) {
    if (!AutoWidth()) return;
    const int left = RightAnchored() ? Right() - width : Left();
    SetBoundsQuietly({left, Top(), width, Height()});
  }

 private:
  Sizing sizing_;
};

// A horizontal bar from 0 to its maximum; the position stays within that range.
class ProgressBar : public Control {
 public:
  ProgressBar(std::string_view name, Control* parent, Bounds bounds)
      : Control(ControlKind::ProgressBar, name, parent, bounds) {}
  [[nodiscard]] int Maximum() const { return maximum_; }
  [[nodiscard]] int Position() const { return position_; }
  void SetMaximum(int maximum);
  void SetPosition(int position);

 private:
  int maximum_ = 100;
  int position_ = 0;
};

// One of the system's own icons (warning, error), at the control's size.
class IconView : public Control {
 public:
  enum class Stock { Warning, Error, Information };
  IconView(std::string_view name, Control* parent, Bounds bounds, Stock stock)
      : Control(ControlKind::Icon, name, parent, bounds), stock_(stock) {}
  [[nodiscard]] Stock Icon() const { return stock_; }

 private:
  Stock stock_;
};

// A PNG picture from the program's resources. A transparent picture leaves the
// pixels of its bottom-left pixel's colour unpainted.
class Picture : public Control {
 public:
  Picture(std::string_view name, Control* parent, Bounds bounds, int resourceId, bool transparent)
      : Control(ControlKind::Picture, name, parent, bounds),
        resourceId_(resourceId),
        transparent_(transparent) {}
  [[nodiscard]] int ResourceId() const { return resourceId_; }
  [[nodiscard]] bool Transparent() const { return transparent_; }

 private:
  int resourceId_;
  bool transparent_;
};

class Button : public Control {
 public:
  // A skinned button draws itself, in its own font and text colour.
  Button(std::string_view name, Control* parent, Bounds bounds, std::string_view caption,
         bool skinned = false)
      : Control(ControlKind::Button, name, parent, bounds, caption), skinned_(skinned) {}
  [[nodiscard]] bool Skinned() const { return skinned_; }
  void UserClick() {
    if (OnClick) OnClick();
  }
  std::function<void()> OnClick;

 private:
  bool skinned_;
};

// A box with a caption beside it, ticked or not.
class CheckBox : public Control {
 public:
  CheckBox(std::string_view name, Control* parent, Bounds bounds, std::string_view caption,
           bool checked)
      : Control(ControlKind::CheckBox, name, parent, bounds, caption), checked_(checked) {}
  [[nodiscard]] bool Checked() const { return checked_; }
  // From the program: no event.
  void SetChecked(bool checked) {
    checked_ = checked;
    Changed(ControlChange::Value);
  }
  void UserSetChecked(bool checked) {
    SetChecked(checked);
    if (OnClick) OnClick();
  }
  std::function<void()> OnClick;

 private:
  bool checked_;
};

class Edit : public Control {
 public:
  Edit(std::string_view name, Control* parent, Bounds bounds)
      : Control(ControlKind::Edit, name, parent, bounds) {}
  void UserEdit(std::string text) {
    SetTextQuietly(std::move(text));
    if (OnChange) OnChange();
  }
  std::function<void()> OnChange;
};

// Items laid out in columns, filled top to bottom; at most one selected.
class RadioGroup : public Control {
 public:
  // Where an item stands in the group's grid.
  struct Cell {
    int column = 0;
    int row = 0;
  };
  // Without cells the items fill the columns one after the other, top to bottom; with them,
  // item i stands in cells[i] (items added to a grouping the user knows keep their places).
  RadioGroup(std::string_view name, Control* parent, Bounds bounds, std::string_view caption,
             int columns, std::vector<std::string> items, std::vector<Cell> cells = {})
      : Control(ControlKind::RadioGroup, name, parent, bounds, caption),
        columns_(columns),
        items_(std::move(items)),
        cells_(std::move(cells)) {}
  [[nodiscard]] int Columns() const { return columns_; }
  [[nodiscard]] const std::vector<std::string>& Items() const { return items_; }
  // The cell of each item: as given, or the columns filled in order.
  [[nodiscard]] std::vector<Cell> Cells() const;
  // Items the user cannot choose, greyed, each with a word on why (shown under the pointer).
  [[nodiscard]] bool ItemEnabled(int index) const;
  [[nodiscard]] std::string ItemHint(int index) const;
  void DisableItem(int index, std::string why);
  [[nodiscard]] int ItemIndex() const { return itemIndex_; }
  // From the program: no event.
  void SetItemIndex(int index);
  // From the user: an event only when the selection moves to another item.
  void UserSelect(int index);
  std::function<void()> OnClick;

 private:
  int columns_;
  std::vector<std::string> items_;
  std::vector<Cell> cells_;
  // Why each disabled item is: by index.
  std::map<int, std::string> disabled_;
  int itemIndex_ = -1;
};

// A drop-down list to choose from; its event runs whenever the selection is set.
class ComboBox : public Control {
 public:
  ComboBox(std::string_view name, Control* parent, Bounds bounds, std::vector<std::string> items)
      : Control(ControlKind::ComboBox, name, parent, bounds), items_(std::move(items)) {}
  [[nodiscard]] const std::vector<std::string>& Items() const { return items_; }
  [[nodiscard]] int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  void UserSelect(int index) { SetItemIndex(index); }
  std::function<void()> OnClick;

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

class ImageList;

// A drop-down list of entries with pictures; the text is the chosen caption.
class ComboBoxEx : public Control {
 public:
  struct Item {
    std::string caption;
    int imageIndex = -1;
  };
  ComboBoxEx(std::string_view name, Control* parent, Bounds bounds, std::string_view hint)
      : Control(ControlKind::ComboBoxEx, name, parent, bounds), hint_(hint) {}
  [[nodiscard]] const std::string& Hint() const { return hint_; }
  [[nodiscard]] const std::vector<Item>& Items() const { return items_; }
  [[nodiscard]] int ItemIndex() const { return itemIndex_; }
  void ClearItems();
  void AddItem(Item item);
  void SetItem(int index, Item item);
  void UserSelect(int index);
  // The list the entries' image indexes point into; it must outlive the picker.
  [[nodiscard]] ImageList* Images() const { return images_; }
  void SetImages(ImageList* images) {
    images_ = images;
    Changed(ControlChange::Items);
  }

 private:
  std::string hint_;
  std::vector<Item> items_;
  int itemIndex_ = -1;
  ImageList* images_ = nullptr;
};

// A calendar day, with a drop-down month calendar.
class DateEdit : public Control {
 public:
  DateEdit(std::string_view name, Control* parent, Bounds bounds)
      : Control(ControlKind::DateEdit, name, parent, bounds) {}
  [[nodiscard]] DateTime Date() const { return date_; }
  void SetDate(DateTime day);
  void UserSetDate(DateTime day) { SetDate(day); }
  std::function<void()> OnChange;

 private:
  DateTime date_ = 0;
};

// A time of day to the second, shown as HH:mm:ss.
class TimeEdit : public Control {
 public:
  TimeEdit(std::string_view name, Control* parent, Bounds bounds)
      : Control(ControlKind::TimeEdit, name, parent, bounds) {
    SetText(FormatTimeOfDay(0));
  }
  [[nodiscard]] int SecondOfDay() const { return secondOfDay_; }
  void SetTimeOfDay(int hour, int minute, int second);
  void UserSetTimeOfDay(int hour, int minute, int second) { SetTimeOfDay(hour, minute, second); }
  std::function<void()> OnChange;

  [[nodiscard]] static std::string FormatTimeOfDay(int secondOfDay);

 private:
  int secondOfDay_ = 0;
};

// A whole number held between its bounds.
class SpinEdit : public Control {
 public:
  SpinEdit(std::string_view name, Control* parent, Bounds bounds, int minimum, int maximum,
           int value);
  [[nodiscard]] int Value() const { return value_; }
  [[nodiscard]] int Minimum() const { return minimum_; }
  [[nodiscard]] int Maximum() const { return maximum_; }
  void SetValue(int value);
  void UserSetValue(int value) { SetValue(value); }
  std::function<void()> OnChange;

 private:
  int minimum_;
  int maximum_;
  int value_;
};
