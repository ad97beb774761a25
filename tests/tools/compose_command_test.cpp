#include <gtest/gtest.h>

#include <utility>

#include "tool_runner.h"

namespace orvel {
namespace {

TEST_F(ToolTest, ComposeFitsAnUprightPictureToTheScreenHeightBetweenBlackBands) {
  // 600 x 800: red on its left half, blue on its right, the row (mod 256) in green.
  Image picture(600, 800);
  for (int y = 0; y < 800; ++y) {
    for (int x = 0; x < 600; ++x)
      picture.Set(x, y, Rgb(x < 300 ? 200 : 0, y % 256, x < 300 ? 0 : 200));
  }
  ASSERT_TRUE(SavePng(picture, Path("upright.png")));
  ASSERT_EQ(Run("compose --screen 1024x768 --picture-size 1 upright.png --out out.png").status, 0);
  // 576 x 768 at x = 224; the picture's first and last rows reach the screen's edges.
  const Image master = Load("out.png");
  ASSERT_EQ(std::pair(master.Width(), master.Height()), std::pair(1024, 768));
  for (int y : {0, 767}) {
    EXPECT_EQ(master.At(223, y), Rgb(0, 0, 0)) << y;
    EXPECT_EQ(RedOf(master.At(224, y)), 200) << y;
    EXPECT_EQ(BlueOf(master.At(799, y)), 200) << y;
    EXPECT_EQ(master.At(800, y), Rgb(0, 0, 0)) << y;
    EXPECT_EQ(GreenOf(master.At(500, y)), y == 0 ? 0 : 799 % 256) << y;
  }
}

}  // namespace
}  // namespace orvel
