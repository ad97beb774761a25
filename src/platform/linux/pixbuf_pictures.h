// Pictures on Linux through GdkPixbuf (the library alone: no display is
// needed), and PNG files written the same way.
#pragma once

#include <string>

#include "platform/linux/wmf_header.h"
#include "platform/platform.h"

namespace orvel {

// Pictures of more pixels than this are not loaded, whatever their format:
// the same bound metafiles have.
inline constexpr long long kMaxPicturePixels = kMaxMetafilePixels;

// Reads BMP, GIF, JPEG, PNG and whatever else GdkPixbuf has a loader for, at
// the picture's own pixel size. Transparent parts come out black, as they
// show over the black background of the slideshow. The orientation a camera
// records in a JPEG is not applied: the picture is drawn as stored. Windows
// metafiles (names ending in ".wmf") are drawn by LoadWmf instead, on white.
// nullopt when the file cannot be read, when the picture is larger than
// kMaxPicturePixels, or when there is no memory for it.
class PixbufPictureLoader : public PictureLoader {
 public:
  std::optional<Image> Load(const std::string& path) override;
};

// Writes the image as a PNG file; false on failure.
bool SavePng(const Image& image, const std::string& path);

}  // namespace orvel
