#include "widgets/task_list_box.h"

void TaskListBox::SetRows(std::vector<Row> rows) {
  rows_ = std::move(rows);
  itemIndex_ = -1;
  Changed(ControlChange::Items);
}

void TaskListBox::SetCaptions(std::vector<std::string> captions) {
  changedRows_.clear();
  for (std::size_t i = 0; i < rows_.size() && i < captions.size(); ++i) {
    if (rows_[i].caption == captions[i]) continue;
    rows_[i].caption = std::move(captions[i]);
    changedRows_.push_back(static_cast<int>(i));
  }
  if (!changedRows_.empty()) Changed(ControlChange::Captions);
}

void TaskListBox::UserSelect(int index) {
  itemIndex_ = index >= 0 && index < static_cast<int>(rows_.size()) ? index : -1;
  Changed(ControlChange::Selection);
}

void TaskListBox::UserContextMenu(int rowUnderPointer) {
  if (rowUnderPointer >= 0) UserSelect(rowUnderPointer);
  if (OnContextMenu) OnContextMenu();
}
