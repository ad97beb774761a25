#include "saver/picture_layout.h"

#include <gtest/gtest.h>

#include <set>

namespace orvel {
namespace {

constexpr int kFit = 1;
constexpr int kUnscaled = 0;
constexpr std::uint32_t kBlack = 0;

Image Numbered(int w, int h) {
  Image image(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) image.Set(x, y, Rgb(x & 0xFF, y & 0xFF, 0x80 | ((x + y) & 0x7F)));
  }
  return image;
}

TEST(PictureLayoutPlace, FitsByThePicturesOwnOrientation) {
  // Wider than high: full width, 1024 / 1280 * 1024 = 819.2 rows at -25.6.
  EXPECT_EQ(PlacePicture(1024, 768, 1280, 1024, kFit), (PicturePlacement{0, -26, 1024, 819}));
  EXPECT_EQ(PlacePicture(1024, 768, 640, 480, kFit), (PicturePlacement{0, 0, 1024, 768}));
  // Upright: full height, black bands left and right.
  EXPECT_EQ(PlacePicture(1024, 768, 600, 800, kFit), (PicturePlacement{224, 0, 576, 768}));
  // Square: the height decides even on a tall screen, where it overhangs.
  EXPECT_EQ(PlacePicture(1024, 768, 50, 50, kFit), (PicturePlacement{128, 0, 768, 768}));
  EXPECT_EQ(PlacePicture(600, 800, 300, 300, kFit), (PicturePlacement{-100, 0, 800, 800}));
  // Any non-zero size setting means fitted.
  EXPECT_EQ(PlacePicture(1024, 768, 640, 480, -1), PlacePicture(1024, 768, 640, 480, kFit));
  // A picture of the screen's size lands the same way in both modes.
  EXPECT_EQ(PlacePicture(1024, 768, 1024, 768, kFit),
            PlacePicture(1024, 768, 1024, 768, kUnscaled));
}

TEST(PictureLayoutPlace, UnscaledCentresWithTiesToEven) {
  EXPECT_EQ(PlacePicture(1024, 768, 1023, 768, kUnscaled), (PicturePlacement{0, 0, 1023, 768}));
  EXPECT_EQ(PlacePicture(1024, 768, 1021, 765, kUnscaled), (PicturePlacement{2, 2, 1021, 765}));
  EXPECT_EQ(PlacePicture(1024, 768, 1019, 763, kUnscaled), (PicturePlacement{2, 2, 1019, 763}));
  // Larger than the screen: cut evenly, negative ties to even too.
  EXPECT_EQ(PlacePicture(1024, 768, 1025, 771, kUnscaled), (PicturePlacement{0, -2, 1025, 771}));
  EXPECT_EQ(PlacePicture(1024, 768, 1029, 773, kUnscaled), (PicturePlacement{-2, -2, 1029, 773}));
  EXPECT_EQ(PlacePicture(1024, 768, 2048, 100, kUnscaled),
            (PicturePlacement{-512, 334, 2048, 100}));
  // Fitted sizes and positions round half to even as well: 2 * 15 / 4 = 7.5
  // rows -> 8 at (5 - 7.5) / 2 = -1.25 -> -1; 6.5 rows -> 6 at 1.75 -> 2.
  EXPECT_EQ(PlacePicture(15, 5, 4, 2, kFit), (PicturePlacement{0, -1, 15, 8}));
  EXPECT_EQ(PlacePicture(13, 10, 4, 2, kFit), (PicturePlacement{0, 2, 13, 6}));
  EXPECT_EQ(PlacePicture(20, 5, 2, 2, kFit), (PicturePlacement{8, 0, 5, 5}));  // x = 7.5
  EXPECT_EQ(PlacePicture(22, 5, 2, 2, kFit), (PicturePlacement{8, 0, 5, 5}));  // x = 8.5
  EXPECT_EQ(PlacePicture(30, 5, 4, 5, kFit), (PicturePlacement{13, 0, 4, 5}));
  EXPECT_EQ(PlacePicture(30, 5, 2, 4, kFit).width, 2);  // 2.5 -> 2
  EXPECT_EQ(PlacePicture(30, 7, 2, 4, kFit).width, 4);  // 3.5 -> 4
  // No pixels: nothing to place, and no division by zero.
  EXPECT_EQ(PlacePicture(1024, 768, 0, 0, kFit), (PicturePlacement{}));
  EXPECT_EQ(PlacePicture(1024, 768, 0, 10, kFit), (PicturePlacement{}));
}

TEST(PictureLayoutCompose, ClearsToBlackAndPlacesThePicture) {
  const Image picture = Numbered(30, 10);
  Image master(40, 20, Rgb(255, 255, 255));
  ComposePicture(master, picture, kUnscaled);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 5 && x < 35 && y >= 5 && y < 15;
      EXPECT_EQ(master.At(x, y), inside ? picture.At(x - 5, y - 5) : kBlack) << x << "," << y;
    }
  }

  // Fitted: 30 x 10 on 40 x 20 becomes 40 x 13.33 -> 13 at y = 3.33 -> 3;
  // every output pixel is one of the picture's own, rows 0-2 and 16-19 black.
  Image fitted(40, 20, Rgb(255, 255, 255));
  ComposePicture(fitted, picture, kFit);
  const std::set<std::uint32_t> own(picture.Pixels().begin(), picture.Pixels().end());
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      if (y < 3 || y >= 16) {
        EXPECT_EQ(fitted.At(x, y), kBlack) << x << "," << y;
      } else {
        EXPECT_TRUE(own.count(fitted.At(x, y))) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(fitted.At(0, 3), picture.At(0, 0));
  EXPECT_EQ(fitted.At(39, 15), picture.At(29, 9));

  // A screen-sized picture is the same in both modes.
  const Image screenSized = Numbered(40, 20);
  Image a(40, 20);
  Image b(40, 20);
  ComposePicture(a, screenSized, kUnscaled);
  ComposePicture(b, screenSized, kFit);
  EXPECT_EQ(a, screenSized);
  EXPECT_EQ(b, screenSized);
}

TEST(PictureLayoutCompose, CheckerStaysTwoColoured) {
  Image checker(64, 48);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) checker.Set(x, y, (x + y) % 2 ? Rgb(255, 0, 0) : Rgb(0, 0, 255));
  }
  Image master(1024, 768);
  ComposePicture(master, checker, kFit);  // 16x, exactly filling
  const std::set<std::uint32_t> colours(master.Pixels().begin(), master.Pixels().end());
  EXPECT_EQ(colours, (std::set<std::uint32_t>{Rgb(255, 0, 0), Rgb(0, 0, 255)}));

  Image shrunk(100, 75);
  ComposePicture(shrunk, checker, kFit);  // rows and columns dropped
  const std::set<std::uint32_t> shrunkColours(shrunk.Pixels().begin(), shrunk.Pixels().end());
  EXPECT_EQ(shrunkColours, (std::set<std::uint32_t>{Rgb(255, 0, 0), Rgb(0, 0, 255)}));
}

TEST(PictureLayoutCompose, FailedOrEmptyPictureLeavesBlack) {
  Image master(16, 9, Rgb(1, 2, 3));
  ComposePicture(master, nullptr, kFit);
  EXPECT_EQ(master, Image(16, 9, kBlack));
  Fill(master, Rgb(1, 2, 3));
  ComposePicture(master, Image(), kUnscaled);
  EXPECT_EQ(master, Image(16, 9, kBlack));
  Fill(master, Rgb(1, 2, 3));
  ComposePicture(master, Image(0, 5), kFit);
  EXPECT_EQ(master, Image(16, 9, kBlack));
}

}  // namespace
}  // namespace orvel
