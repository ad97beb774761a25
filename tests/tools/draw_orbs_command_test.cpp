#include <gtest/gtest.h>

#include <utility>

#include "tool_runner.h"

namespace orvel {
namespace {

TEST_F(ToolTest, DrawOrbsTintsTheDiscsOverTheBackground) {
  const std::uint32_t grey = Rgb(100, 100, 100);
  ASSERT_TRUE(SavePng(Image(120, 80, grey), Path("grey.png")));
  // An orb in the open, one on the bottom-right pixel, one at the coordinates' far corner.
  const ToolResult result =
      Run("draw-orbs --background grey.png --out out.png --orbs "
          "'30,30,25,15,50;119,79,60,60,60;-32768,32767,255,0,0'");
  ASSERT_EQ(result.status, 0) << result.out;
  const Image image = Load("out.png");
  ASSERT_EQ(std::pair(image.Width(), image.Height()), std::pair(120, 80));
  // The centre (weight 9), ring 5 (weight 5), ring 9 (weight 1) and the rim (the background).
  EXPECT_EQ(image.At(30, 30), Rgb(255, 235, 255));
  EXPECT_EQ(image.At(40, 30), Rgb(225, 175, 255));
  EXPECT_EQ(image.At(30, 48), Rgb(125, 115, 150));
  EXPECT_EQ(image.At(50, 30), grey);
  // The corner orb shows its upper-left quarter, saturated, never on the last column or row.
  EXPECT_EQ(image.At(118, 78), Rgb(255, 255, 255));
  EXPECT_EQ(image.At(119, 79), grey);
}

}  // namespace
}  // namespace orvel
