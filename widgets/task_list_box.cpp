#include "widgets/task_list_box.h"

void TaskListBox::Clear() {
  rows_.clear();
  itemIndex_ = -1;
  Changed(ControlChange::Items);
}

void TaskListBox::AddRow(Row row) {
  rows_.push_back(std::move(row));
  Changed(ControlChange::Items);
}

void TaskListBox::UserSelect(int index) {
  itemIndex_ = index >= 0 && index < static_cast<int>(rows_.size()) ? index : -1;
  Changed(ControlChange::Selection);
}

void TaskListBox::UserContextMenu(int rowUnderPointer) {
  if (rowUnderPointer >= 0) UserSelect(rowUnderPointer);
  if (OnContextMenu) OnContextMenu();
}
