// A picture with coverage: the small pictures of the settings dialog's skin
// (marks, bars, the hand cursor) that lie over the marble texture.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/image.h"

namespace orvel {

// Its colours (0x00RRGGBB) and per pixel how much of it covers what lies
// below, 0 (nothing) to 255 (opaque): colour.Width() * colour.Height()
// values, rows from the top. Where the coverage is 0 the colour is 0.
struct Sprite {
  Image colour;
  std::vector<std::uint8_t> alpha;

  int Width() const { return colour.Width(); }
  int Height() const { return colour.Height(); }
  // Unchecked; (x, y) must lie inside the sprite.
  std::uint8_t AlphaAt(int x, int y) const {
    return alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width()) +
                 static_cast<std::size_t>(x)];
  }
};

// One channel of src laid over dst with the coverage a (0 to 255), rounded
// to the nearest value.
constexpr int BlendChannel(int dst, int src, int a) {
  return (src * a + dst * (255 - a) + 127) / 255;
}

// Paints the sprite over dst with its top-left corner at (x, y), blending
// by coverage (source over). Positions may be negative or beyond dst; only
// the part that falls inside dst is written.
void DrawSprite(Image& dst, const Sprite& sprite, int x, int y);

}  // namespace orvel
