// GIF pictures through giflib: the first image of the file, decoded in time
// linear in its size (GdkPixbuf's GIF loader takes time that grows with the
// square of a large picture's data).
#pragma once

#include <optional>
#include <string>

#include "graphics/image.h"

namespace orvel {

// Whether the file starts as a GIF does ("GIF87a" or "GIF89a"), whatever its
// name says.
bool IsGifFile(const std::string& path);

// The first image of a GIF file on its logical screen, with what it leaves
// uncovered and its transparent colour black (as they show over the black
// background of the slideshow). nullopt when the file cannot be read or
// decoded, or when its screen holds more than maxPixels pixels.
std::optional<Image> LoadGif(const std::string& path, long long maxPixels);

}  // namespace orvel
