// Pixels between Images and GDI device contexts: a window painted from a
// frame, a screen or a window read back into an Image.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "graphics/frame.h"
#include "graphics/image.h"

namespace orvel {

// Puts the part of `area` that lies inside the frame at the same place of
// the device context, composed a band of rows at a time into `band`.
void DrawFrameArea(HDC dc, const Frame& frame, const Rect& area, std::vector<std::uint32_t>& band);

// Copies `area` of the device context into the top-left corner of `into`, a
// band of rows at a time, so that a screen-sized area needs no second
// screen-sized buffer. False, with nothing copied, when `into` is smaller
// than the area or the area is empty; false too where GDI refused, `into`
// then keeping the bands already read.
bool ReadDeviceArea(HDC dc, const Rect& area, Image& into);

}  // namespace orvel
