#include "platform/linux/pixbuf_pictures.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <memory>
#include <new>

#include "platform/linux/pixbuf_image.h"
#include "platform/linux/wmf_picture.h"

namespace orvel {
namespace {

struct Unref {
  void operator()(GdkPixbuf* pixbuf) const { g_object_unref(pixbuf); }
};
using PixbufPtr = std::unique_ptr<GdkPixbuf, Unref>;

bool TooLarge(long long width, long long height) {
  return width > 0 && height > 0 && width * height > kMaxPicturePixels;
}

}  // namespace

bool PixbufToImage(const GdkPixbuf* pixbuf, Image& into, std::uint32_t background) {
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
  if (gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB ||
      gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels != (alpha ? 4 : 3)) {
    return false;
  }
  const int width = std::min(into.Width(), gdk_pixbuf_get_width(pixbuf));
  const int height = std::min(into.Height(), gdk_pixbuf_get_height(pixbuf));
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  const guchar* data = gdk_pixbuf_read_pixels(pixbuf);
  const int backRed = RedOf(background);
  const int backGreen = GreenOf(background);
  const int backBlue = BlueOf(background);
  for (int y = 0; y < height; ++y) {
    const guchar* source = data + static_cast<std::ptrdiff_t>(y) * stride;
    std::uint32_t* row = into.Row(y);
    for (int x = 0; x < width; ++x, source += channels) {
      const int a = alpha ? source[3] : 255;
      auto over = [a](int channel, int back) { return (channel * a + back * (255 - a)) / 255; };
      row[x] = Rgb(over(source[0], backRed), over(source[1], backGreen), over(source[2], backBlue));
    }
  }
  return true;
}

std::optional<Image> PixbufPictureLoader::Load(const std::string& path) {
  if (IsWmfPath(path)) return LoadWmf(path);
  // The size from the file's header, where its format gives one, so that a
  // huge picture is refused before it is decoded.
  gint headerWidth = 0;
  gint headerHeight = 0;
  if (gdk_pixbuf_get_file_info(path.c_str(), &headerWidth, &headerHeight) == nullptr ||
      TooLarge(headerWidth, headerHeight)) {
    return std::nullopt;
  }
  GError* error = nullptr;
  PixbufPtr pixbuf(gdk_pixbuf_new_from_file(path.c_str(), &error));
  if (error != nullptr) g_error_free(error);
  if (!pixbuf) return std::nullopt;
  const int width = gdk_pixbuf_get_width(pixbuf.get());
  const int height = gdk_pixbuf_get_height(pixbuf.get());
  if (TooLarge(width, height)) return std::nullopt;
  try {
    Image image(width, height);
    if (!PixbufToImage(pixbuf.get(), image, Rgb(0, 0, 0))) return std::nullopt;
    return image;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
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
