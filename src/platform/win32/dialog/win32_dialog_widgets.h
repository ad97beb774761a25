// The settings dialog's native controls on Windows: the picture list, the
// interval scroll bar and the editable repeat drop-down, child windows
// placed by the control table and kept in step with the dialog's state.
// What the user does to them goes to the callbacks; what the state says
// goes back to them without calling the callbacks again.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialog/dialog_state.h"

namespace orvel {

struct NativeControlEvents {
  std::function<void(int index)> listSelected;
  std::function<void(int position)> scrollMoved;
  std::function<void(const std::string& text)> repeatEdited;
};

class Win32DialogWidgets {
 public:
  // Creates the three controls as children of `parent`; Layout places them.
  Win32DialogWidgets(HWND parent, NativeControlEvents events);
  Win32DialogWidgets(const Win32DialogWidgets&) = delete;
  Win32DialogWidgets& operator=(const Win32DialogWidgets&) = delete;

  // Puts the controls at their client rectangles at `scale` device pixels
  // to one 96-dpi pixel, the list in `listFont`, the drop-down in
  // `repeatFont`.
  void Layout(double scale, HFONT listFont, HFONT repeatFont);

  // Shows what the state says about the control (List_1, HS_CD or
  // BGM_Repeat); false for any other control.
  bool Show(DialogControl control, const DialogState& state);

  // The control's window; nullptr for a control that is not one of the
  // three.
  HWND Window(DialogControl control) const;
  // The native control that `window` is or belongs to (the drop-down's
  // text field belongs to the drop-down).
  std::optional<DialogControl> Owner(HWND window) const;

  // The parent's WM_COMMAND and WM_HSCROLL; true when they were the
  // controls'.
  bool OnCommand(WPARAM wParam, LPARAM lParam);
  bool OnScroll(WPARAM wParam, LPARAM lParam);

 private:
  void ShowList(const DialogState& state);
  void ShowScroll(const DialogState& state);
  void ShowRepeat(const DialogState& state);

  NativeControlEvents events_;
  HWND list_ = nullptr;
  HWND scrollBar_ = nullptr;
  HWND repeat_ = nullptr;
  std::vector<std::string> listShown_;
  std::vector<std::string> repeatShown_;
  double scale_ = 1;
  // Set while the state is shown, so that the controls' notifications of
  // it are not taken for the user's.
  bool showing_ = false;
};

}  // namespace orvel
