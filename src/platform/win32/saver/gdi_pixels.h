// Pixels between Images and GDI device contexts: a window painted from a
// frame, a screen or a window read back into an Image.
#pragma once

#include <windows.h>

#include "graphics/image.h"

namespace orvel {

// Copies the part of `area` that lies inside `image` to the same place of
// the device context.
void DrawImageArea(HDC dc, const Image& image, const Rect& area);

// Copies `area` of the device context into the top-left corner of `into`, a
// band of rows at a time, so that a screen-sized area needs no second
// screen-sized buffer. False, with nothing copied, when `into` is smaller
// than the area or the area is empty; false too where GDI refused, `into`
// then keeping the bands already read.
bool ReadDeviceArea(HDC dc, const Rect& area, Image& into);

}  // namespace orvel
