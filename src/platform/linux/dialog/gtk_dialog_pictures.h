// The dialog's core pictures handed to GTK and cairo: the painted layer as
// a cairo surface, the hand pointer as a cursor, the icon as a pixbuf.
#pragma once

#include <cairo.h>
#include <gdk/gdk.h>

#include "graphics/image.h"
#include "graphics/sprite.h"

namespace orvel {

// A cairo surface over the image's own pixels (not copied: the image must
// outlive it), `scale` device pixels to one logical pixel.
cairo_surface_t* WrapImage(Image& image, int scale);

// The sprite as a premultiplied ARGB surface of its own, `scale` device
// pixels to one logical pixel.
cairo_surface_t* SpriteSurface(const Sprite& sprite, int scale);

// A pointer showing the sprite, its hot spot at (hotX, hotY) in the
// sprite's pixels.
GdkCursor* SpriteCursor(GdkDisplay* display, const Sprite& sprite, int hotX, int hotY, int scale);

// An opaque pixbuf of the image's pixels.
GdkPixbuf* ImagePixbuf(const Image& image);

}  // namespace orvel
