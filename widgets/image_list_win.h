#pragma once

#include <windows.h>

#include <commctrl.h>

#include "platform/unique_handle_win.h"
#include "widgets/image_list.h"

struct ImageListDeleter {
  void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListDeleter>;

// A 32-bit image list with a mask beside the alpha, so its pictures draw
// right whether a control blends them or only masks them.
class Win32ImageListMirror : public ImageListMirror {
 public:
  static constexpr int kDefaultPictureId = 102;

  // The default picture is the bitmap resource of `resources`.
  explicit Win32ImageListMirror(HINSTANCE resources);

  bool AddIcon(IconHandle icon) override;
  bool AddCopy(int index) override;
  void Truncate(int count) override;
  [[nodiscard]] unsigned long long Handle() const override {
    return reinterpret_cast<unsigned long long>(list_.Get());
  }
  [[nodiscard]] HIMAGELIST Native() const { return list_.Get(); }

 private:
  UniqueImageList list_;
};
