#include "platform/linux/x11_snapshot.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace orvel {
namespace {

// What one band may hold: small beside a screen, large enough that a screen
// takes few round trips.
constexpr long kBandBytes = 256 * 1024;

struct ImageDestroyer {
  void operator()(XImage* image) const { XDestroyImage(image); }
};

// A channel of an X pixel by the visual's mask, scaled to 0 .. 255.
int Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const unsigned long most = mask >> shift;
  return static_cast<int>(((pixel & mask) >> shift) * 255 / most);
}

// The server's pixels are already 0x00RRGGBB as this machine stores them,
// but for the top byte.
bool NativeRgb(const XImage& image) {
  const int native = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  return image.format == ZPixmap && image.bits_per_pixel == 32 && image.byte_order == native &&
         image.red_mask == 0xFF0000 && image.green_mask == 0xFF00 && image.blue_mask == 0xFF;
}

}  // namespace

bool CopyX11Area(::Display* display, Drawable drawable, const Rect& area, Image& into) {
  if (area.Empty() || area.w > into.Width() || area.h > into.Height()) return false;
  const int width = area.w;
  const int rowsPerBand = static_cast<int>(std::max(1L, kBandBytes / (4L * width)));
  for (int top = 0; top < area.h; top += rowsPerBand) {
    const int rows = std::min(rowsPerBand, area.h - top);
    const std::unique_ptr<XImage, ImageDestroyer> band(
        XGetImage(display, drawable, area.x, area.y + top, static_cast<unsigned>(width),
                  static_cast<unsigned>(rows), AllPlanes, ZPixmap));
    if (!band || band->width != width || band->height != rows) return false;
    if (NativeRgb(*band)) {
      for (int row = 0; row < rows; ++row) {
        std::uint32_t* line = into.Row(top + row);
        std::memcpy(line, band->data + static_cast<std::ptrdiff_t>(row) * band->bytes_per_line,
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
        for (int column = 0; column < width; ++column) line[column] &= 0xFFFFFF;
      }
      continue;
    }
    if (band->format != ZPixmap || band->red_mask == 0 || band->green_mask == 0 ||
        band->blue_mask == 0) {
      return false;
    }
    for (int row = 0; row < rows; ++row) {
      std::uint32_t* line = into.Row(top + row);
      for (int column = 0; column < width; ++column) {
        const unsigned long pixel = XGetPixel(band.get(), column, row);
        line[column] = Rgb(Channel(pixel, band->red_mask), Channel(pixel, band->green_mask),
                           Channel(pixel, band->blue_mask));
      }
    }
  }
  return true;
}

}  // namespace orvel
