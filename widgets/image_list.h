#pragma once

#include <memory>
#include <vector>

#include "platform/processes.h"

// The native image list that shows an ImageList; a headless list has none.
class ImageListMirror {
 public:
  ImageListMirror() = default;
  ImageListMirror(const ImageListMirror&) = delete;
  ImageListMirror& operator=(const ImageListMirror&) = delete;
  virtual ~ImageListMirror() = default;
  // Appends a 16 x 16 copy of the icon; false when the list could not take it.
  virtual bool AddIcon(IconHandle icon) = 0;
  // Appends another copy of an image it holds; false when it could not.
  virtual bool AddCopy(int index) = 0;
  // Keeps the first `count` images only.
  virtual void Truncate(int count) = 0;
  [[nodiscard]] virtual unsigned long long Handle() const = 0;
};

// The small pictures of a picker's entries, all 16 x 16. Image 0, the default
// picture, is there from the start and always stays; every other image is a
// copy of an icon, so the icon may go once it is added.
class ImageList {
 public:
  static constexpr int kImageSize = 16;
  static constexpr int kDefaultImage = 0;

  ImageList() = default;
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;

  [[nodiscard]] int Count() const { return static_cast<int>(sources_.size()); }
  // The icon that image `index` was copied from (the handle may be gone by
  // now); 0 for the default picture and for an index it does not hold.
  [[nodiscard]] IconHandle SourceOf(int index) const;

  // The new image's index, or -1 when the list could not take it.
  int AddIcon(IconHandle icon);
  int AddCopy(int index);
  // Back to the default picture alone.
  void DropAddedImages();

  // Images added before go: their icons are gone, the native list never had them.
  void AttachMirror(std::unique_ptr<ImageListMirror> mirror);
  [[nodiscard]] ImageListMirror* Mirror() const { return mirror_.get(); }

 private:
  int Append(IconHandle source);

  std::vector<IconHandle> sources_{0};
  std::unique_ptr<ImageListMirror> mirror_;
};
