#include "widgets/controls.h"

#include <algorithm>

void RadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed(ControlChange::Selection);
}

std::vector<RadioGroup::Cell> RadioGroup::Cells() const {
  if (!cells_.empty()) return cells_;
  const int count = static_cast<int>(items_.size());
  const int columns = columns_ > 0 ? columns_ : 1;
  const int rows = (count + columns - 1) / columns;
  std::vector<Cell> cells;
  for (int i = 0; i < count; ++i) cells.push_back({i / rows, i % rows});
  return cells;
}

bool RadioGroup::ItemEnabled(int index) const { return !disabled_.contains(index); }

std::string RadioGroup::ItemHint(int index) const {
  const auto found = disabled_.find(index);
  return found == disabled_.end() ? std::string() : found->second;
}

void RadioGroup::DisableItem(int index, std::string why) {
  disabled_.insert_or_assign(index, std::move(why));
  if (index == itemIndex_) SetItemIndex(-1);
  Changed(ControlChange::Items);
}

void RadioGroup::UserSelect(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size()) || index == itemIndex_) return;
  // A greyed item takes no click.
  if (!ItemEnabled(index)) return;
  SetItemIndex(index);
  if (OnClick) OnClick();
}

void ComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  const bool moved = index != itemIndex_;
  itemIndex_ = index;
  SetText(index >= 0 ? items_[static_cast<std::size_t>(index)] : std::string());
  if (moved) Changed(ControlChange::Selection);
  if (OnClick) OnClick();
}

void ComboBoxEx::ClearItems() {
  items_.clear();
  itemIndex_ = -1;
  SetText({});
  Changed(ControlChange::Items);
}

void ComboBoxEx::AddItem(Item item) {
  items_.push_back(std::move(item));
  Changed(ControlChange::Items);
}

void ComboBoxEx::SetItem(int index, Item item) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  items_[static_cast<std::size_t>(index)] = std::move(item);
  if (index == itemIndex_) SetText(items_[static_cast<std::size_t>(index)].caption);
  Changed(ControlChange::Items);
}

void ComboBoxEx::UserSelect(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  itemIndex_ = index;
  SetText(items_[static_cast<std::size_t>(index)].caption);
  Changed(ControlChange::Selection);
}

void DateEdit::SetDate(DateTime day) {
  const DateTime wholeDay = AtTimeOfDay(day, 0, 0, 0);
  if (CompareDateTime(wholeDay, date_) == 0) return;
  date_ = wholeDay;
  Changed(ControlChange::Value);
  if (OnChange) OnChange();
}

void TimeEdit::SetTimeOfDay(int hour, int minute, int second) {
  const int secondOfDay = ((hour * 60 + minute) * 60 + second) % 86400;
  if (secondOfDay == secondOfDay_) return;
  secondOfDay_ = secondOfDay;
  SetText(FormatTimeOfDay(secondOfDay_));
  Changed(ControlChange::Value);
  if (OnChange) OnChange();
}

std::string TimeEdit::FormatTimeOfDay(int secondOfDay) {
  std::string text;
  AppendZeroPadded(text, secondOfDay / 3600, 2);
  text += ':';
  AppendZeroPadded(text, secondOfDay / 60 % 60, 2);
  text += ':';
  AppendZeroPadded(text, secondOfDay % 60, 2);
  return text;
}

SpinEdit::SpinEdit(std::string_view name, Control* parent, Bounds bounds, int minimum, int maximum,
                   int value)
    : Control(ControlKind::SpinEdit, name, parent, bounds),
      minimum_(minimum),
      maximum_(maximum),
      value_(std::clamp(value, minimum, maximum)) {
  SetText(std::to_string(value_));
}

void SpinEdit::SetValue(int value) {
  value = std::clamp(value, minimum_, maximum_);
  if (value == value_) return;
  value_ = value;
  SetText(std::to_string(value_));
  Changed(ControlChange::Value);
  if (OnChange) OnChange();
}

void ProgressBar::SetMaximum(int maximum) {
  maximum_ = std::max(maximum, 0);
  position_ = std::clamp(position_, 0, maximum_);
  Changed(ControlChange::Value);
}

void ProgressBar::SetPosition(int position) {
  position_ = std::clamp(position, 0, maximum_);
  Changed(ControlChange::Value);
}
