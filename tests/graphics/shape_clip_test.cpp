#include "graphics/shape_clip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace orvel {
namespace {

const ClipBox kBox{0, 0, 10, 10};

bool AllInside(const std::vector<ClipPoint>& points) {
  return std::ranges::all_of(points, [](const ClipPoint& p) { return kBox.Contains(p); });
}

TEST(ShapeClip, CutsPolygonsToTheBoxKeepingWhatLiesInside) {
  // A square over the top-left corner keeps its quarter; one around the box becomes the box; a
  // triangle leaving the box left and right cuts off two corners of 12.5.
  for (const auto& [shape, area] : std::vector<std::pair<std::vector<ClipPoint>, double>>{
           {{{-5, -5}, {5, -5}, {5, 5}, {-5, 5}}, 25},
           {{{-100, -50}, {300, -50}, {300, 70}, {-100, 70}}, 100},
           {{{-5, 0}, {15, 0}, {5, 10}}, 75}}) {
    const std::vector<ClipPoint> cut = ClipPolygon(shape, kBox);
    EXPECT_TRUE(AllInside(cut)) << area;
    EXPECT_NEAR(PolygonArea(cut), area, 1e-9);
  }
  // One inside stays exactly as it was; one beside the box leaves nothing.
  const std::vector<ClipPoint> inside{{1, 1}, {9, 2}, {4, 9}};
  std::vector<ClipPoint> cut = ClipPolygon(inside, kBox);
  ASSERT_EQ(cut.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(cut[i].x, inside[i].x);
    EXPECT_EQ(cut[i].y, inside[i].y);
  }

  EXPECT_LT(ClipPolygon(std::vector<ClipPoint>{{11, 0}, {20, 0}, {15, 10}}, kBox).size(), 3u);

  // A diamond crossing every side of the box: each corner, a triangle of 4.5, is cut away.
  const std::vector<ClipPoint> diamond{{5, -2}, {12, 5}, {5, 12}, {-2, 5}};
  cut = ClipPolygon(diamond, kBox);
  EXPECT_TRUE(AllInside(cut));
  EXPECT_EQ(cut.size(), 8u);
  EXPECT_NEAR(PolygonArea(cut), 100 - 4 * 4.5, 1e-9);
}

TEST(ShapeClip, CutsSegmentsToTheBoxWithInnerEndsUntouched) {
  auto expect = [](ClipPoint from, ClipPoint to, ClipPoint a, ClipPoint b) {
    const auto cut = ClipSegment(from, to, kBox);
    ASSERT_TRUE(cut);
    EXPECT_DOUBLE_EQ(cut->first.x, a.x);
    EXPECT_DOUBLE_EQ(cut->first.y, a.y);
    EXPECT_DOUBLE_EQ(cut->second.x, b.x);
    EXPECT_DOUBLE_EQ(cut->second.y, b.y);
  };
  expect({1.25, 2.5}, {7.75, 9.125}, {1.25, 2.5}, {7.75, 9.125});
  expect({-10, 5}, {20, 5}, {0, 5}, {10, 5});
  expect({20, 5}, {-10, 5}, {10, 5}, {0, 5});
  expect({5, -10}, {5, 20}, {5, 0}, {5, 10});
  expect({5, 20}, {5, -10}, {5, 10}, {5, 0});
  expect({-5, -5}, {5, 5}, {0, 0}, {5, 5});
  expect({5, 5}, {15, 15}, {5, 5}, {10, 10});
  // Beside the box, across a corner without touching it, and along an edge outside.
  EXPECT_FALSE(ClipSegment({-1, -1}, {-5, 20}, kBox));
  EXPECT_FALSE(ClipSegment({-2, 1}, {1, -2}, kBox));
  EXPECT_FALSE(ClipSegment({11, 0}, {11, 10}, kBox));
}

TEST(ShapeClip, SweepsTheNibAlongTheLine) {
  // Along an axis: one rectangle; diagonally: the nib at both ends and a band as wide as its
  // diagonal.
  std::vector<ClipPoint> swept = SweptNib({0, 0}, {10, 0}, 1, 2);
  EXPECT_EQ(swept.size(), 4u);
  EXPECT_DOUBLE_EQ(PolygonArea(swept), 12 * 4);
  swept = SweptNib({10, 10}, {0, 0}, 1, 1);
  EXPECT_EQ(swept.size(), 6u);
  EXPECT_DOUBLE_EQ(PolygonArea(swept), 4 + 40);
  swept = SweptNib({0, 10}, {10, 0}, 1, 1);
  EXPECT_DOUBLE_EQ(PolygonArea(swept), 4 + 40);
  swept = SweptNib({3, 3}, {3, 3}, 2, 1);
  EXPECT_DOUBLE_EQ(PolygonArea(swept), 8);
}

}  // namespace
}  // namespace orvel
