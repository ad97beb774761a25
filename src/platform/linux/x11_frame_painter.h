// A frame's rectangles put straight onto an X window through the
// connection. Nothing comes back from the server for them (shared memory
// would send a completion for every rectangle, each one waking the program
// between frames), no shared memory stays with the program, and nothing is
// allocated per frame.
#pragma once

#include <X11/Xlib.h>

#include "graphics/image.h"

namespace orvel {

class X11FramePainter {
 public:
  // Whether a window of this visual and depth takes the frame's pixels as
  // they are: 24-bit true colour, red, green and blue in that order. Others
  // (a 32-bit visual with alpha, say) are painted through cairo instead.
  static bool Suits(const Visual* visual, int depth);

  // For `window`, which must be of a visual that suits.
  X11FramePainter(::Display* display, Drawable window, int depth);
  ~X11FramePainter();
  X11FramePainter(const X11FramePainter&) = delete;
  X11FramePainter& operator=(const X11FramePainter&) = delete;

  // Puts `area` of the frame at the same place in the window; nothing of
  // what lies outside the frame. Leaves the request in Xlib's buffer: the
  // caller flushes.
  void Put(const Image& frame, const Rect& area);

 private:
  ::Display* display_;
  Drawable window_;
  GC gc_;
  XImage image_{};
};

}  // namespace orvel
