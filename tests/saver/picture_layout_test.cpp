#include "saver/picture_layout.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace orvel {
namespace {

TEST(PictureLayout, FitsByThePicturesOrientationCentresAndRoundsHalfToEven) {
  // The screen's size, the picture's size, PictureSize and the placement.
  for (const auto& [sw, sh, pw, ph, size, placed] :
       std::vector<std::tuple<int, int, int, int, int, PicturePlacement>>{
           {1024, 768, 1280, 1024, 1, {0, -26, 1024, 819}},  // 819.2 rows at -25.6
           {1024, 768, 600, 800, 1, {224, 0, 576, 768}},     // upright: full height
           {600, 800, 300, 300, -1, {-100, 0, 800, 800}},    // square: height, overhanging
           {1024, 768, 1023, 767, 0, {0, 0, 1023, 767}},     // 0.5 -> 0
           {1024, 768, 1021, 771, 0, {2, -2, 1021, 771}},    // 1.5 -> 2, -1.5 -> -2
           {1024, 768, 0, 10, 1, {}}})
    EXPECT_EQ(PlacePicture(sw, sh, pw, ph, size), placed) << pw << "x" << ph << " size " << size;
}

TEST(PictureLayout, APictureDecodedSmallerLandsWhereTheWholeOneWould) {
  // 1001 x 667 at an eighth is 126 x 84: fitted by that shape 683 rows high, by its own 682.
  const Picture whole{Image(1001, 667, Rgb(9, 8, 7)), {1001, 667}};
  const Picture eighth{Image(126, 84, Rgb(9, 8, 7)), {1001, 667}};
  for (const int size : {1, 0}) {
    Image fromWhole(1024, 768, Rgb(1, 1, 1)), fromEighth = fromWhole;
    ComposePicture(fromWhole, &whole, size);
    ComposePicture(fromEighth, &eighth, size);
    EXPECT_EQ(fromEighth, fromWhole) << size;
    EXPECT_EQ(fromWhole.At(500, size == 0 ? 50 : 43), Rgb(9, 8, 7)) << size;
    EXPECT_EQ(fromWhole.At(500, size == 0 ? 49 : 42), Rgb(0, 0, 0)) << size;
    EXPECT_EQ(fromWhole.At(500, size == 0 ? 717 : 725), Rgb(0, 0, 0)) << size;
  }
  // A picture that failed to load, or has no size, leaves black.
  Image master(4, 3, Rgb(1, 1, 1));
  ComposePicture(master, nullptr, 1);
  EXPECT_EQ(master, Image(4, 3));
  const Picture sizeless{Image(2, 2, Rgb(1, 1, 1)), {2, 0}};
  ComposePicture(master, &sizeless, 0);
  EXPECT_EQ(master, Image(4, 3));
}

}  // namespace
}  // namespace orvel
