// Pixels of an X window read straight into an Image, a band of rows at a
// time, so that a screen-sized snapshot needs no screen-sized copy on the
// way.
#pragma once

#include <X11/Xlib.h>

#include "graphics/image.h"

namespace orvel {

// Copies the area of `drawable` into the top-left corner of `into`; the
// channels of any true-colour visual are scaled to 8 bits. False, with
// nothing copied, when `into` is smaller than the area; false too when the
// server hands a band over in no form this reads, or not at all (an area
// outside the drawable, say), and `into` then keeps the bands already read.
// X errors are for the caller to trap. A pixmap's pixels are read as of
// `visual` (a pixmap has none of its own).
bool CopyX11Area(::Display* display, Drawable drawable, const Rect& area, Image& into,
                 const Visual* visual = nullptr);

}  // namespace orvel
