// Shapes far larger than the picture, or reaching far beyond it, drawn at once
// and cut where the picture ends. Both systems' players run these; `draw`
// turns a metafile's bytes into its picture.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "graphics/image.h"
#include "metafile_bytes.h"

namespace orvel::metafile_far_shapes {

using Draw = std::function<std::optional<Image>(const std::string&)>;
using namespace metafile_bytes;

inline void CheckHugeShapes(const Draw& draw) {
  // Both drew for minutes: an ellipse of +-32768 units in a window one unit
  // wide (67 x 67 pixels), which covers the picture, and a rectangle round
  // the window drawn with a pen 75 units wide, which the pen covers; then
  // the ellipse with no pen (a pen of width 0 is one unit wide), which the
  // device fills row by row.
  const std::string head = "d7cdc69a000000000000e803e803a00500000000b152010009000003";
  const std::string hugeEllipse =
      FromHex(head +
              "2f0000000400100000000000050000000c020100010007000000fc020000c81428000000040000002d"
              "01000008000000fa020000010000000000c800040000002d010100070000001804ff7fff7f008000"
              "80030000000000");
  const std::string widePen =
      FromHex(head +
              "340000000400140000000000050000000b0200000000050000000c020100010007000000fc0200"
              "00c81428000000040000002d01000008000000fa0200004b0000000000c800040000002d01010007"
              "0000001b040100010000000000030000000000");
  const std::string noPen =
      Placeable({0, 0, 1000, 1000}, 1440,
                WindowOrg(0, 0) + WindowExt(1, 1) + kRedBrush + Record(0x02FA, {5, 0, 0, 0, 0}) +
                    Record(0x012D, {1}) + Ellipse(32767, 32767, -32768, -32768));
  for (const auto& [bytes, colour] :
       {std::pair{hugeEllipse, Rgb(200, 20, 40)}, std::pair{widePen, Rgb(0, 0, 200)},
        std::pair{noPen, Rgb(200, 20, 40)}}) {
    const std::optional<Image> image = draw(bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 67);
    EXPECT_EQ(image->Height(), 67);
    EXPECT_EQ(CountOther(*image, colour), 0);
  }
}

inline void CheckFarReachingShapes(const Draw& drawBytes) {
  // A 1000 x 600 window of 96 x 58 pixels (0.096 pixels to the unit across,
  // 0.0967 down); every shape reaches thousands of pixels beyond the
  // picture.
  auto draw = [&](const std::string& records) {
    return drawBytes(
        Placeable({0, 0, 1000, 600}, 1000, WindowOrg(0, 0) + WindowExt(600, 1000) + records));
  };
  auto near = [](double value, double edge) { return std::abs(value - edge) < 1.5; };

  // An ellipse whose lower edge crosses the picture: filled above its edge,
  // white below, outlined on the edge.
  std::optional<Image> image = draw(kRedBrushBluePen + Ellipse(300, 30000, -30000, -30000));
  ASSERT_TRUE(image);
  const double down = 58.0 / 600;
  const double cx = 0, cy = -14850 * down, rx = 30000 * 0.096, ry = 15150 * down;
  int wrong = 0;
  for (int y = 0; y < image->Height(); ++y) {
    for (int x = 0; x < image->Width(); ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      const double edge = cy + ry * std::sqrt(std::max(0.0, 1 - dx * dx));
      if (near(y + 0.5, edge)) continue;
      wrong += image->At(x, y) != (dx * dx + dy * dy < 1 ? Rgb(200, 20, 40) : Rgb(255, 255, 255));
    }
  }
  EXPECT_EQ(wrong, 0);
  int row = 0;
  while (row < image->Height() && image->At(48, row) == Rgb(200, 20, 40)) ++row;
  ASSERT_LT(row, image->Height());
  EXPECT_EQ(image->At(48, row), Rgb(0, 0, 200));
  EXPECT_NEAR(row, 28.9, 1);

  // A rectangle from far up and left to (500, 300): its right and bottom
  // sides show in the pen, its cut sides do not.
  image = draw(kRedBrushBluePen + Rectangle(300, 500, -30000, -30000));
  ASSERT_TRUE(image);
  for (int y : {0, 10, 27}) {
    EXPECT_EQ(image->At(0, y), Rgb(200, 20, 40)) << y;
    EXPECT_EQ(image->At(48, y), Rgb(0, 0, 200)) << y;
    EXPECT_EQ(image->At(60, y), Rgb(255, 255, 255)) << y;
  }
  EXPECT_EQ(image->At(20, 29), Rgb(0, 0, 200));
  EXPECT_EQ(image->At(20, 40), Rgb(255, 255, 255));

  // Lines and an open arc across the picture from far outside, with a thin
  // pen and with one 50 units (5 pixels) wide. The arc is a whole ellipse
  // (it starts and ends in the same direction) whose bottom runs about 52.9
  // pixels down at column 60.
  for (int pen : {1, 50}) {
    image =
        draw(RedBrushBluePen(pen) + Line(300, -30000, 300, 30000) + Line(-30000, 500, 30000, 500) +
             Arc(0, 30000, 0, 30000, 550, 30000, -30000, -30000));
    ASSERT_TRUE(image);
    for (int i : {0, 30, 95}) EXPECT_EQ(image->At(i, 29), Rgb(0, 0, 200)) << pen << " " << i;
    for (int i : {0, 20, 57}) EXPECT_EQ(image->At(48, i), Rgb(0, 0, 200)) << pen << " " << i;
    EXPECT_TRUE(image->At(60, 52) == Rgb(0, 0, 200) || image->At(60, 53) == Rgb(0, 0, 200)) << pen;
    EXPECT_EQ(image->At(60, 45), Rgb(255, 255, 255)) << pen;
    EXPECT_EQ(image->At(20, 40), Rgb(255, 255, 255)) << pen;
    EXPECT_EQ(image->At(80, 10), Rgb(255, 255, 255)) << pen;
  }
  // A wide line that passes above the picture, beyond where shapes are cut,
  // whose nib (483 pixels high) reaches about 48 pixels into it; the system's
  // own drawing stops a row short of that.
  image = draw(RedBrushBluePen(5000) + Line(-2000, -30000, -2000, 30000));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(50, 0), Rgb(0, 0, 200));
  EXPECT_EQ(image->At(50, 46), Rgb(0, 0, 200));
  EXPECT_EQ(image->At(50, 57), Rgb(255, 255, 255));

  // A wide pen's rectangle, pie and chord round the picture, and a polygon
  // with a thin pen: filled inside. The pie and the chord start and end in
  // the same direction (the whole ellipse), along the picture's top row,
  // where the pie's radius shows 19 pixels deep.
  const std::string around[] = {
      RedBrushBluePen(400) + Rectangle(30000, 30000, -30000, -30000),
      RedBrushBluePen(400) + Record(0x081A, {0, 30000, 0, 30000, 30000, 30000, -30000, -30000}),
      RedBrushBluePen(400) + Record(0x0830, {0, 30000, 0, 30000, 30000, 30000, -30000, -30000}),
      kRedBrushBluePen + Record(0x0324, {3, -30000, -30000, 30000, -30000, 0, 30000})};
  for (const std::string& shape : around) {
    image = draw(shape);
    ASSERT_TRUE(image);
    for (int y = 25; y < image->Height(); y += 10) {
      for (int x = 0; x < image->Width(); x += 10) {
        EXPECT_EQ(image->At(x, y), Rgb(200, 20, 40)) << x << ", " << y;
      }
    }
  }

  // A thin dashed line inside the picture keeps its dashes, and one from
  // far outside still has them.
  for (int from : {0, -30000}) {
    image =
        draw(Record(0x02FA, {1, 1, 0, 0, 0xC8}) + Record(0x012D, {0}) + Line(300, from, 300, 1000));
    ASSERT_TRUE(image);
    int dashes = 0;
    for (int x = 0; x < image->Width(); ++x) dashes += image->At(x, 29) == Rgb(0, 0, 200);
    EXPECT_GT(dashes, 40) << from;
    EXPECT_LT(dashes, 80) << from;
  }
}

}  // namespace orvel::metafile_far_shapes
