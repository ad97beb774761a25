// The zoom rectangle of the settings dialog on X11: an outline that moves
// from one rectangle to another over the whole screen, drawn straight onto
// the root window and taken away again, as window managers draw their
// wire-frame moves.
#pragma once

#include <vector>

#include "graphics/image.h"

// Xlib's display, without Xlib's macros (None, Bool) in every includer.
struct _XDisplay;

namespace orvel {

// The rectangles the outline passes through on its way, `steps` of them,
// evenly spaced: the last is `to` itself, the first one step away from
// `from`. No rectangles for fewer than one step.
std::vector<Rect> ZoomSteps(const Rect& from, const Rect& to, int steps);

// Draws each rectangle's outline (`lineWidth` pixels wide) on the root
// window of the default screen, over every window, keeps it there for
// `stepMs` milliseconds and draws it again to take it away: the outline is
// drawn by inverting the pixels, so the second drawing restores them. The
// server is held for the animation so that no window paints under an
// outline. Rectangles are in the root window's pixels.
void AnimateX11Zoom(_XDisplay* display, const std::vector<Rect>& steps, int lineWidth, int stepMs);

}  // namespace orvel
