// GdkPixbuf pixels copied into an Image: the one conversion the picture
// loaders share. Kept apart from pixbuf_pictures.h so that header stays
// free of toolkit headers.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>

#include "graphics/image.h"

namespace orvel {

// Copies the pixbuf into the top-left corner of `into`, as far as both
// reach, each pixel laid over `background` by its opacity (pixbufs without
// alpha are opaque). False, and `into` untouched, when the pixbuf is not
// 8-bit RGB or RGBA.
bool PixbufToImage(const GdkPixbuf* pixbuf, Image& into, std::uint32_t background);

}  // namespace orvel
