#include "graphics/sprite.h"

#include <algorithm>
#include <cstddef>

namespace orvel {

void DrawSprite(Image& dst, const Sprite& sprite, int x, int y) {
  // In 64 bits: a far-off position must not wrap round into the image.
  const long long left = std::max<long long>(x, 0);
  const long long top = std::max<long long>(y, 0);
  const long long right =
      std::min<long long>(static_cast<long long>(x) + sprite.Width(), dst.Width());
  const long long bottom =
      std::min<long long>(static_cast<long long>(y) + sprite.Height(), dst.Height());
  if (left >= right || top >= bottom) return;
  const Rect area{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                  static_cast<int>(bottom - top)};
  const std::size_t stride = static_cast<std::size_t>(sprite.Width());
  for (int row = area.y; row < area.Bottom(); ++row) {
    const int sy = row - y;
    const std::uint32_t* src = sprite.colour.Row(sy);
    const std::uint8_t* coverage = sprite.alpha.data() + static_cast<std::size_t>(sy) * stride;
    std::uint32_t* out = dst.Row(row);
    for (int column = area.x; column < area.Right(); ++column) {
      const int sx = column - x;
      const int a = coverage[sx];
      if (a == 0) continue;
      const std::uint32_t s = src[sx];
      const std::uint32_t d = out[column];
      out[column] = a == 255 ? s
                             : Rgb(BlendChannel(RedOf(d), RedOf(s), a),
                                   BlendChannel(GreenOf(d), GreenOf(s), a),
                                   BlendChannel(BlueOf(d), BlueOf(s), a));
    }
  }
}

}  // namespace orvel
