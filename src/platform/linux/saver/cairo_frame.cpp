#include "platform/linux/saver/cairo_frame.h"

namespace orvel {
namespace {

// How much of the frame goes to the X server in one piece: an orb's
// rectangle in one, a whole screen in a few dozen.
constexpr std::size_t kPaintBandPixels = 64 * 1024;

}  // namespace

void CairoFrame::Paint(cairo_t* cr, const Frame& frame, const Rect& area,
                       const std::function<void()>& betweenBands) {
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  bool first = true;
  frame.ComposeInBands(area, kPaintBandPixels, band_, [&](const Rect& rows, std::uint32_t* pixels) {
    if (!first) betweenBands();
    first = false;
    // Rows of 32-bit values 0x00RRGGBB are cairo's RGB24, 4 bytes a pixel
    // with no padding.
    cairo_surface_t* band = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(pixels), CAIRO_FORMAT_RGB24, rows.w, rows.h, rows.w * 4);
    cairo_set_source_surface(cr, band, rows.x, rows.y);
    cairo_rectangle(cr, rows.x, rows.y, rows.w, rows.h);
    cairo_fill(cr);
    // cairo has sent the band or copied what it still needs of it: let go
    // before the band is composed again.
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_surface_destroy(band);
  });
}

}  // namespace orvel
