#include "platform/linux/saver/x11_frame_painter.h"

#include <X11/Xlib-xcb.h>
#include <sys/socket.h>

#include <algorithm>

namespace orvel {
namespace {

// The most a request carries: well within what any server takes without
// the big-requests extension (256 KB), and an orb's rectangle in one piece.
constexpr std::size_t kBandPixels = 48 * 1024;

// A frame's rectangles come to some 100 KB. A local connection takes more
// only while less than a quarter of its buffer waits for the server; with
// the usual 208 KB the program would stop in the middle of a frame until
// the server had read on. Asking for 1 MB gives at least twice the usual
// where the system allows no more.
constexpr int kSendBufferBytes = 1024 * 1024;

void WidenSendBuffer(int socket) {
  int size = 0;
  socklen_t length = sizeof size;
  if (getsockopt(socket, SOL_SOCKET, SO_SNDBUF, &size, &length) == 0 && size < kSendBufferBytes) {
    setsockopt(socket, SOL_SOCKET, SO_SNDBUF, &kSendBufferBytes, sizeof kSendBufferBytes);
  }
}

bool LittleEndian() {
  constexpr std::uint32_t probe = 1;
  return *reinterpret_cast<const unsigned char*>(&probe) == 1;
}

}  // namespace

bool X11FramePainter::Suits(::Display* display, const Visual* visual, int depth) {
  if (visual == nullptr || depth != 24 || visual->c_class != TrueColor ||
      visual->red_mask != 0xff0000 || visual->green_mask != 0x00ff00 ||
      visual->blue_mask != 0x0000ff) {
    return false;
  }
  const xcb_setup_t* setup = xcb_get_setup(XGetXCBConnection(display));
  const bool sameOrder = (setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) == LittleEndian();
  bool wholeWords = false;
  for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem != 0;
       xcb_format_next(&formats)) {
    if (formats.data->depth == depth) {
      wholeWords = formats.data->bits_per_pixel == 32 && formats.data->scanline_pad == 32;
    }
  }
  return sameOrder && wholeWords;
}

X11FramePainter::X11FramePainter(::Display* display, Drawable window, int depth)
    : connection_(XGetXCBConnection(display)),
      window_(static_cast<xcb_drawable_t>(window)),
      gc_(xcb_generate_id(connection_)),
      depth_(static_cast<std::uint8_t>(depth)) {
  xcb_create_gc(connection_, gc_, window_, 0, nullptr);
  WidenSendBuffer(xcb_get_file_descriptor(connection_));
}

X11FramePainter::~X11FramePainter() {
  xcb_free_gc(connection_, gc_);
  xcb_flush(connection_);
}

void X11FramePainter::Put(const Image& frame, std::span<const Rect> changed) {
  const Rect bounds = frame.Bounds();
  for (const Rect& rect : changed) {
    const Rect part = Intersect(rect, bounds);
    if (part.Empty()) continue;
    const int bandRows =
        static_cast<int>(std::max<std::size_t>(1, kBandPixels / static_cast<std::size_t>(part.w)));
    for (int top = part.y; top < part.y + part.h; top += bandRows) {
      const int rows = std::min(bandRows, part.y + part.h - top);
      const std::size_t pixels = static_cast<std::size_t>(part.w) * static_cast<std::size_t>(rows);
      if (rows_.size() < pixels) rows_.resize(pixels);
      std::uint32_t* into = rows_.data();
      for (int y = top; y < top + rows; ++y) {
        into = std::copy_n(
            frame.Pixels().data() + static_cast<std::size_t>(y) * frame.Width() + part.x, part.w,
            into);
      }
      xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_,
                    static_cast<std::uint16_t>(part.w), static_cast<std::uint16_t>(rows),
                    static_cast<std::int16_t>(part.x), static_cast<std::int16_t>(top), 0, depth_,
                    static_cast<std::uint32_t>(pixels * 4),
                    reinterpret_cast<const std::uint8_t*>(rows_.data()));
    }
  }
  xcb_flush(connection_);
}

}  // namespace orvel
