#include "widgets/combo_box_ex_mirror_win.h"

#include "platform/wide_text_win.h"
#include "widgets/image_list_win.h"

namespace {

constexpr int kDropDownHeight = 200;

bool SameItem(const ComboBoxEx::Item& a, const ComboBoxEx::Item& b) {
  return a.imageIndex == b.imageIndex && a.caption == b.caption;
}

}  // namespace

ComboBoxExMirror::ComboBoxExMirror(ComboBoxEx& combo, MirrorContext& context)
    : Win32Mirror(combo, context), combo_(combo) {
  CreateStandard(WC_COMBOBOXEXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, kDropDownHeight);
  if (!Hwnd()) return;
  UseImages();
  ShowItems();
  AddHint();
}

void ComboBoxExMirror::UseImages() {
  ImageList* images = combo_.Images();
  // The native list is made with the first picker that shows it.
  if (images && !images->Mirror()) {
    images->AttachMirror(std::make_unique<Win32ImageListMirror>(context_.instance));
  }
  const HIMAGELIST native = images && images->Mirror()
                                ? reinterpret_cast<HIMAGELIST>(images->Mirror()->Handle())
                                : nullptr;
  if (native == imagesShown_) return;
  imagesShown_ = native;
  SendMessageW(Hwnd(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(native));
}

void ComboBoxExMirror::SendItem(UINT message, int index, const ComboBoxEx::Item& item) {
  COMBOBOXEXITEMW entry{};
  entry.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
  entry.iItem = index;
  std::wstring caption = ToWide(item.caption);
  entry.pszText = caption.data();
  // -1 would ask us for the picture on every paint; an entry without one shows none.
  const int image = item.imageIndex >= 0 ? item.imageIndex : I_IMAGENONE;
  entry.iImage = image;
  entry.iSelectedImage = image;
  SendMessageW(Hwnd(), message, 0, reinterpret_cast<LPARAM>(&entry));
}

void ComboBoxExMirror::ShowItems() {
  // Only the changes reach the native list: a listing appends its entries one
  // at a time, and refilling it each time would cost the square of their number.
  const std::vector<ComboBoxEx::Item>& items = combo_.Items();
  if (items.empty() && !shown_.empty()) {
    SendMessageW(Hwnd(), CB_RESETCONTENT, 0, 0);
    shown_.clear();
  }
  while (shown_.size() > items.size()) {
    SendMessageW(Hwnd(), CBEM_DELETEITEM, shown_.size() - 1, 0);
    shown_.pop_back();
  }
  for (std::size_t i = 0; i < shown_.size(); ++i) {
    if (SameItem(shown_[i], items[i])) continue;
    SendItem(CBEM_SETITEMW, static_cast<int>(i), items[i]);
    shown_[i] = items[i];
  }
  for (std::size_t i = shown_.size(); i < items.size(); ++i) {
    SendItem(CBEM_INSERTITEMW, static_cast<int>(i), items[i]);
    shown_.push_back(items[i]);
  }
  SendMessageW(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()), 0);
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

void ComboBoxExMirror::AddHint() {
  hintShown_ = combo_.Hint();
  hint_.Reset();
  if (combo_.Hint().empty()) return;
  hint_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(),
                              nullptr, context_.instance, nullptr));
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = Hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(Hwnd());
  std::wstring hint = ToWide(combo_.Hint());
  tool.lpszText = hint.data();
  SendMessageW(hint_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  // The edit part of the picker gets the pointer, so it carries the hint too.
  if (const HWND combo = reinterpret_cast<HWND>(SendMessageW(Hwnd(), CBEM_GETCOMBOCONTROL, 0, 0))) {
    tool.hwnd = combo;
    tool.uId = reinterpret_cast<UINT_PTR>(combo);
    SendMessageW(hint_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void ComboBoxExMirror::UpdateSpecific(ControlChange change) {
  if (change == ControlChange::Items) {
    UseImages();
    ShowItems();
    if (combo_.Hint() != hintShown_) AddHint();
  }
  if (change == ControlChange::Selection) {
    SendMessageW(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()), 0);
  }
}

void ComboBoxExMirror::OnCommand(WORD code) {
  if (code == CBN_SELCHANGE) {
    combo_.UserSelect(static_cast<int>(SendMessageW(Hwnd(), CB_GETCURSEL, 0, 0)));
  }
}
