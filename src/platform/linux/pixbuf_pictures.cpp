#include "platform/linux/pixbuf_pictures.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <memory>

#include "platform/linux/wmf_picture.h"

namespace orvel {
namespace {

struct Unref {
  void operator()(GdkPixbuf* pixbuf) const { g_object_unref(pixbuf); }
};
using PixbufPtr = std::unique_ptr<GdkPixbuf, Unref>;

}  // namespace

std::optional<Image> PixbufPictureLoader::Load(const std::string& path) {
  if (IsWmfPath(path)) return LoadWmf(path);
  GError* error = nullptr;
  PixbufPtr pixbuf(gdk_pixbuf_new_from_file(path.c_str(), &error));
  if (error != nullptr) g_error_free(error);
  if (!pixbuf || gdk_pixbuf_get_colorspace(pixbuf.get()) != GDK_COLORSPACE_RGB ||
      gdk_pixbuf_get_bits_per_sample(pixbuf.get()) != 8) {
    return std::nullopt;
  }
  const int width = gdk_pixbuf_get_width(pixbuf.get());
  const int height = gdk_pixbuf_get_height(pixbuf.get());
  const int channels = gdk_pixbuf_get_n_channels(pixbuf.get());
  const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf.get());
  const int stride = gdk_pixbuf_get_rowstride(pixbuf.get());
  const guchar* data = gdk_pixbuf_read_pixels(pixbuf.get());
  Image image(width, height);
  for (int y = 0; y < height; ++y) {
    const guchar* source = data + static_cast<std::ptrdiff_t>(y) * stride;
    std::uint32_t* row = image.Row(y);
    for (int x = 0; x < width; ++x, source += channels) {
      const int a = alpha ? source[3] : 255;
      // Over black: each channel scaled by the pixel's opacity.
      row[x] = Rgb(source[0] * a / 255, source[1] * a / 255, source[2] * a / 255);
    }
  }
  return image;
}

bool SavePng(const Image& image, const std::string& path) {
  if (image.Empty()) return false;
  PixbufPtr pixbuf(gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, image.Width(), image.Height()));
  if (!pixbuf) return false;
  const int stride = gdk_pixbuf_get_rowstride(pixbuf.get());
  guchar* data = gdk_pixbuf_get_pixels(pixbuf.get());
  for (int y = 0; y < image.Height(); ++y) {
    guchar* target = data + static_cast<std::ptrdiff_t>(y) * stride;
    const std::uint32_t* row = image.Row(y);
    for (int x = 0; x < image.Width(); ++x) {
      *target++ = static_cast<guchar>(RedOf(row[x]));
      *target++ = static_cast<guchar>(GreenOf(row[x]));
      *target++ = static_cast<guchar>(BlueOf(row[x]));
    }
  }
  GError* error = nullptr;
  const bool saved = gdk_pixbuf_save(pixbuf.get(), path.c_str(), "png", &error, nullptr);
  if (error != nullptr) g_error_free(error);
  return saved;
}

}  // namespace orvel
