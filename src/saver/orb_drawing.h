// Drawing the orbs: soft tinted discs painted into the display image, their
// colours taken from a snapshot of the background.
#pragma once

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

// One offset of an orb's disc with the weight of the ring it first falls in.
struct DiscOffset {
  std::int8_t j;        // columns from the centre, -20 .. 20
  std::int8_t k;        // rows from the centre, -20 .. 20
  std::uint8_t ring;    // 1 .. 10, radius 2 * ring
  std::uint8_t weight;  // 10 - ring, 9 at the centre down to 0 at the rim
};

inline constexpr int kOrbRadius = 20;
inline constexpr int kDiscOffsetCount = 1257;

// The 1257 offsets of a disc in the order they are written: by ring (the
// smallest ring of radius 2n holding j*j + k*k), then j, then k, ascending.
std::span<const DiscOffset> DiscOffsets();

// Copies the composed background into the map. Both normally have the
// screen's size; if they differ, the overlapping top-left part is copied
// and the rest of the map keeps what it held.
void CapturePixels(const Image& master, PixelMap& pixelMap);

// Paints the ten orbs into display. For each disc offset in DiscOffsets()
// order, then each orb in index order, the pixel (X + j, Y + k) becomes the
// map's pixel with each channel raised by tint * weight, at most 255. Pixels
// with px < 0, py < 0, px >= screenW - 1 or py >= screenH - 1 are skipped
// (and any pixel outside display or the map). Where discs overlap the later
// write stays, so tints never add up: the orb for which the pixel lies in
// the larger ring wins, then the larger j, then the larger k, then the
// larger orb index.
void DrawOrbs(Image& display, const Orbs& orbs, int screenW, int screenH, const PixelMap& pixelMap);

// The pixels DrawOrbs may write for one orb: its 41 x 41 square clipped to
// columns 0 .. screenW - 2 and rows 0 .. screenH - 2. Empty when the orb is
// wholly off that area.
Rect OrbBounds(const Orb& orb, int screenW, int screenH);

}  // namespace orvel
