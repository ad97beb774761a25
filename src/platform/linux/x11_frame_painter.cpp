#include "platform/linux/x11_frame_painter.h"

#include <sys/socket.h>

#include <cstdint>

namespace orvel {
namespace {

// A frame's rectangles come to some 80 KB. A local connection takes more
// only while less than a quarter of its buffer waits for the server; with
// the usual 208 KB the program would stop in the middle of every frame
// until the server had read on. Asking for 1 MB gives at least twice the
// usual where the system allows no more.
constexpr int kSendBufferBytes = 1024 * 1024;

void WidenSendBuffer(int socket) {
  int size = 0;
  socklen_t length = sizeof size;
  if (getsockopt(socket, SOL_SOCKET, SO_SNDBUF, &size, &length) == 0 && size < kSendBufferBytes) {
    setsockopt(socket, SOL_SOCKET, SO_SNDBUF, &kSendBufferBytes, sizeof kSendBufferBytes);
  }
}

}  // namespace

bool X11FramePainter::Suits(const Visual* visual, int depth) {
  return visual != nullptr && depth == 24 && visual->c_class == TrueColor &&
         visual->red_mask == 0xff0000 && visual->green_mask == 0x00ff00 &&
         visual->blue_mask == 0x0000ff;
}

X11FramePainter::X11FramePainter(::Display* display, Drawable window, int depth)
    : display_(display), window_(window), gc_(XCreateGC(display, window, 0, nullptr)) {
  WidenSendBuffer(ConnectionNumber(display));
  image_.format = ZPixmap;
  image_.depth = depth;
  image_.bits_per_pixel = 32;
  image_.bitmap_unit = 32;
  image_.bitmap_pad = 32;
  image_.red_mask = 0xff0000;
  image_.green_mask = 0x00ff00;
  image_.blue_mask = 0x0000ff;
  // The frame's 32-bit values as they lie in memory; Xlib swaps the bytes
  // where the server wants the other order.
  constexpr std::uint32_t probe = 1;
  const bool littleEndian = *reinterpret_cast<const unsigned char*>(&probe) == 1;
  image_.byte_order = littleEndian ? LSBFirst : MSBFirst;
  image_.bitmap_bit_order = image_.byte_order;
}

X11FramePainter::~X11FramePainter() { XFreeGC(display_, gc_); }

void X11FramePainter::Put(const Image& frame, const Rect& area) {
  const Rect part = Intersect(area, frame.Bounds());
  if (part.Empty()) return;
  // The header is set afresh only when another image comes; it wraps the
  // frame's pixels where they lie.
  char* data = reinterpret_cast<char*>(const_cast<std::uint32_t*>(frame.Pixels().data()));
  if (image_.data != data || image_.width != frame.Width() || image_.height != frame.Height()) {
    image_.data = data;
    image_.width = frame.Width();
    image_.height = frame.Height();
    image_.bytes_per_line = frame.Width() * 4;
    XInitImage(&image_);
  }
  XPutImage(display_, window_, gc_, &image_, part.x, part.y, part.x, part.y,
            static_cast<unsigned>(part.w), static_cast<unsigned>(part.h));
}

}  // namespace orvel
