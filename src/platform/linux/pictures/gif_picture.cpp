#include "platform/linux/pictures/gif_picture.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <vector>

namespace orvel {
namespace {

struct GifCloser {
  void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using GifPtr = std::unique_ptr<GifFileType, GifCloser>;

// Only a regular file is opened: a FIFO named like a picture would block the
// reader for good.
int OpenRegular(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

// The transparent colour index that a graphic control extension gives the
// image after it, or NO_TRANSPARENT_COLOR; skips every other extension.
bool ReadExtension(GifFileType* gif, int& transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
    GraphicsControlBlock control{};
    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
      transparent = control.TransparentColor;
    }
  }
  while (block != nullptr) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

// Decodes the image whose descriptor comes next onto the canvas.
bool ReadImage(GifFileType* gif, int transparent, Image& canvas) {
  if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
  const GifImageDesc& desc = gif->Image;
  const ColorMapObject* colours = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
  if (colours == nullptr) return false;
  std::array<std::uint32_t, 256> palette{};
  for (int i = 0; i < std::min(colours->ColorCount, 256); ++i) {
    const GifColorType& c = colours->Colors[i];
    palette[static_cast<std::size_t>(i)] = Rgb(c.Red, c.Green, c.Blue);
  }
  std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
  auto put = [&](int row) {
    const int y = desc.Top + row;
    if (y < 0 || y >= canvas.Height()) return;
    std::uint32_t* target = canvas.Row(y);
    for (int column = 0; column < desc.Width; ++column) {
      const int x = desc.Left + column;
      const int index = line[static_cast<std::size_t>(column)];
      if (x >= 0 && x < canvas.Width() && index != transparent) {
        target[x] = index < colours->ColorCount ? palette[static_cast<std::size_t>(index)] : 0;
      }
    }
  };
  // An interlaced image comes in four passes: every eighth row from row 0,
  // every eighth from 4, every fourth from 2, every second from 1.
  constexpr int kStarts[] = {0, 4, 2, 1};
  constexpr int kSteps[] = {8, 8, 4, 2};
  const int passes = desc.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int step = desc.Interlace ? kSteps[pass] : 1;
    for (int row = desc.Interlace ? kStarts[pass] : 0; row < desc.Height; row += step) {
      if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) return false;
      put(row);
    }
  }
  return true;
}

}  // namespace

bool IsGifFile(const std::string& path) {
  const int fd = OpenRegular(path);
  if (fd < 0) return false;
  char magic[6] = {};
  const bool gif =
      read(fd, magic, sizeof magic) == sizeof magic &&
      (std::string_view(magic, 6) == "GIF87a" || std::string_view(magic, 6) == "GIF89a");
  close(fd);
  return gif;
}

std::optional<Image> LoadGif(const std::string& path, long long maxPixels) {
  const int fd = OpenRegular(path);
  if (fd < 0) return std::nullopt;
  int error = 0;
  // giflib owns the descriptor from here, also when it fails.
  GifPtr gif(DGifOpenFileHandle(fd, &error));
  if (!gif) return std::nullopt;
  const long long pixels = static_cast<long long>(gif->SWidth) * gif->SHeight;
  if (pixels <= 0 || pixels > maxPixels) return std::nullopt;
  try {
    Image canvas(gif->SWidth, gif->SHeight);
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
      GifRecordType type = UNDEFINED_RECORD_TYPE;
      if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return std::nullopt;
      if (type == EXTENSION_RECORD_TYPE) {
        if (!ReadExtension(gif.get(), transparent)) return std::nullopt;
      } else if (type == IMAGE_DESC_RECORD_TYPE) {
        if (!ReadImage(gif.get(), transparent, canvas)) return std::nullopt;
        return canvas;
      } else {
        // The file ended before its first image.
        return std::nullopt;
      }
    }
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace orvel
