#include "widgets/task_list_mirror_win.h"

#include <optional>

#include "platform/wide_text_win.h"
#include "widgets/picture_scale.h"
#include "widgets/png_resource_win.h"

namespace {

constexpr int kKindPicturesId = 101;
constexpr int kPictureSize = 48;
constexpr COLORREF kSelectedBack = RGB(222, 238, 253);
constexpr COLORREF kRowLine = RGB(226, 230, 236);

// The kind pictures side by side, each `size` pixels square, as a 32-bit
// section with the alpha multiplied in, which is what AlphaBlend draws. They
// are drawn for 200 % and shrunk (or, past 200 %, grown) here, never grown from
// a small picture.
UniqueBitmap LoadKindPictures(HINSTANCE instance, int size) {
  const std::optional<PremultipliedImage> source = LoadPngResource(instance, kKindPicturesId);
  if (!source) return {};
  const int count = source->width / source->height;
  return SectionOf(ResizePremultiplied(*source, count * size, size));
}

}  // namespace

TaskListMirror::TaskListMirror(TaskListBox& list, MirrorContext& context)
    : Win32Mirror(list, context), list_(list) {
  CreateStandard(L"LISTBOX",
                 WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                     LBS_NOINTEGRALHEIGHT,
                 WS_EX_CLIENTEDGE, list.Height());
  // Measured during creation, before this mirror could answer.
  SendMessageW(Hwnd(), LB_SETITEMHEIGHT, 0, Scaled(TaskListBox::kRowHeight));
  FillRows();
}

HBITMAP TaskListMirror::KindPictures(int size) {
  if (kindPicturesSize_ != size) {
    ImageListTask = LoadKindPictures(context_.instance, size);
    kindPicturesSize_ = size;
  }
  return ImageListTask.Get();
}

void TaskListMirror::FillRows() {
  SendMessageW(Hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0);
  for (const TaskListBox::Row& row : list_.Rows()) {
    SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(row.caption).c_str()));
  }
  SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(list_.ItemIndex()), 0);
  SendMessageW(Hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

void TaskListMirror::ReplaceChangedRows() {
  // The list box keeps the strings too (another program reads them): each
  // changed row is put in again where it was, and the selection with it.
  const LRESULT selected = SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0);
  SendMessageW(Hwnd(), WM_SETREDRAW, FALSE, 0);
  for (const int row : list_.ChangedRows()) {
    if (row >= static_cast<int>(list_.Rows().size())) continue;
    SendMessageW(Hwnd(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    SendMessageW(Hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(
                     ToWide(list_.Rows()[static_cast<std::size_t>(row)].caption).c_str()));
  }
  SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  SendMessageW(Hwnd(), WM_SETREDRAW, TRUE, 0);
  for (const int row : list_.ChangedRows()) {
    RECT area;
    if (SendMessageW(Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&area)) != LB_ERR) {
      InvalidateRect(Hwnd(), &area, TRUE);
    }
  }
}

void TaskListMirror::UpdateSpecific(ControlChange change) {
  if (change == ControlChange::Style) {
    SendMessageW(Hwnd(), LB_SETITEMHEIGHT, 0, Scaled(TaskListBox::kRowHeight));
  }
  if (change == ControlChange::Items) FillRows();
  if (change == ControlChange::Captions) ReplaceChangedRows();
  if (change == ControlChange::Selection) {
    SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(list_.ItemIndex()), 0);
  }
}

void TaskListMirror::OnCommand(WORD code) {
  if (code == LBN_SELCHANGE) {
    list_.UserSelect(static_cast<int>(SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0)));
  }
}

void TaskListMirror::OnContextMenu(POINT screen) {
  POINT client = screen;
  ScreenToClient(Hwnd(), &client);
  const LRESULT hit = SendMessageW(Hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  const bool outside = HIWORD(hit) != 0;
  list_.UserContextMenu(outside ? -1 : LOWORD(hit));
}

void TaskListMirror::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  RECT row = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const UniqueBrush back(CreateSolidBrush(selected ? kSelectedBack : GetSysColor(COLOR_WINDOW)));
  FillRect(dc, &row, back.Get());
  if (item.itemID == static_cast<UINT>(-1) ||
      item.itemID >= static_cast<UINT>(list_.Rows().size())) {
    return;
  }
  const TaskListBox::Row& data = list_.Rows()[item.itemID];

  const int pictureSize = Scaled(kPictureSize);
  const int pictureTop = row.top + (row.bottom - row.top - pictureSize) / 2;
  const HBITMAP kindPictures = data.imageIndex >= 0 ? KindPictures(pictureSize) : nullptr;
  if (const UniqueDC pictures(kindPictures ? CreateCompatibleDC(dc) : nullptr); pictures) {
    const SelectedObject selectedPictures(pictures.Get(), kindPictures);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, row.left + Scaled(4), pictureTop, pictureSize, pictureSize, pictures.Get(),
               data.imageIndex * pictureSize, 0, pictureSize, pictureSize, blend);
  }

  RECT text{row.left + pictureSize + Scaled(12), row.top, row.right - Scaled(4), row.bottom};
  const SelectedObject font(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  // Measure first so one line and two lines both sit in the middle of the row.
  RECT measured = text;
  const std::wstring caption = ToWide(data.caption);
  const int height = DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                               DT_NOPREFIX | DT_CALCRECT);
  text.top += (row.bottom - row.top - height) / 2;
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_NOPREFIX | DT_LEFT | DT_END_ELLIPSIS);

  const UniquePen line(CreatePen(PS_SOLID, 1, kRowLine));
  {
    const SelectedObject pen(dc, line.Get());
    MoveToEx(dc, row.left, row.bottom - 1, nullptr);
    LineTo(dc, row.right, row.bottom - 1);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
}
