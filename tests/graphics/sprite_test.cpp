#include "graphics/sprite.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>

namespace orvel {
namespace {

// A w x h sprite whose pixel (x, y) has the colour Rgb(x, y, 200) and the given coverage.
Sprite Numbered(int w, int h, std::uint8_t coverage) {
  Sprite sprite{Image(w, h), std::vector<std::uint8_t>(static_cast<std::size_t>(w * h), coverage)};
  for (int i = 0; i < w * h; ++i) sprite.colour.Set(i % w, i / w, Rgb(i % w, i / w, 200));
  return sprite;
}

TEST(DrawSprite, BlendsEachChannelByItsCoverage) {
  Sprite sprite{Image(5, 1, Rgb(255, 0, 200)), {0, 128, 255, 64, 1}};
  Image dst(5, 1, Rgb(0, 255, 100));
  DrawSprite(dst, sprite, 0, 0);
  // None leaves the pixel, full replaces it, half gives each channel's midpoint, a quarter a
  // quarter.
  EXPECT_EQ(dst.At(0, 0), Rgb(0, 255, 100));
  EXPECT_EQ(dst.At(1, 0), Rgb(128, 127, 150));
  EXPECT_EQ(dst.At(2, 0), Rgb(255, 0, 200));
  EXPECT_EQ(dst.At(3, 0), Rgb(64, 191, 125));
  // The faintest coverage still shows where the colours are far apart.
  EXPECT_EQ(dst.At(4, 0), Rgb(1, 254, 100));
  EXPECT_EQ(BlendChannel(10, 250, 255), 250);
  EXPECT_EQ(BlendChannel(10, 250, 0), 10);
}

TEST(DrawSprite, PutsEachPixelInPlaceAndClipsToTheImage) {
  const std::uint32_t back = Rgb(9, 9, 9);
  const Sprite sprite = Numbered(3, 2, 255);
  // Wholly inside: sprite pixel (x, y) lands at (2 + x, 1 + y).
  Image inside(6, 4, back);
  DrawSprite(inside, sprite, 2, 1);
  for (int i = 0; i < 6 * 4; ++i) {
    const int x = i % 6, y = i / 6;
    const bool covered = x >= 2 && x < 5 && y >= 1 && y < 3;
    EXPECT_EQ(inside.At(x, y), covered ? Rgb(x - 2, y - 1, 200) : back) << x << "," << y;
  }
  // Over the top-left corner only its lower right part shows; over the bottom-right its upper left.
  Image corners(4, 4, back);
  DrawSprite(corners, sprite, -1, -1);
  DrawSprite(corners, sprite, 2, 3);
  EXPECT_EQ(corners.At(0, 0), Rgb(1, 1, 200));
  EXPECT_EQ(corners.At(1, 0), Rgb(2, 1, 200));
  EXPECT_EQ(corners.At(2, 0), back);
  EXPECT_EQ(corners.At(0, 1), back);
  EXPECT_EQ(corners.At(2, 3), Rgb(0, 0, 200));
  EXPECT_EQ(corners.At(3, 3), Rgb(1, 0, 200));
  EXPECT_EQ(corners.At(3, 2), back);
  // Far off, or where position plus size would wrap round: nothing written (nor under the
  // sanitizer).
  const Image untouched(4, 4, back);
  Image far = untouched;
  for (int x : {INT_MIN, -3, 4, INT_MAX - 1, INT_MAX}) {
    for (int y : {INT_MIN, -2, 4, INT_MAX - 1, INT_MAX}) DrawSprite(far, sprite, x, y);
  }
  EXPECT_EQ(far, untouched);
  // An empty sprite or an empty image is no fault.
  DrawSprite(far, Sprite{}, 0, 0);
  Image empty;
  DrawSprite(empty, sprite, 0, 0);
  EXPECT_EQ(far, untouched);
}

}  // namespace
}  // namespace orvel
