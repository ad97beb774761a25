// Top-level windows of the X display, found by title.
#pragma once

#include <string>

namespace orvel {

// Whether a top-level window titled exactly `title` (UTF-8) exists on the
// display named by $DISPLAY, shown or not: the windows the window manager
// lists as its clients and the root window's children, or, without a window
// manager that lists them, the root window's children and theirs (a
// frame's client). A window has the title when its _NET_WM_NAME or its
// WM_NAME reads as it. False when no display opens.
bool X11WindowExists(const std::string& title);

}  // namespace orvel
