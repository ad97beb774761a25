#include "platform/linux/saver/x11_snapshot.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <memory>

namespace orvel {
namespace {

// What one band may hold: small beside a screen, large enough that a screen
// takes few round trips.
constexpr long kBandBytes = 256 * 1024;

struct ImageDestroyer {
  void operator()(XImage* image) const { XDestroyImage(image); }
};

// Where one channel lies in a pixel of the visual, and how far it counts.
struct ChannelBits {
  explicit ChannelBits(unsigned long bits)
      : mask(bits), shift(std::countr_zero(bits)), most(bits >> shift) {}

  // The channel of `pixel`, scaled to 0 .. 255.
  int Of(unsigned long pixel) const {
    return static_cast<int>(((pixel & mask) >> shift) * 255 / most);
  }

  unsigned long mask;
  int shift;
  unsigned long most;
};

}  // namespace

bool CopyX11Area(::Display* display, Drawable drawable, const Rect& area, Image& into,
                 const Visual* visual) {
  if (area.Empty() || area.w > into.Width() || area.h > into.Height()) return false;
  const int width = area.w;
  const int rowsPerBand = static_cast<int>(std::max(1L, kBandBytes / (4L * width)));
  for (int top = 0; top < area.h; top += rowsPerBand) {
    const int rows = std::min(rowsPerBand, area.h - top);
    const std::unique_ptr<XImage, ImageDestroyer> band(
        XGetImage(display, drawable, area.x, area.y + top, static_cast<unsigned>(width),
                  static_cast<unsigned>(rows), AllPlanes, ZPixmap));
    // Xlib makes the band as large as asked for, or none. A pixmap has no
    // visual to take the colour masks from: they come from `visual`, and
    // without them the band cannot be read.
    if (band && band->red_mask == 0 && visual != nullptr) {
      band->red_mask = visual->red_mask;
      band->green_mask = visual->green_mask;
      band->blue_mask = visual->blue_mask;
    }
    if (!band || band->red_mask == 0 || band->green_mask == 0 || band->blue_mask == 0) {
      return false;
    }
    const ChannelBits red(band->red_mask), green(band->green_mask), blue(band->blue_mask);
    // Pixels of 32 bits in this machine's byte order (the usual case) are
    // read straight from the band, any others through Xlib.
    const int native = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    const bool direct = band->bits_per_pixel == 32 && band->byte_order == native;
    for (int row = 0; row < rows; ++row) {
      std::uint32_t* line = into.Row(top + row);
      const auto* data = reinterpret_cast<const std::uint32_t*>(
          band->data + static_cast<std::ptrdiff_t>(row) * band->bytes_per_line);
      for (int column = 0; column < width; ++column) {
        const unsigned long pixel = direct ? data[column] : XGetPixel(band.get(), column, row);
        line[column] = Rgb(red.Of(pixel), green.Of(pixel), blue.Of(pixel));
      }
    }
  }
  return true;
}

}  // namespace orvel
