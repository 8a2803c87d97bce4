#pragma once

#include "widgets/mirror_win.h"
#include "widgets/task_list_box.h"

// An owner-drawn list box: each row a 48 x 48 kind picture and a caption of
// one or two lines, with a fine line between rows.
class TaskListMirror : public Win32Mirror {
 public:
  TaskListMirror(TaskListBox& list, MirrorContext& context);
  void OnCommand(WORD code) override;
  void OnDrawItem(const DRAWITEMSTRUCT& item) override;
  void OnContextMenu(POINT screen) override;

 private:
  void UpdateSpecific(ControlChange change) override;
  void FillRows();
  void ReplaceChangedRows();
  // Loaded with the first row drawn (the list is often empty at start-up), at
  // the size the screen's density asks for.
  [[nodiscard]] HBITMAP KindPictures(int size);

  TaskListBox& list_;
  UniqueBitmap ImageListTask;  // the seven kind pictures side by side, premultiplied
  int kindPicturesSize_ = 0;   // of the pictures loaded; none yet
};
