// The settings dialog's captions on Windows: the texts of the captions,
// display boxes and the link, drawn with GDI over the painted layer.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "dialog/dialog_layout.h"
#include "dialog/dialog_state.h"

namespace orvel {

// The text in UTF-16 for showing: bytes that are not UTF-8 show as U+FFFD
// rather than hiding the whole text.
std::wstring DisplayText(const std::string& text);

// Whether the control's text is drawn by the face (captions, display boxes,
// the link).
bool DrawsText(ControlRole role);

// The dialog's fonts at one resolution: "ＭＳ Ｐゴシック" (or the installed
// face that stands in for it, dialog/gothic_face.h) at 9.75 points in the
// Japanese character set, plain and underlined, and the system's message
// font at 9 points for the music panel.
class DialogFonts {
 public:
  explicit DialogFonts(int dpi);
  ~DialogFonts();
  DialogFonts(const DialogFonts&) = delete;
  DialogFonts& operator=(const DialogFonts&) = delete;

  HFONT Get(DialogFont font) const { return fonts_[static_cast<std::size_t>(font)]; }
  // The font the control's text is drawn in: the link is underlined
  // whatever its table entry says.
  HFONT For(const ControlEntry& entry) const;

 private:
  std::array<HFONT, 3> fonts_{};
};

// Draws the control's text in `rect` (its client rectangle in device
// pixels, at `scale` device pixels to one 96-dpi pixel): aligned as the
// table says, on one line whose baseline lies 11 pixels below the
// rectangle's top (inside the border of a display box), narrowed to the
// rectangle's width when the font runs wider; black, greyed when disabled,
// the link blue. The background stays as it is.
void DrawControlText(HDC dc, const ControlEntry& entry, const ControlState& state, const Rect& rect,
                     HFONT font, double scale);

}  // namespace orvel
