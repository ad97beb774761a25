#include "platform/linux/saver/cairo_frame.h"

#include <algorithm>
#include <cstdint>

namespace orvel {
namespace {

// How much of the frame goes to the X server in one piece: an orb's
// rectangle in one, a whole screen in a few dozen.
constexpr int kPaintBandBytes = 256 * 1024;

}  // namespace

void CairoFrame::Drop() {
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
  surface_ = nullptr;
  data_ = nullptr;
  width_ = height_ = 0;
}

void CairoFrame::Wrap(const Image& image) {
  const void* data = image.Pixels().data();
  if (surface_ != nullptr && data == data_ && image.Width() == width_ &&
      image.Height() == height_) {
    cairo_surface_mark_dirty(surface_);
    return;
  }
  Drop();
  const int stride = image.Width() * 4;
  if (image.Empty() || cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, image.Width()) != stride) {
    return;
  }
  surface_ = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.Pixels().data())),
      CAIRO_FORMAT_RGB24, image.Width(), image.Height(), stride);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    return;
  }
  data_ = data;
  width_ = image.Width();
  height_ = image.Height();
}

void CairoFrame::Paint(cairo_t* cr, const Rect& area,
                       const std::function<void()>& betweenBands) const {
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, surface_, 0, 0);
  const int rowsPerBand = std::max(1, kPaintBandBytes / (4 * std::max(area.w, 1)));
  for (int top = area.y; top < area.y + area.h; top += rowsPerBand) {
    cairo_rectangle(cr, area.x, top, area.w, std::min(rowsPerBand, area.y + area.h - top));
    cairo_fill(cr);
    if (top + rowsPerBand < area.y + area.h) betweenBands();
  }
}

}  // namespace orvel
