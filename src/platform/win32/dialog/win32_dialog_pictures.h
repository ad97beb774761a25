// The dialog's core pictures handed to GDI: the painted layer drawn onto a
// device context, the hand pointer as a cursor, the window icon as an icon.
#pragma once

#include <windows.h>

#include "graphics/image.h"
#include "graphics/sprite.h"

namespace orvel {

// Draws the whole image 1:1 with its top-left corner at the device
// context's (0, 0).
void DrawImage(HDC dc, const Image& image);

// A cursor showing the sprite with its coverage as alpha, its hot spot at
// (hotX, hotY) in the sprite's pixels; nullptr when it cannot be made. The
// caller destroys it (DestroyCursor).
HCURSOR SpriteCursor(const Sprite& sprite, int hotX, int hotY);

// An opaque icon of the image's pixels; nullptr when it cannot be made. The
// caller destroys it (DestroyIcon).
HICON ImageIcon(const Image& image);

}  // namespace orvel
