#include "platform/linux/saver/x11_frame_painter.h"

#include <X11/Xlib-xcb.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>
#include <xcb/shm.h>

#include <algorithm>
#include <cstdlib>

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

// Each half of the shared area holds a frame of ten orbs' squares six
// times over; a larger present (a new picture) goes through the connection.
constexpr std::size_t kSharedHalfPixels = 64 * 1024;

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
  ShareMemory();
}

X11FramePainter::~X11FramePainter() {
  if (SharesMemory()) {
    xcb_shm_detach(connection_, segment_);
    munmap(shared_.data(), shared_.size_bytes());
  }
  xcb_free_gc(connection_, gc_);
  xcb_flush(connection_);
}

// A memory file handed to the server over the connection: nothing is left
// behind in the system however the program ends. Only a local socket
// carries files (on any other, trying would end the connection), and only
// a server on this machine shares memory.
void X11FramePainter::ShareMemory() {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(xcb_get_file_descriptor(connection_), reinterpret_cast<sockaddr*>(&address),
                  &length) != 0 ||
      address.ss_family != AF_UNIX) {
    return;
  }
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection_, &xcb_shm_id);
  if (extension == nullptr || !extension->present) return;
  const std::size_t bytes = 2 * kSharedHalfPixels * sizeof(std::uint32_t);
  const int file = memfd_create("orvel-frame", MFD_CLOEXEC);
  if (file < 0) return;
  void* memory = ftruncate(file, static_cast<off_t>(bytes)) == 0
                     ? mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0)
                     : MAP_FAILED;
  if (memory == MAP_FAILED) {
    close(file);
    return;
  }
  // The request takes the file and closes it once sent. A server that takes
  // no files (before version 1.2 of the extension) refuses it.
  segment_ = xcb_generate_id(connection_);
  xcb_generic_error_t* error =
      xcb_request_check(connection_, xcb_shm_attach_fd_checked(connection_, segment_, file, 1));
  if (error != nullptr) {
    std::free(error);
    munmap(memory, bytes);
    return;
  }
  shared_ = std::span(static_cast<std::uint32_t*>(memory), 2 * kSharedHalfPixels);
}

void X11FramePainter::Put(const Frame& frame, std::span<const Rect> changed) {
  const Rect bounds = frame.Bounds();
  const std::span<std::uint32_t> half =
      SharesMemory() ? shared_.subspan(secondHalf_ ? kSharedHalfPixels : 0, kSharedHalfPixels)
                     : std::span<std::uint32_t>();
  std::size_t used = 0;
  for (const Rect& rect : changed) {
    const Rect part = Intersect(rect, bounds);
    if (part.Empty()) continue;
    const std::size_t pixels = static_cast<std::size_t>(part.w) * static_cast<std::size_t>(part.h);
    if (pixels > half.size() - used) {
      PutInBands(frame, part);
      continue;
    }
    frame.Compose(part, half.data() + used, static_cast<std::size_t>(part.w));
    const auto w = static_cast<std::uint16_t>(part.w);
    const auto h = static_cast<std::uint16_t>(part.h);
    xcb_shm_put_image(
        connection_, window_, gc_, w, h, 0, 0, w, h, static_cast<std::int16_t>(part.x),
        static_cast<std::int16_t>(part.y), depth_, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_,
        static_cast<std::uint32_t>((half.data() + used - shared_.data()) * sizeof(std::uint32_t)));
    used += pixels;
  }
  if (used != 0) secondHalf_ = !secondHalf_;
  xcb_flush(connection_);
}

void X11FramePainter::PutInBands(const Frame& frame, const Rect& part) {
  frame.ComposeInBands(
      part, kBandPixels, rows_, [this](const Rect& rows, const std::uint32_t* pixels) {
        xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_,
                      static_cast<std::uint16_t>(rows.w), static_cast<std::uint16_t>(rows.h),
                      static_cast<std::int16_t>(rows.x), static_cast<std::int16_t>(rows.y), 0,
                      depth_, static_cast<std::uint32_t>(rows.w * rows.h * 4),
                      reinterpret_cast<const std::uint8_t*>(pixels));
      });
}

}  // namespace orvel
