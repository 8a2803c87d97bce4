#include "widgets/task_list_box.h"

void TaskListBox::SetRows(std::vector<Row> rows) {
  rows_ = std::move(rows);
  itemIndex_ = -1;
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
