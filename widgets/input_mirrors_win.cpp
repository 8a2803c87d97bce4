#include "widgets/input_mirrors_win.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "platform/system_time_win.h"
#include "platform/wide_text_win.h"

namespace {

constexpr int kDropDownHeight = 200;

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return FromWide(text);
}

}  // namespace

ButtonMirror::ButtonMirror(Button& button, MirrorContext& context)
    : Win32Mirror(button, context), button_(button) {
  CreateStandard(L"BUTTON", WS_TABSTOP | (button.Skinned() ? BS_OWNERDRAW : BS_PUSHBUTTON), 0,
                 button.Height());
}

void ButtonMirror::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  RECT area = item.rcItem;
  FillRect(dc, &area, BackBrush());
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF ink = ToColorRef(button_.TextColor());
  // A white face with rounded corners, edged in the caption's colour.
  const UniqueBrush face(CreateSolidBrush(pressed ? RGB(236, 246, 253) : RGB(255, 255, 255)));
  const UniquePen edge(CreatePen(PS_SOLID, Scaled(2), ink));
  {
    const SelectedObject selectedFace(dc, face.Get());
    const SelectedObject selectedEdge(dc, edge.Get());
    const int inset = Scaled(1);
    const int corner = Scaled(12);
    RoundRect(dc, area.left + inset, area.top + inset, area.right - inset, area.bottom - inset,
              corner, corner);
  }
  if (pressed) OffsetRect(&area, 1, 1);
  const SelectedObject font(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ink);
  const std::string& caption = button_.Text();
  const std::wstring wide = ToWide(caption);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area,
            DT_NOPREFIX | DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -Scaled(5), -Scaled(5));
    DrawFocusRect(dc, &focus);
  }
}

void ButtonMirror::OnCommand(WORD code) {
  if (code == BN_CLICKED) button_.UserClick();
}

CheckBoxMirror::CheckBoxMirror(CheckBox& box, MirrorContext& context)
    : Win32Mirror(box, context), box_(box) {
  CreateStandard(L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0, box.Height());
  UpdateSpecific(ControlChange::Value);
}

void CheckBoxMirror::OnCommand(WORD code) {
  if (code != BN_CLICKED) return;
  const bool checked = SendMessageW(Hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (checked != box_.Checked()) box_.UserSetChecked(checked);
}

void CheckBoxMirror::UpdateSpecific(ControlChange change) {
  if (change != ControlChange::Value) return;
  SendMessageW(Hwnd(), BM_SETCHECK, box_.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
}

EditMirror::EditMirror(Edit& edit, MirrorContext& context)
    : Win32Mirror(edit, context), edit_(edit) {
  CreateStandard(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, edit.Height());
}

void EditMirror::OnCommand(WORD code) {
  // The program's own texts come back as changes too; only the user's differ.
  if (code == EN_CHANGE) {
    const std::string text = WindowText(Hwnd());
    if (text != edit_.Text()) edit_.UserEdit(text);
  }
}

HBRUSH EditMirror::OnControlColor(HDC dc) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}

ComboBoxMirror::ComboBoxMirror(ComboBox& combo, MirrorContext& context)
    : Win32Mirror(combo, context), combo_(combo) {
  CreateStandard(L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, kDropDownHeight);
  ShowItems();
}

void ComboBoxMirror::ShowItems() {
  SendMessageW(Hwnd(), CB_RESETCONTENT, 0, 0);
  for (const std::string& item : combo_.Items()) {
    SendMessageW(Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item).c_str()));
  }
  SendMessageW(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()), 0);
}

void ComboBoxMirror::UpdateSpecific(ControlChange change) {
  if (change == ControlChange::Items) ShowItems();
  if (change == ControlChange::Selection) {
    SendMessageW(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()), 0);
  }
}

void ComboBoxMirror::OnCommand(WORD code) {
  if (code == CBN_SELCHANGE) {
    combo_.UserSelect(static_cast<int>(SendMessageW(Hwnd(), CB_GETCURSEL, 0, 0)));
  }
}

DateEditMirror::DateEditMirror(DateEdit& edit, MirrorContext& context)
    : Win32Mirror(edit, context), edit_(edit) {
  CreateStandard(DATETIMEPICK_CLASSW, WS_TABSTOP | DTS_SHORTDATEFORMAT, 0, edit.Height());
  ShowDate();
}

void DateEditMirror::ShowDate() {
  SYSTEMTIME st = ToSystemTime(DecodeDateTime(edit_.Date()));
  SendMessageW(Hwnd(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void DateEditMirror::UpdateSpecific(ControlChange change) {
  if (change == ControlChange::Value) ShowDate();
}

LRESULT DateEditMirror::OnNotify(const NMHDR& header) {
  if (header.code == DTN_DATETIMECHANGE) {
    const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
    if (change.dwFlags == GDT_VALID) {
      const SYSTEMTIME& st = change.st;
      edit_.UserSetDate(EncodeDateTime({st.wYear, st.wMonth, st.wDay}));
    }
  }
  return 0;
}

TimeEditMirror::TimeEditMirror(TimeEdit& edit, MirrorContext& context)
    : Win32Mirror(edit, context), edit_(edit) {
  CreateStandard(DATETIMEPICK_CLASSW, WS_TABSTOP | DTS_TIMEFORMAT | DTS_UPDOWN, 0, edit.Height());
  SendMessageW(Hwnd(), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm:ss"));
  ShowTime();
}

void TimeEditMirror::ShowTime() {
  SYSTEMTIME st{};
  GetLocalTime(&st);  // the day does not matter, only the time of day
  const int second = edit_.SecondOfDay();
  st.wHour = static_cast<WORD>(second / 3600);
  st.wMinute = static_cast<WORD>(second / 60 % 60);
  st.wSecond = static_cast<WORD>(second % 60);
  st.wMilliseconds = 0;
  SendMessageW(Hwnd(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void TimeEditMirror::UpdateSpecific(ControlChange change) {
  if (change == ControlChange::Value) ShowTime();
}

LRESULT TimeEditMirror::OnNotify(const NMHDR& header) {
  if (header.code == DTN_DATETIMECHANGE) {
    const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
    if (change.dwFlags == GDT_VALID) {
      edit_.UserSetTimeOfDay(change.st.wHour, change.st.wMinute, change.st.wSecond);
    }
  }
  return 0;
}

SpinEditMirror::SpinEditMirror(SpinEdit& spin, MirrorContext& context)
    : Win32Mirror(spin, context), spin_(spin) {
  CreateStandard(L"EDIT", WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, spin.Height());
  upDown_.Reset(CreateWindowExW(0, UPDOWN_CLASSW, L"",
                                WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0,
                                ParentHwnd(), nullptr, context.instance, nullptr));
  SendMessageW(upDown_.Get(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Hwnd()), 0);
  SendMessageW(upDown_.Get(), UDM_SETRANGE32, static_cast<WPARAM>(spin.Minimum()), spin.Maximum());
  SendMessageW(upDown_.Get(), UDM_SETPOS32, 0, spin.Value());
  PlaceButtons();
  ShowWindow(upDown_.Get(), spin.Visible() ? SW_SHOWNA : SW_HIDE);
}

void SpinEditMirror::PlaceButtons() {
  const Bounds b = Scaled(spin_.GetBounds());
  const int buttonWidth = Scaled(16);
  SetWindowPos(Hwnd(), nullptr, b.left, b.top, b.width - buttonWidth, b.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(upDown_.Get(), nullptr, b.left + b.width - buttonWidth, b.top, buttonWidth, b.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void SpinEditMirror::UpdateSpecific(ControlChange change) {
  switch (change) {
    case ControlChange::Bounds:
      PlaceButtons();
      break;
    case ControlChange::Visible:
      ShowWindow(upDown_.Get(), spin_.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case ControlChange::Value:
      SendMessageW(upDown_.Get(), UDM_SETPOS32, 0, spin_.Value());
      break;
    default:
      break;
  }
}

void SpinEditMirror::OnCommand(WORD code) {
  if (settingText_) return;
  if (code == EN_CHANGE) {
    // Taken while typing only when it is a count; the rest waits for the focus to go.
    const std::string text = WindowText(Hwnd());
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (!text.empty() && value >= spin_.Minimum() && value <= spin_.Maximum()) {
      spin_.UserSetValue(static_cast<int>(value));
    }
  } else if (code == EN_KILLFOCUS) {
    const long value = std::strtol(WindowText(Hwnd()).c_str(), nullptr, 10);
    spin_.UserSetValue(static_cast<int>(std::clamp<long>(value, spin_.Minimum(), spin_.Maximum())));
    settingText_ = true;
    SetWindowTextW(Hwnd(), ToWide(spin_.Text()).c_str());
    settingText_ = false;
  }
}

ProgressBarMirror::ProgressBarMirror(ProgressBar& bar, MirrorContext& context)
    : Win32Mirror(bar, context), bar_(bar) {
  CreateStandard(PROGRESS_CLASSW, 0, 0, bar.Height());
  UpdateSpecific(ControlChange::Value);
}

void ProgressBarMirror::UpdateSpecific(ControlChange change) {
  if (change != ControlChange::Value) return;
  SendMessageW(Hwnd(), PBM_SETRANGE32, 0, bar_.Maximum());
  SendMessageW(Hwnd(), PBM_SETPOS, static_cast<WPARAM>(bar_.Position()), 0);
}
