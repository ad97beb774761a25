// A frame's rectangles put onto an X window, all of a frame's in one write.
// Where the server shares memory with the program, the pixels of a frame's
// usual rectangles (the orbs' squares) go through a small shared area and
// only the requests through the connection; the rest, and everything on
// servers that share none, go in the requests themselves. Nothing comes
// back from the server for either (no completion notes, which would wake
// the program between frames), Xlib does not look for events after each
// one, and nothing is allocated per frame once the first frames have been
// put.
#pragma once

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/frame.h"

namespace orvel {

class X11FramePainter {
 public:
  // Whether a window of this visual and depth on this display takes the
  // frame's pixels as they lie in memory: 24-bit true colour, red, green
  // and blue in that order, 32 bits a pixel in this machine's byte order.
  // Others (a 32-bit visual with alpha, say) are painted through cairo.
  static bool Suits(::Display* display, const Visual* visual, int depth);

  // For `window` of `display`, of a visual that suits.
  X11FramePainter(::Display* display, Drawable window, int depth);
  ~X11FramePainter();
  X11FramePainter(const X11FramePainter&) = delete;
  X11FramePainter& operator=(const X11FramePainter&) = delete;

  // Puts the frame's `changed` rectangles at their places in the window
  // (what lies outside the frame is left out) and sends them on their way.
  void Put(const Frame& frame, std::span<const Rect> changed);

  // Whether a shared area carries the usual rectangles.
  bool SharesMemory() const { return !shared_.empty(); }

 private:
  void ShareMemory();
  // Sends `part` of `frame` in requests of at most a band each.
  void PutInBands(const Frame& frame, const Rect& part);
  xcb_connection_t* connection_;
  xcb_drawable_t window_;
  xcb_gcontext_t gc_;
  std::uint8_t depth_;
  // The shared area, two halves that frames take in turn (empty without
  // one): the server has a whole frame's time to read a half before it is
  // written again, without the program waiting to hear that it has.
  std::span<std::uint32_t> shared_;
  std::uint32_t segment_ = 0;
  bool secondHalf_ = false;
  // A band of a rectangle's rows one after another, as a request carries them.
  std::vector<std::uint32_t> rows_;
};

}  // namespace orvel
