#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "widgets/controls.h"
#include "widgets/mirror_win.h"

// A drop-down list of entries, each with its picture from the picker's image
// list left of its caption; chosen from the list only, never typed. A tooltip
// carries the picker's hint.
class ComboBoxExMirror : public Win32Mirror {
 public:
  ComboBoxExMirror(ComboBoxEx& combo, MirrorContext& context);
  void OnCommand(WORD code) override;

 private:
  void UpdateSpecific(ControlChange change) override;
  void UseImages();
  void ShowItems();
  void SendItem(UINT message, int index, const ComboBoxEx::Item& item);
  void AddHint();

  ComboBoxEx& combo_;
  std::vector<ComboBoxEx::Item> shown_;  // what the native list holds
  HIMAGELIST imagesShown_ = nullptr;
  UniqueWindow hint_;
  std::string hintShown_;
};
