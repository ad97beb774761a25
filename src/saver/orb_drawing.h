// Drawing the orbs: soft tinted discs painted into the display image, their
// colours taken from a snapshot of the background.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/image.h"
#include "saver/orbs.h"

namespace orvel {

// The background as the orbs see it, pixel (x, y) at column x, row y from
// the top, 0x00RRGGBB. It has the screen's size: the drawing never touches
// the last column or row, so the one extra column and row that such a map has
// traditionally carried (always 0) would never be read and are left out.
using PixelMap = Image;

inline constexpr int kOrbRadius = 20;
// The side of the square an orb's disc lies in.
inline constexpr int kOrbSide = 2 * kOrbRadius + 1;
// An orb's disc: ring n (1 to 10) holds the offsets (j, k) with
// j*j + k*k <= (2n)^2 that no smaller ring holds, with the weight 10 - n.
inline constexpr int kDiscOffsetCount = 1257;

// Copies the composed background into the map. Both normally have the
// screen's size; if they differ, the overlapping top-left part is copied
// and the rest of the map keeps what it held. A map that is the background
// itself already holds it.
void CapturePixels(const Image& master, PixelMap& pixelMap);

// Paints the ten orbs into display, which may be the map itself: each pixel
// is read only where it is written, once. For each disc offset in write order (by
// ring, then j, then k, ascending), then each orb in index order, the pixel (X + j, Y + k) becomes
// the map's pixel with each channel raised by tint * weight, at most 255. Pixels with px < 0, py <
// 0, px >= screenW - 1 or py >= screenH - 1 are skipped (and any pixel outside display or the map).
// Where discs overlap the later write stays, so tints never add up: the orb for which the pixel
// lies in the larger ring wins, then the larger j, then the larger k, then the larger orb index.
void DrawOrbs(Image& display, const Orbs& orbs, int screenW, int screenH, const PixelMap& pixelMap);
// The same drawing, only its part inside `area`, written to `into`: pixel
// (area.x, area.y) first, rows `stride` pixels apart.
void DrawOrbs(const Rect& area, std::uint32_t* into, std::size_t stride, const Orbs& orbs,
              int screenW, int screenH, const PixelMap& pixelMap);

// The pixels DrawOrbs may write for one orb: its 41 x 41 square clipped to
// columns 0 .. screenW - 2 and rows 0 .. screenH - 2. Empty when the orb is
// wholly off that area.
Rect OrbBounds(const Orb& orb, int screenW, int screenH);

}  // namespace orvel
