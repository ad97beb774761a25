#include "platform/linux/dialog/gtk_dialog_pictures.h"

#include <cstddef>
#include <cstdint>

namespace orvel {

cairo_surface_t* WrapImage(Image& image, int scale) {
  // An Image row is Width() pixels of 0x00RRGGBB, which is cairo's RGB24
  // with its stride of four bytes a pixel.
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(image.Pixels().data()), CAIRO_FORMAT_RGB24, image.Width(),
      image.Height(), image.Width() * 4);
  cairo_surface_set_device_scale(surface, scale, scale);
  return surface;
}

cairo_surface_t* SpriteSurface(const Sprite& sprite, int scale) {
  const Image& colour = sprite.colour;
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, colour.Width(), colour.Height());
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < colour.Height(); ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < colour.Width(); ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(colour.Width()) +
                            static_cast<std::size_t>(x);
      const std::uint32_t a = i < sprite.alpha.size() ? sprite.alpha[i] : 255;
      const std::uint32_t pixel = colour.At(x, y);
      // cairo wants each channel already multiplied by the opacity.
      auto times = [a](int channel) {
        return (static_cast<std::uint32_t>(channel) * a + 127) / 255;
      };
      row[x] = (a << 24) | (times(RedOf(pixel)) << 16) | (times(GreenOf(pixel)) << 8) |
               times(BlueOf(pixel));
    }
  }
  cairo_surface_mark_dirty(surface);
  cairo_surface_set_device_scale(surface, scale, scale);
  return surface;
}

GdkCursor* SpriteCursor(GdkDisplay* display, const Sprite& sprite, int hotX, int hotY, int scale) {
  cairo_surface_t* surface = SpriteSurface(sprite, scale);
  // The hot spot is given in the surface's logical pixels.
  GdkCursor* cursor = gdk_cursor_new_from_surface(
      display, surface, static_cast<double>(hotX) / scale, static_cast<double>(hotY) / scale);
  cairo_surface_destroy(surface);
  return cursor;
}

GdkPixbuf* ImagePixbuf(const Image& image) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, image.Width(), image.Height());
  if (pixbuf == nullptr) return nullptr;
  guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  for (int y = 0; y < image.Height(); ++y) {
    guchar* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < image.Width(); ++x) {
      const std::uint32_t pixel = image.At(x, y);
      row[3 * x] = static_cast<guchar>(RedOf(pixel));
      row[3 * x + 1] = static_cast<guchar>(GreenOf(pixel));
      row[3 * x + 2] = static_cast<guchar>(BlueOf(pixel));
    }
  }
  return pixbuf;
}

}  // namespace orvel
