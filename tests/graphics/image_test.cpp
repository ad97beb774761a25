#include "graphics/image.h"

#include <gtest/gtest.h>

#include <set>

namespace orvel {
namespace {

// An image whose every pixel is different: value = 1000 * (y + 1) + x.
Image Numbered(int w, int h) {
  Image image(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) image.Set(x, y, static_cast<std::uint32_t>(1000 * (y + 1) + x));
  }
  return image;
}

constexpr std::uint32_t kBackdrop = 0x00ABCDEF;

TEST(ImagePixels, ChannelsLayoutAndFill) {
  EXPECT_EQ(Rgb(0x12, 0x34, 0x56), 0x00123456u);
  EXPECT_EQ(RedOf(0x00123456u), 0x12);
  EXPECT_EQ(GreenOf(0x00123456u), 0x34);
  EXPECT_EQ(BlueOf(0x00123456u), 0x56);

  Image image(3, 2, kBackdrop);
  ASSERT_EQ(image.Pixels().size(), 6u);
  for (std::uint32_t p : image.Pixels()) EXPECT_EQ(p, kBackdrop);
  image.Set(2, 1, 7);
  EXPECT_EQ(image.Pixels()[5], 7u);  // rows top-down, left to right
  EXPECT_EQ(image.Row(1)[2], 7u);
  Fill(image, 9);
  for (std::uint32_t p : image.Pixels()) EXPECT_EQ(p, 9u);

  // A rectangle fill is clipped to the image.
  FillRect(image, Rect{-1, 1, 3, 5}, 4);
  EXPECT_EQ(image.Pixels(), (std::vector<std::uint32_t>{9, 9, 9, 4, 4, 9}));

  EXPECT_TRUE(Image(0, 5).Empty());
  EXPECT_TRUE(Image(-3, 5).Empty());
  EXPECT_TRUE(Image(-3, 5).Pixels().empty());
}

TEST(ImageRect, IntersectAndUnion) {
  EXPECT_EQ(Intersect(Rect{0, 0, 10, 10}, Rect{5, -3, 10, 6}), (Rect{5, 0, 5, 3}));
  EXPECT_TRUE(Intersect(Rect{0, 0, 10, 10}, Rect{10, 0, 5, 5}).Empty());  // touching only
  EXPECT_TRUE(Intersect(Rect{0, 0, 10, 10}, Rect{2, 2, 0, 5}).Empty());
  EXPECT_EQ(Union(Rect{0, 0, 2, 2}, Rect{5, 6, 1, 1}), (Rect{0, 0, 6, 7}));
  EXPECT_EQ(Union(Rect{}, Rect{5, 6, 1, 1}), (Rect{5, 6, 1, 1}));
  EXPECT_EQ(Union(Rect{5, 6, 1, 1}, Rect{-100, -100, 0, 0}), (Rect{5, 6, 1, 1}));
  EXPECT_TRUE((Rect{3, 4, 2, 2}).Contains(4, 5));
  EXPECT_FALSE((Rect{3, 4, 2, 2}).Contains(5, 5));
}

TEST(ImageCopy, PlacesClipsAndLeavesTheRest) {
  const Image src = Numbered(4, 3);
  for (int x : {-5, -2, 0, 3, 6, 8}) {
    for (int y : {-4, -1, 0, 2, 5}) {
      Image dst(7, 5, kBackdrop);
      CopyImage(dst, src, x, y);
      for (int dy = 0; dy < dst.Height(); ++dy) {
        for (int dx = 0; dx < dst.Width(); ++dx) {
          const int sx = dx - x;
          const int sy = dy - y;
          const bool inside = sx >= 0 && sx < 4 && sy >= 0 && sy < 3;
          EXPECT_EQ(dst.At(dx, dy), inside ? src.At(sx, sy) : kBackdrop)
              << "at " << dx << "," << dy << " placed " << x << "," << y;
        }
      }
    }
  }
  // A source larger than the target on every side shows its middle.
  const Image big = Numbered(10, 10);
  Image dst(4, 4);
  CopyImage(dst, big, -3, -2);
  EXPECT_EQ(dst.At(0, 0), big.At(3, 2));
  EXPECT_EQ(dst.At(3, 3), big.At(6, 5));
  // Far-off positions write nothing and do not wrap round.
  Image untouched(4, 4, kBackdrop);
  CopyImage(untouched, big, 2147483600, -2147483600);
  CopyImage(untouched, big, -2147483600, 0);
  EXPECT_EQ(untouched, Image(4, 4, kBackdrop));
}

TEST(ImageStretch, SamplesTheNearestSourcePixel) {
  // Three columns to five: (i + 0.5) * 3 / 5 = 0.3, 0.9, 1.5, 2.1, 2.7.
  // Five rows to two: (i + 0.5) * 5 / 2 = 1.25, 3.75.
  const Image src = Numbered(3, 5);
  Image dst(5, 2, kBackdrop);
  StretchImage(dst, src, 0, 0, 5, 2);
  const int columns[] = {0, 0, 1, 2, 2};
  const int rows[] = {1, 3};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(dst.At(x, y), src.At(columns[x], rows[y])) << x << "," << y;
  }

  // The same size is a plain copy.
  Image same(3, 5);
  StretchImage(same, src, 0, 0, 3, 5);
  EXPECT_EQ(same, src);

  // Doubling repeats every row and column exactly twice.
  Image doubled(6, 10);
  StretchImage(doubled, src, 0, 0, 6, 10);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(doubled.At(x, y), src.At(x / 2, y / 2));
  }
}

TEST(ImageStretch, ClippedPartMatchesTheWholeAndNothingForEmptySizes) {
  const Image src = Numbered(7, 5);
  // The whole stretch drawn into a large image, then compared with the same
  // stretch drawn partly off a small one.
  Image whole(40, 30, kBackdrop);
  StretchImage(whole, src, 10, 10, 17, 13);
  for (int x : {-9, -3, 2, 6}) {
    for (int y : {-8, -1, 4}) {
      Image part(12, 9, kBackdrop);
      StretchImage(part, src, x, y, 17, 13);
      for (int py = 0; py < part.Height(); ++py) {
        for (int px = 0; px < part.Width(); ++px) {
          // Pixel (px, py) is stretch pixel (px - x, py - y), which the large
          // image holds at (10 + px - x, 10 + py - y).
          const int i = px - x;
          const int j = py - y;
          const bool inside = i >= 0 && i < 17 && j >= 0 && j < 13;
          EXPECT_EQ(part.At(px, py), inside ? whole.At(10 + i, 10 + j) : kBackdrop)
              << px << "," << py << " placed " << x << "," << y;
        }
      }
    }
  }

  Image dst(5, 5, kBackdrop);
  StretchImage(dst, src, 0, 0, 0, 5);
  StretchImage(dst, src, 0, 0, 5, -1);
  StretchImage(dst, Image(), 0, 0, 5, 5);
  EXPECT_EQ(dst, Image(5, 5, kBackdrop));
}

TEST(ImageStretch, NeverBlends) {
  // A two-colour checker stays two-colour at sizes that drop and repeat.
  Image checker(7, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) checker.Set(x, y, (x + y) % 2 ? Rgb(255, 255, 255) : Rgb(0, 0, 0));
  }
  for (auto [w, h] : {std::pair{13, 11}, std::pair{5, 3}, std::pair{100, 9}}) {
    Image dst(w, h, kBackdrop);
    StretchImage(dst, checker, 0, 0, w, h);
    const std::set<std::uint32_t> colours(dst.Pixels().begin(), dst.Pixels().end());
    EXPECT_EQ(colours, (std::set<std::uint32_t>{Rgb(0, 0, 0), Rgb(255, 255, 255)}))
        << w << "x" << h;
  }
}

TEST(ImageCopyRect, RestoresOnlyTheRectangle) {
  const Image background = Numbered(8, 6);
  Image display(8, 6, kBackdrop);
  CopyRect(display, background, Rect{2, 1, 3, 4});
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 1 && y < 5;
      EXPECT_EQ(display.At(x, y), inside ? background.At(x, y) : kBackdrop);
    }
  }
  // Clipped at the edges; an empty rectangle copies nothing.
  Image clipped(8, 6, kBackdrop);
  CopyRect(clipped, background, Rect{-3, 4, 5, 10});
  EXPECT_EQ(clipped.At(1, 5), background.At(1, 5));
  EXPECT_EQ(clipped.At(2, 5), kBackdrop);
  EXPECT_EQ(clipped.At(0, 3), kBackdrop);
  CopyRect(clipped, background, Rect{0, 0, 0, 6});
  EXPECT_EQ(clipped.At(0, 0), kBackdrop);
  // A smaller source limits the copy instead of being overrun.
  Image small(3, 3, 1);
  Image large(8, 6, kBackdrop);
  CopyRect(large, small, Rect{0, 0, 8, 6});
  EXPECT_EQ(large.At(2, 2), 1u);
  EXPECT_EQ(large.At(3, 2), kBackdrop);
  EXPECT_EQ(large.At(2, 3), kBackdrop);
}

}  // namespace
}  // namespace orvel
