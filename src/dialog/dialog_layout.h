// The settings dialog's controls as data: where each lies, what it shows and
// whether it takes the mouse. Positions are pixels at 96 dots per inch,
// relative to the parent panel's top-left corner; a display with more dots
// per inch scales them all alike.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "graphics/image.h"
#include "platform/platform.h"

namespace orvel {

// Every control the user can see, in the order of the table. Indexed
// control arrays keep their index as a suffix: Img_SR(1) is Img_SR_1.
enum class DialogControl : int {
  // Panels: the content panel and the four group panels on it.
  Pic_C,
  Pic_1_0,
  Pic_1_1,
  Pic_1_2,
  Pic_1_3,
  // Picture order and size.
  Img_H_1,
  lbl_13,
  Img_SR_0,
  lbl_Rdm_Seq_0,
  Img_SR_1,
  lbl_Rdm_Seq_1,
  Img_H_2,
  lbl_10,
  Img_Size_0,
  lbl_Size_0,
  Img_Size_1,
  lbl_Size_1,
  // Picture files.
  Img_H_3,
  lbl_12,
  Img_Button_0,
  lbl_Button_0,
  lbl_Kei,
  lbl_8,
  List_1,
  Img_H_4,
  lbl_6,
  lbl_PreSize,
  Pic_K,
  Img_H_7,
  lbl_11,
  Img_Kind_0,
  lbl_Kind_0,
  Img_Kind_1,
  lbl_Kind_1,
  Img_Kind_2,
  lbl_Kind_2,
  Img_Kind_3,
  lbl_Kind_3,
  Img_Button_1,
  lbl_Button_1,
  Folder_Path,
  // Change interval.
  Img_H_5,
  lbl_14,
  HS_CD,
  lbl_Sec,
  lbl_15,
  // Background music.
  Img_H_6,
  lbl_1,
  Img_BGM_1,
  lbl_BGM_1,
  Img_BGM_0,
  lbl_BGM_0,
  Img_BGM_2,
  lbl_BGM_2,
  BGM_Repeat,
  lbl_2,
  Img_Button_4,
  lbl_Button_4,
  lbl_Fname,
  // On the content panel itself.
  lbl_9,
  lbl_URL,
  Img_Button_2,
  lbl_Button_2,
  Img_Button_3,
  lbl_Button_3,
  Count
};

inline constexpr int kDialogControlCount = static_cast<int>(DialogControl::Count);

// What a control is, which decides how it is drawn and who draws it.
enum class ControlRole {
  Panel,       // marble texture from the panel's own top-left corner
  Heading,     // heading bar (stretched to the control unless it keeps its own size)
  Caption,     // text over whatever lies below
  OptionMark,  // round option mark
  CheckMark,   // square check mark
  ButtonFace,  // button face under a caption
  DisplayBox,  // text in a single border
  PreviewBox,  // the preview picture with its raised frame
  Link,        // underlined text that opens the home page
  List,        // native: the picture list
  ScrollBar,   // native: the interval scroll bar
  RepeatBox,   // native: the editable repeat drop-down
};

enum class TextAlign { Left, Centre, Right };

// "ＭＳ Ｐゴシック" at 9.75 points, plain or underlined, or the platform's
// default dialog font (the music panel).
enum class DialogFont { Gothic, GothicUnderlined, DialogDefault };

struct ControlEntry {
  DialogControl id;
  std::string_view name;  // as the dialog has always named it: "lbl_Button(2)"
  DialogControl parent;   // Pic_C for the group panels and itself
  Rect rect;              // in the parent
  ControlRole role;
  std::string_view caption;  // the designed text ("" for none)
  DialogFont font = DialogFont::Gothic;
  TextAlign align = TextAlign::Left;
  bool hand = false;     // clickable: shows the hand pointer
  bool ownSize = false;  // a heading shown at its picture's own size
};

// The content panel's size: the dialog's client area.
inline constexpr PixelSize kDialogClientSize{557, 489};

// The whole table, indexed by DialogControl.
std::span<const ControlEntry, kDialogControlCount> DialogControls();

const ControlEntry& EntryOf(DialogControl control);

// The control's rectangle in the client area (96-dpi pixels).
Rect ClientRect(DialogControl control);

// The rectangle at a display scale: each edge scaled and rounded, so that
// neighbouring controls stay joined.
Rect ScaleRect(const Rect& rect, double scale);

// The painted control that takes a mouse press at (x, y) in the client area
// (96-dpi pixels): captions over the pictures below them, marks, and the
// link. nullopt where no such control lies (native controls take their own
// presses). Whether the control is enabled is the dialog's business.
std::optional<DialogControl> ClickTargetAt(double x, double y);

}  // namespace orvel
