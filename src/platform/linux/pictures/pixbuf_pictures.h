// Pictures on Linux through GdkPixbuf (the library alone: no display is
// needed), and PNG files written the same way.
#pragma once

#include <string>

#include "graphics/sprite.h"
#include "graphics/wmf_header.h"
#include "platform/platform.h"

namespace orvel {

// No more pixels than this are decoded, whatever the format: the same bound
// metafiles have.
inline constexpr long long kMaxPicturePixels = kMaxMetafilePixels;
// Pictures whose own size, as their header gives it, is larger than this are
// refused before anything is decoded, even where a smaller part would do.
inline constexpr long long kMaxPictureOwnPixels = 1LL << 30;
// libjpeg's buffers for a whole picture (a progressive JPEG keeps all of its
// coefficients, two bytes each) may take no more than this: enough for a
// picture of kMaxPicturePixels in full colour, as GdkPixbuf read them before.
inline constexpr long long kMaxJpegWorkBytes = kMaxPicturePixels * 3 * 2;

// Reads BMP, JPEG, PNG and whatever else GdkPixbuf has a loader for, and GIF
// through giflib (LoadGif), whatever their names say. Only the part of a
// picture that shows (DrawnSize::Shown) is kept. JPEG files (known by their
// first bytes) go to DecodeJpeg, which decodes no more than that part and,
// where the picture is drawn smaller, at 1/2, 1/4 or 1/8 of its size, so a
// camera photo of any size shows; other pictures are decoded whole at their
// own size (GdkPixbuf has no cheaper way to a part or a smaller size), so no
// more than kMaxPicturePixels of them. Transparent parts come out black, as
// they show over the black background of the slideshow. The orientation a
// camera records in a JPEG is not applied: the picture is drawn as stored.
// Windows metafiles (names ending in ".wmf") are drawn by LoadWmf instead, on
// white, at their own size. nullopt when the file cannot be read, when more
// than kMaxPicturePixels would be decoded or the picture is larger than
// kMaxPictureOwnPixels, or when there is no memory for it.
class PixbufPictureLoader : public PictureLoader {
 public:
  std::optional<Picture> Decode(const std::string& path, const DrawnSize& drawn) override;
};

// Writes the image as a PNG file; false on failure.
bool SavePng(const Image& image, const std::string& path);
// The same with the sprite's coverage as the PNG's alpha channel.
bool SavePng(const Sprite& sprite, const std::string& path);

}  // namespace orvel
