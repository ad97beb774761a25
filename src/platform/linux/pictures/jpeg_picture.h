// JPEG pictures through libjpeg: only the part of a picture that shows is
// decoded, at the smallest scale that still has every pixel drawn, so that a
// camera photo of any size takes little more memory than the screen.
#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace orvel {

// Whether a file starting with these bytes is a JPEG.
bool LooksLikeJpeg(std::string_view start);

// The JPEG read from `file` (from its start), as far as `drawn` shows it:
// the rows and columns of the part that shows, at 1/2, 1/4 or 1/8 of the
// picture's size where the smallest of these still holds the size drawn
// (sides rounded up, as libjpeg scales). Grey and CMYK pictures come as RGB.
// nullopt when the file is not a JPEG libjpeg reads, ends before the last
// row that shows, is larger than kMaxPictureOwnPixels, would decode to more
// than kMaxPicturePixels, or needs more than kMaxJpegWorkBytes to decode.
std::optional<Picture> DecodeJpeg(std::FILE* file, const DrawnSize& drawn);

}  // namespace orvel
