// Windows metafiles drawn with libwmf's own player. GdkPixbuf's metafile
// loader leaves ellipses unfilled, and so does libwmf's bitmap device, so
// the curved shapes are handed to that device as polygons.
#pragma once

#include <optional>
#include <string>

#include "graphics/image.h"

namespace orvel {

// Whether the file's name ends in ".wmf", in any letter case.
bool IsWmfPath(const std::string& path);

// The metafile drawn at its size in pixels at 96 dots per inch (see
// ReadPlaceableMetafile), on white where it draws nothing. nullopt when the
// file is missing, unreadable, not a placeable metafile or not playable.
std::optional<Image> LoadWmf(const std::string& path);

}  // namespace orvel
