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
           {1024, 768, 0, 10, 1, {}}}) {
    EXPECT_EQ(PlacePicture(sw, sh, pw, ph, size), placed) << pw << "x" << ph << " size " << size;
  }
}

}  // namespace
}  // namespace orvel
