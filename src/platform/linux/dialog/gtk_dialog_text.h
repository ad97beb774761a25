// The settings dialog's captions on Linux: the texts of the captions,
// display boxes and the link, drawn with Pango over the painted layer.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <string>

#include "dialog/dialog_layout.h"
#include "dialog/dialog_state.h"

namespace orvel {

// Whether the control's text is drawn by the face (captions, display boxes,
// the link).
bool DrawsText(ControlRole role);

// The font of a DialogFont at 96 dpi: the dialog's Gothic, for which Linux
// has a metric-compatible stand-in, or the desktop's dialog font at 9 points
// (`desktopFont` is its name as GTK gives it, "Cantarell 11"). The caller
// frees it.
PangoFontDescription* DialogFontDescription(DialogFont font, const std::string& desktopFont);

// The width, in 96-dpi pixels, that `text` takes in the font.
double TextWidth(PangoContext* context, const PangoFontDescription* font, const std::string& text);

// Draws the control's text in `rect` (its client rectangle): aligned as the
// table says, on one 13-pixel line from the rectangle's top (inside the
// border of a display box), narrowed to the rectangle's width when the font
// runs wider; black, greyed when disabled, the link blue and underlined.
void DrawControlText(cairo_t* cr, const ControlEntry& entry, const ControlState& state,
                     const Rect& rect, const PangoFontDescription* font);

}  // namespace orvel
