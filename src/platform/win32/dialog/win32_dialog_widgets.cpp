#include "platform/win32/dialog/win32_dialog_widgets.h"

#include <algorithm>
#include <cmath>

#include "dialog/dialog_layout.h"
#include "platform/win32/dialog/win32_dialog_text.h"
#include "platform/win32/system/wide_text.h"

namespace orvel {
namespace {

using C = DialogControl;

constexpr int kListId = 101;
constexpr int kScrollId = 102;
constexpr int kRepeatId = 103;

// The list scrolls sideways this far past its own width, so that long
// names can be read.
constexpr int kListExtraWidth = 300;
// The drop-down's list hangs this far below its field (96-dpi pixels).
constexpr int kRepeatListHeight = 200;
// A drop-down's field is its item height plus its border.
constexpr int kRepeatFieldBorder = 6;

HWND Child(HWND parent, DWORD exStyle, const wchar_t* kind, DWORD style, int id) {
  return CreateWindowExW(exStyle, kind, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return Utf8FromWide(text);
}

// The repeat entry's text by its index in the drop-down's list.
std::string EntryText(HWND combo, LRESULT index) {
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return Utf8FromWide(text);
}

}  // namespace

Win32DialogWidgets::Win32DialogWidgets(HWND parent, NativeControlEvents events)
    : events_(std::move(events)) {
  list_ = Child(parent, WS_EX_CLIENTEDGE, L"LISTBOX",
                WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kListId);
  scrollBar_ = Child(parent, 0, L"SCROLLBAR", SBS_HORZ, kScrollId);
  SCROLLINFO range{};
  range.cbSize = sizeof(range);
  range.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
  range.nMin = kIntervalMin;
  range.nMax = kIntervalMax;
  range.nPos = kIntervalDesigned;
  SetScrollInfo(scrollBar_, SB_CTL, &range, FALSE);
  repeat_ = Child(parent, 0, L"COMBOBOX", WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, kRepeatId);
}

void Win32DialogWidgets::Layout(double scale, HFONT listFont, HFONT repeatFont) {
  scale_ = scale;
  auto place = [scale](HWND window, C control, int extraHeight) {
    const Rect rect = ScaleRect(ClientRect(control), scale);
    SetWindowPos(window, nullptr, rect.x, rect.y, rect.w, rect.h + extraHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont), TRUE);
  place(list_, C::List_1, 0);
  const Rect list = ScaleRect(ClientRect(C::List_1), scale);
  SendMessageW(list_, LB_SETHORIZONTALEXTENT,
               static_cast<WPARAM>(list.w + std::lround(kListExtraWidth * scale)), 0);
  place(scrollBar_, C::HS_CD, 0);

  SendMessageW(repeat_, WM_SETFONT, reinterpret_cast<WPARAM>(repeatFont), TRUE);
  const Rect field = ScaleRect(ClientRect(C::BGM_Repeat), scale);
  // The field keeps the designed height whatever the font's.
  SendMessageW(repeat_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
               std::max(1, field.h - kRepeatFieldBorder));
  place(repeat_, C::BGM_Repeat, static_cast<int>(std::lround(kRepeatListHeight * scale)));
}

bool Win32DialogWidgets::Show(DialogControl control, const DialogState& state) {
  showing_ = true;
  bool native = true;
  switch (control) {
    case C::List_1:
      ShowList(state);
      break;
    case C::HS_CD:
      ShowScroll(state);
      break;
    case C::BGM_Repeat:
      ShowRepeat(state);
      break;
    default:
      native = false;
  }
  showing_ = false;
  return native;
}

HWND Win32DialogWidgets::Window(DialogControl control) const {
  switch (control) {
    case C::List_1:
      return list_;
    case C::HS_CD:
      return scrollBar_;
    case C::BGM_Repeat:
      return repeat_;
    default:
      return nullptr;
  }
}

std::optional<DialogControl> Win32DialogWidgets::Owner(HWND window) const {
  for (C control : {C::List_1, C::HS_CD, C::BGM_Repeat}) {
    HWND outer = Window(control);
    if (window == outer || IsChild(outer, window)) return control;
  }
  return std::nullopt;
}

void Win32DialogWidgets::ShowList(const DialogState& state) {
  if (state.listEntries != listShown_) {
    // Filled without drawing, and drawn once when full.
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    SendMessageW(list_, LB_INITSTORAGE, state.listEntries.size(),
                 static_cast<LPARAM>(state.listEntries.size() * 32));
    for (const std::string& entry : state.listEntries) {
      const std::wstring text = DisplayText(entry);
      SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    listShown_ = state.listEntries;
  }
  const int selected = state.listSelection;
  const bool valid = selected >= 0 && selected < static_cast<int>(listShown_.size());
  const WPARAM wanted = valid ? static_cast<WPARAM>(selected) : static_cast<WPARAM>(-1);
  if (SendMessageW(list_, LB_GETCURSEL, 0, 0) != static_cast<LRESULT>(wanted)) {
    SendMessageW(list_, LB_SETCURSEL, wanted, 0);
  }
  EnableWindow(list_, state[C::List_1].enabled ? TRUE : FALSE);
}

void Win32DialogWidgets::ShowScroll(const DialogState& state) {
  if (GetScrollPos(scrollBar_, SB_CTL) != state.scrollPosition) {
    SetScrollPos(scrollBar_, SB_CTL, state.scrollPosition, TRUE);
  }
  EnableWindow(scrollBar_, state[C::HS_CD].enabled ? TRUE : FALSE);
}

void Win32DialogWidgets::ShowRepeat(const DialogState& state) {
  if (state.repeatEntries != repeatShown_) {
    SendMessageW(repeat_, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : state.repeatEntries) {
      const std::wstring text = DisplayText(entry);
      SendMessageW(repeat_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    repeatShown_ = state.repeatEntries;
  }
  const ControlState& shown = state[C::BGM_Repeat];
  if (shown.text != WindowText(repeat_)) {
    SetWindowTextW(repeat_, DisplayText(shown.text).c_str());
  }
  EnableWindow(repeat_, shown.enabled ? TRUE : FALSE);
}

bool Win32DialogWidgets::OnCommand(WPARAM wParam, LPARAM lParam) {
  const HWND from = reinterpret_cast<HWND>(lParam);
  if (from == nullptr || (from != list_ && from != repeat_)) return false;
  if (showing_) return true;
  const int code = HIWORD(wParam);
  if (from == list_ && code == LBN_SELCHANGE) {
    const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (index != LB_ERR) events_.listSelected(static_cast<int>(index));
  } else if (from == repeat_ && code == CBN_EDITCHANGE) {
    events_.repeatEdited(WindowText(repeat_));
  } else if (from == repeat_ && code == CBN_SELCHANGE) {
    // The field takes the chosen entry's text only after this message.
    const LRESULT index = SendMessageW(repeat_, CB_GETCURSEL, 0, 0);
    if (index != CB_ERR) events_.repeatEdited(EntryText(repeat_, index));
  }
  return true;
}

bool Win32DialogWidgets::OnScroll(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != scrollBar_) return false;
  if (showing_) return true;
  const int old = GetScrollPos(scrollBar_, SB_CTL);
  int position = old;
  switch (LOWORD(wParam)) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
      position = old - 1;
      break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
      position = old + 1;
      break;
    case SB_LEFT:
      position = kIntervalMin;
      break;
    case SB_RIGHT:
      position = kIntervalMax;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = static_cast<short>(HIWORD(wParam));
      break;
    default:
      return true;
  }
  position = std::clamp(position, kIntervalMin, kIntervalMax);
  if (position == old) return true;
  SetScrollPos(scrollBar_, SB_CTL, position, TRUE);
  events_.scrollMoved(position);
  return true;
}

}  // namespace orvel
