#pragma once

#include <functional>
#include <string>
#include <vector>

#include "widgets/control.h"

// The task list: rows of a picture and a caption of one or two lines, a
// selected row, and a popup menu on a right click.
class TaskListBox : public Control {
 public:
  struct Row {
    std::string caption;
    int imageIndex = -1;
  };
  static constexpr int kRowHeight = 46;

  TaskListBox(std::string_view name, Control* parent, Bounds bounds)
      : Control(ControlKind::TaskListBox, name, parent, bounds) {}

  [[nodiscard]] const std::vector<Row>& Rows() const { return rows_; }
  // The selected row, or -1.
  [[nodiscard]] int ItemIndex() const { return itemIndex_; }
  // All rows at once, none selected: the window is filled once, however long
  // the list.
  void SetRows(std::vector<Row> rows);
  // The same rows with new captions, in order: the selection stays. Only the
  // rows whose caption changed are drawn again.
  void SetCaptions(std::vector<std::string> captions);
  // The rows SetCaptions changed last, for the window to redraw.
  [[nodiscard]] const std::vector<int>& ChangedRows() const { return changedRows_; }

  void UserSelect(int index);
  // A right click; the row under the pointer (or -1) becomes the selected one.
  void UserContextMenu(int rowUnderPointer);
  std::function<void()> OnContextMenu;

 private:
  std::vector<Row> rows_;
  std::vector<int> changedRows_;
  int itemIndex_ = -1;
};
