#include "platform/linux/pictures/pixbuf_pictures.h"

#include <fcntl.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/linux/pictures/gif_picture.h"
#include "platform/linux/pictures/jpeg_picture.h"
#include "platform/linux/pictures/pixbuf_image.h"
#include "platform/linux/pictures/wmf_picture.h"

namespace orvel {
namespace {

struct Unref {
  void operator()(GdkPixbuf* pixbuf) const { g_object_unref(pixbuf); }
};
using PixbufPtr = std::unique_ptr<GdkPixbuf, Unref>;

// A loader closed exactly once (GdkPixbuf insists) before it goes.
class Loader {
 public:
  Loader() : loader_(gdk_pixbuf_loader_new()) {}
  ~Loader() {
    Close();
    g_object_unref(loader_);
  }
  Loader(const Loader&) = delete;
  Loader& operator=(const Loader&) = delete;

  GdkPixbufLoader* get() const { return loader_; }
  // False when the data ended before the picture did, or was not a picture.
  bool Close() {
    if (closed_) return false;
    closed_ = true;
    return gdk_pixbuf_loader_close(loader_, nullptr);
  }

 private:
  GdkPixbufLoader* loader_;
  bool closed_ = false;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

long long Pixels(PixelSize size) {
  return static_cast<long long>(size.width) * static_cast<long long>(size.height);
}

// Whether the picture the header announces is too large to decode; a size
// of 0 makes every loader stop before it takes any memory.
void OnSizePrepared(GdkPixbufLoader* loader, gint width, gint height, gpointer refused) {
  const PixelSize own{width, height};
  if (Pixels(own) > kMaxPicturePixels) {
    *static_cast<bool*>(refused) = true;
    gdk_pixbuf_loader_set_size(loader, 0, 0);
  }
}

// Feeds the rest of the file to the loader, which closes it; false when the
// file cannot be read or decoded, or its size is refused.
bool ReadThrough(Loader& loader, std::FILE* file) {
  bool refused = false;
  g_signal_connect(loader.get(), "size-prepared", G_CALLBACK(OnSizePrepared), &refused);
  guchar buffer[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    if (!gdk_pixbuf_loader_write(loader.get(), buffer, got, nullptr) || refused) return false;
  }
  return !std::ferror(file) && loader.Close();
}

// The part of the picture that shows, decoded whole by GdkPixbuf.
std::optional<Picture> DecodeWithPixbuf(std::FILE* file, const DrawnSize& drawn) {
  Loader loader;
  if (!ReadThrough(loader, file)) return std::nullopt;
  GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
  if (pixbuf == nullptr) return std::nullopt;
  const PixelSize own{gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf)};
  if (Pixels(own) > kMaxPicturePixels) return std::nullopt;
  const Rect part = Intersect(drawn.Shown(own), Rect{0, 0, own.width, own.height});
  if (part.Empty()) return std::nullopt;
  const PixbufPtr shown(gdk_pixbuf_new_subpixbuf(pixbuf, part.x, part.y, part.w, part.h));
  Image image(part.w, part.h);
  if (!shown || !PixbufToImage(shown.get(), image, Rgb(0, 0, 0))) return std::nullopt;
  return Picture{std::move(image), own, part};
}

// The file, when it is a regular one: a FIFO named like a picture would
// block the reader for good.
std::unique_ptr<std::FILE, FileCloser> OpenRegular(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  std::unique_ptr<std::FILE, FileCloser> file(fdopen(fd, "rb"));
  if (!file) {
    close(fd);
    return nullptr;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  return file;
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

std::optional<Picture> PixbufPictureLoader::Decode(const std::string& path,
                                                   const DrawnSize& drawn) {
  // Metafiles and GIFs have readers of their own, which give them whole.
  const bool wmf = IsWmfPath(path);
  if (wmf || IsGifFile(path)) {
    std::optional<Image> image = wmf ? LoadWmf(path) : LoadGif(path, kMaxPicturePixels);
    if (!image) return std::nullopt;
    const PixelSize own{image->Width(), image->Height()};
    return Picture{std::move(*image), own};
  }
  try {
    const std::unique_ptr<std::FILE, FileCloser> file = OpenRegular(path);
    if (!file) return std::nullopt;
    char start[3] = {};
    const std::size_t got = std::fread(start, 1, sizeof start, file.get());
    std::rewind(file.get());
    if (LooksLikeJpeg(std::string_view(start, got))) return DecodeJpeg(file.get(), drawn);
    return DecodeWithPixbuf(file.get(), drawn);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

namespace {

// The image as a PNG file, with the coverage as its alpha channel where
// there is one.
bool SavePng(const Image& image, const std::vector<std::uint8_t>* alpha, const std::string& path) {
  if (image.Empty()) return false;
  const bool hasAlpha = alpha != nullptr;
  PixbufPtr pixbuf(gdk_pixbuf_new(GDK_COLORSPACE_RGB, hasAlpha, 8, image.Width(), image.Height()));
  if (!pixbuf) return false;
  const int stride = gdk_pixbuf_get_rowstride(pixbuf.get());
  guchar* data = gdk_pixbuf_get_pixels(pixbuf.get());
  for (int y = 0; y < image.Height(); ++y) {
    guchar* target = data + static_cast<std::ptrdiff_t>(y) * stride;
    const std::uint32_t* row = image.Row(y);
    const std::uint8_t* coverage =
        hasAlpha
            ? alpha->data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width())
            : nullptr;
    for (int x = 0; x < image.Width(); ++x) {
      *target++ = static_cast<guchar>(RedOf(row[x]));
      *target++ = static_cast<guchar>(GreenOf(row[x]));
      *target++ = static_cast<guchar>(BlueOf(row[x]));
      if (hasAlpha) *target++ = coverage[x];
    }
  }
  GError* error = nullptr;
  const bool saved = gdk_pixbuf_save(pixbuf.get(), path.c_str(), "png", &error, nullptr);
  if (error != nullptr) g_error_free(error);
  return saved;
}

}  // namespace

bool SavePng(const Image& image, const std::string& path) { return SavePng(image, nullptr, path); }

bool SavePng(const Sprite& sprite, const std::string& path) {
  if (sprite.alpha.size() != sprite.colour.Pixels().size()) return false;
  return SavePng(sprite.colour, &sprite.alpha, path);
}

}  // namespace orvel
