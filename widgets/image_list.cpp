#include "widgets/image_list.h"

IconHandle ImageList::SourceOf(int index) const {
  if (index < 0 || index >= Count()) return 0;
  return sources_[static_cast<std::size_t>(index)];
}

int ImageList::Append(IconHandle source) {
  sources_.push_back(source);
  return Count() - 1;
}

int ImageList::AddIcon(IconHandle icon) {
  if (!icon) return -1;
  if (mirror_ && !mirror_->AddIcon(icon)) return -1;
  return Append(icon);
}

int ImageList::AddCopy(int index) {
  if (index < 0 || index >= Count()) return -1;
  if (mirror_ && !mirror_->AddCopy(index)) return -1;
  return Append(SourceOf(index));
}

void ImageList::DropAddedImages() {
  sources_.resize(1);
  if (mirror_) mirror_->Truncate(1);
}

void ImageList::AttachMirror(std::unique_ptr<ImageListMirror> mirror) {
  mirror_ = std::move(mirror);
  DropAddedImages();
}
