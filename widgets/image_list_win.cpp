#include "widgets/image_list_win.h"

#include <array>

namespace {

constexpr int kSize = ImageList::kImageSize;
constexpr int kMaskRowBytes = 2;  // 16 one-bit pixels, rows padded to a 16-bit word
constexpr int kAlphaVisible = 128;

// The bitmap's alpha as a mask (1: transparent); none when it has no alpha.
UniqueBitmap MaskFromAlpha(HBITMAP picture) {
  DIBSECTION section{};
  if (GetObjectW(picture, sizeof section, &section) != sizeof section ||
      section.dsBm.bmBitsPixel != 32 || section.dsBm.bmWidth != kSize ||
      section.dsBm.bmHeight != kSize || !section.dsBm.bmBits) {
    return UniqueBitmap();
  }
  const bool bottomUp = section.dsBmih.biHeight > 0;
  const auto* pixels = static_cast<const BYTE*>(section.dsBm.bmBits);
  std::array<BYTE, kSize * kMaskRowBytes> mask{};
  for (int y = 0; y < kSize; ++y) {
    const BYTE* row = pixels + (bottomUp ? kSize - 1 - y : y) * section.dsBm.bmWidthBytes;
    for (int x = 0; x < kSize; ++x) {
      if (row[x * 4 + 3] < kAlphaVisible) mask[y * kMaskRowBytes + x / 8] |= 0x80 >> (x % 8);
    }
  }
  return UniqueBitmap(CreateBitmap(kSize, kSize, 1, 1, mask.data()));
}

// Image 0 must exist even without the artwork, or every index would be off by one.
bool AddBlankPicture(HIMAGELIST list) {
  std::array<BYTE, kSize * kMaskRowBytes> allTransparent;
  allTransparent.fill(0xFF);
  const UniqueBitmap mask(CreateBitmap(kSize, kSize, 1, 1, allTransparent.data()));
  const UniqueBitmap blank(CreateCompatibleBitmap(WindowDC(nullptr).Get(), kSize, kSize));
  return ImageList_Add(list, blank.Get(), mask.Get()) == 0;
}

}  // namespace

Win32ImageListMirror::Win32ImageListMirror(HINSTANCE resources)
    : list_(ImageList_Create(kSize, kSize, ILC_COLOR32 | ILC_MASK, 1, 16)) {
  if (!list_) return;
  // Straight alpha, as the artwork is stored: the list blends it itself.
  const UniqueBitmap picture(static_cast<HBITMAP>(LoadImageW(
      resources, MAKEINTRESOURCEW(kDefaultPictureId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (picture) {
    const UniqueBitmap mask = MaskFromAlpha(picture.Get());
    if (ImageList_Add(list_.Get(), picture.Get(), mask.Get()) == 0) return;
  }
  (void)AddBlankPicture(list_.Get());
}

bool Win32ImageListMirror::AddIcon(IconHandle icon) {
  return list_ && ImageList_AddIcon(list_.Get(), reinterpret_cast<HICON>(icon)) >= 0;
}

bool Win32ImageListMirror::AddCopy(int index) {
  if (!list_) return false;
  const UniqueIcon copy(ImageList_GetIcon(list_.Get(), index, ILD_NORMAL));
  return copy && ImageList_AddIcon(list_.Get(), copy.Get()) >= 0;
}

void Win32ImageListMirror::Truncate(int count) {
  // One resize: removing images one by one rebuilds the list's bitmaps each time.
  if (list_ && ImageList_GetImageCount(list_.Get()) > count) {
    ImageList_SetImageCount(list_.Get(), static_cast<UINT>(count));
  }
}
