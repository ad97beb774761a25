// What the settings dialog shows, control by control. The dialog's logic
// keeps it; a face draws from it whenever the logic says a control changed.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "dialog/dialog_layout.h"
#include "graphics/image.h"
#include "platform/platform.h"

namespace orvel {

// The picture a mark, heading or button face shows; None draws nothing
// (a mark whose setting has no valid value stays blank).
enum class Look {
  None,
  OptionEmpty,
  OptionChosen,
  CheckOff,
  CheckOn,
  Heading,
  ButtonResting,
  ButtonPressed,
};

struct ControlState {
  Look look = Look::None;
  std::string text;  // captions, display boxes, the repeat box's text
  bool enabled = true;
};

// The interval scroll bar's range and the position it has before the
// settings are shown.
inline constexpr int kIntervalMin = 5;
inline constexpr int kIntervalMax = 60;
inline constexpr int kIntervalDesigned = 10;

// The preview box's designed size, and the work picture's size and colour
// before any picture was loaded into it.
inline constexpr int kPreviewBoxSize = 100;
inline constexpr PixelSize kEmptyWorkPictureSize{45, 41};

struct DialogState {
  std::array<ControlState, kDialogControlCount> controls;

  ControlState& operator[](DialogControl control) {
    return controls[static_cast<std::size_t>(control)];
  }
  const ControlState& operator[](DialogControl control) const {
    return controls[static_cast<std::size_t>(control)];
  }

  // The picture list (List_1): its entries and the selected one (-1: none).
  std::vector<std::string> listEntries;
  int listSelection = -1;

  // The interval scroll bar (HS_CD).
  int scrollPosition = kIntervalDesigned;

  // The repeat drop-down's entries; its text is controls[BGM_Repeat].text.
  std::vector<std::string> repeatEntries;

  // The work picture (Pic_F): the last picture loaded for the preview and
  // its own size; black 45 x 41 before the first. A large picture may be
  // held at a reduced size, never smaller than the preview needs.
  Image workPicture{kEmptyWorkPictureSize.width, kEmptyWorkPictureSize.height, 0};
  PixelSize workPictureSize = kEmptyWorkPictureSize;
  // The preview box (Pic_K): its size, and whether it shows the work
  // picture scaled to that size (false: white, as built).
  PixelSize previewSize{kPreviewBoxSize, kPreviewBoxSize};
  bool previewShowsPicture = false;

  // The state of a dialog just built from its table, before the settings
  // are shown: the designed captions, all controls enabled, no looks.
  static DialogState Designed();
};

}  // namespace orvel
