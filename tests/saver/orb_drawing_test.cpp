#include "saver/orb_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "graphics/random.h"

namespace orvel {
namespace {

// Never produced by DrawOrbs (its top byte is set), so any pixel still
// holding it was not written.
constexpr std::uint32_t kUnwritten = 0xFF000000u;

// The drawing written out literally, with a fresh Visited grid and the
// scan of each ring's whole square.
void ReferenceDrawOrbs(Image& display, const Orbs& orbs, int w, int h, const PixelMap& map) {
  bool visited[41][41] = {};
  for (int ring = 1; ring <= 10; ++ring) {
    const int r = 2 * ring;
    for (int j = -r; j <= r; ++j) {
      for (int k = -r; k <= r; ++k) {
        if (visited[j + 20][k + 20] || j * j + k * k > r * r) continue;
        for (const Orb& orb : orbs) {
          const int px = orb.X + j;
          const int py = orb.Y + k;
          if (px >= w - 1 || px < 0 || py < 0 || py >= h - 1) continue;
          const std::uint32_t c = map.At(px, py);
          const int red = std::min(255, RedOf(c) + orb.TintR * (10 - ring));
          const int green = std::min(255, GreenOf(c) + orb.TintG * (10 - ring));
          const int blue = std::min(255, BlueOf(c) + orb.TintB * (10 - ring));
          display.Set(px, py, Rgb(red, green, blue));
        }
        visited[j + 20][k + 20] = true;
      }
    }
  }
}

// Ten orbs with the table's tints, all far off the screen; tests move the
// ones they need into view.
Orbs HiddenOrbs() {
  Orbs orbs{};
  for (std::size_t i = 0; i < orbs.size(); ++i) {
    orbs[i] = Orb{-1000, -1000, OrbTints[i].r, OrbTints[i].g, OrbTints[i].b};
  }
  return orbs;
}

int WrittenCount(const Image& display) {
  return static_cast<int>(std::count_if(display.Pixels().begin(), display.Pixels().end(),
                                        [](std::uint32_t p) { return p != kUnwritten; }));
}

TEST(OrbDrawingDisc, RingsHoldTheirOffsetsInWriteOrder) {
  const auto offsets = DiscOffsets();
  ASSERT_EQ(offsets.size(), 1257u);
  const int expected[11] = {0, 13, 36, 64, 84, 120, 124, 172, 184, 212, 248};
  int counts[11] = {};
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    const DiscOffset& o = offsets[i];
    ASSERT_GE(o.ring, 1);
    ASSERT_LE(o.ring, 10);
    ++counts[o.ring];
    EXPECT_EQ(o.weight, 10 - o.ring);
    const int d = o.j * o.j + o.k * o.k;
    EXPECT_LE(d, 4 * o.ring * o.ring);
    if (o.ring > 1) {
      EXPECT_GT(d, 4 * (o.ring - 1) * (o.ring - 1));
    }
    if (i > 0) {
      const DiscOffset& p = offsets[i - 1];
      EXPECT_TRUE(std::tie(p.ring, p.j, p.k) < std::tie(o.ring, o.j, o.k)) << "entry " << i;
    }
  }
  for (int ring = 1; ring <= 10; ++ring) EXPECT_EQ(counts[ring], expected[ring]) << "ring " << ring;

  // The same sizes seen on the screen: over grey, orb 0's green channel is
  // 100 + 15 * weight, a different value for every ring.
  const PixelMap map(121, 121, Rgb(100, 100, 100));
  Image display(121, 121, kUnwritten);
  Orbs orbs = HiddenOrbs();
  orbs[0].X = 60;
  orbs[0].Y = 60;
  DrawOrbs(display, orbs, 121, 121, map);
  std::map<int, int> byGreen;
  for (std::uint32_t p : display.Pixels()) {
    if (p != kUnwritten) ++byGreen[GreenOf(p)];
  }
  for (int ring = 1; ring <= 10; ++ring) {
    EXPECT_EQ(byGreen[100 + 15 * (10 - ring)], expected[ring]) << "ring " << ring;
  }
  EXPECT_EQ(WrittenCount(display), 1257);
}

TEST(OrbDrawingColour, TintTimesWeightClampedPerChannel) {
  const PixelMap grey(200, 200, Rgb(100, 100, 100));
  Image display(200, 200, kUnwritten);
  Orbs orbs = HiddenOrbs();
  orbs[0].X = 100;
  orbs[0].Y = 100;
  DrawOrbs(display, orbs, 200, 200, grey);
  EXPECT_EQ(display.At(100, 100), Rgb(255, 235, 255));  // centre, weight 9
  EXPECT_EQ(display.At(110, 100), Rgb(225, 175, 255));  // ring 5, weight 5
  EXPECT_EQ(display.At(100, 82), Rgb(125, 115, 150));   // ring 9, weight 1
  EXPECT_EQ(display.At(80, 100), Rgb(100, 100, 100));   // the rim, weight 0
  EXPECT_EQ(display.At(120, 101), kUnwritten);          // just outside the disc

  // 250 + 60 * 9 stops at 255; a tint of 0 keeps the channel. Orb 7 has
  // tints (15, 0, 60), orb 8 (60, 15, 0).
  const PixelMap bright(200, 200, Rgb(250, 120, 250));
  Image display2(200, 200, kUnwritten);
  Orbs two = HiddenOrbs();
  two[7].X = 50;
  two[7].Y = 50;
  two[8].X = 150;
  two[8].Y = 150;
  DrawOrbs(display2, two, 200, 200, bright);
  EXPECT_EQ(display2.At(50, 50), Rgb(255, 120, 255));
  EXPECT_EQ(display2.At(50, 68), Rgb(255, 120, 255));  // weight 1: 265 and 310
  EXPECT_EQ(display2.At(150, 150), Rgb(255, 255, 250));
  EXPECT_EQ(display2.At(150, 134), Rgb(255, 150, 250));  // ring 8, weight 2
}

TEST(OrbDrawingClip, EdgesShowPartDiscsAndNeverTheLastColumnOrRow) {
  constexpr int kW = 80;
  constexpr int kH = 60;
  const PixelMap map(kW, kH, Rgb(10, 20, 30));

  auto drawnAlone = [&](int x, int y) {
    Image display(kW, kH, kUnwritten);
    Orbs orbs = HiddenOrbs();
    orbs[3].X = static_cast<std::int16_t>(x);
    orbs[3].Y = static_cast<std::int16_t>(y);
    DrawOrbs(display, orbs, kW, kH, map);
    return display;
  };
  // Which pixels the disc at (x, y) should cover, worked out from its shape.
  auto expectedCover = [&](int x, int y, int px, int py) {
    const int j = px - x;
    const int k = py - y;
    return j * j + k * k <= 400 && px < kW - 1 && py < kH - 1;
  };

  struct Case {
    int x, y;
    int count;
  };
  // Quarter disc (j, k >= 0): the centre, 20 + 20 on the axes and the
  // (1257 - 81) / 4 = 294 offsets with j, k > 0. Left half at x = W: j from
  // -20 to -2 (column W - 1 is never written).
  for (const Case& c : {Case{0, 0, 335}, Case{kW, 30, -1}, Case{40, kH, -1}, Case{kW, kH, -1}}) {
    const Image display = drawnAlone(c.x, c.y);
    int expectedCount = 0;
    for (int py = 0; py < kH; ++py) {
      for (int px = 0; px < kW; ++px) {
        const bool covered = expectedCover(c.x, c.y, px, py);
        expectedCount += covered;
        EXPECT_EQ(display.At(px, py) != kUnwritten, covered)
            << px << "," << py << " orb at " << c.x << "," << c.y;
      }
    }
    if (c.count >= 0) {
      EXPECT_EQ(expectedCount, c.count);
    }
    EXPECT_EQ(WrittenCount(display), expectedCount);
    for (int py = 0; py < kH; ++py) EXPECT_EQ(display.At(kW - 1, py), kUnwritten);
    for (int px = 0; px < kW; ++px) EXPECT_EQ(display.At(px, kH - 1), kUnwritten);
  }

  // Bounds of those orbs.
  EXPECT_EQ(OrbBounds(Orb{0, 0}, kW, kH), (Rect{0, 0, 21, 21}));
  EXPECT_EQ(OrbBounds(Orb{kW, 30}, kW, kH), (Rect{kW - 20, 10, 19, 41}));
  EXPECT_EQ(OrbBounds(Orb{-20, 30}, kW, kH), (Rect{0, 10, 1, 41}));
  EXPECT_TRUE(OrbBounds(Orb{-21, 30}, kW, kH).Empty());
  EXPECT_TRUE(OrbBounds(Orb{40, kH + 21}, kW, kH).Empty());

  // A display or map smaller than the screen is not overrun.
  Image small(30, 30, kUnwritten);
  Orbs orbs = HiddenOrbs();
  orbs[0].X = 25;
  orbs[0].Y = 25;
  DrawOrbs(small, orbs, 1024, 768, PixelMap(20, 1000, 0));
  EXPECT_EQ(small.At(19, 25), Rgb(175, 105, 255));  // ring 3, weight 7, last map column
  EXPECT_EQ(small.At(20, 25), kUnwritten);          // beyond the map
}

TEST(OrbDrawingOverlap, LaterWriteWinsExactlyAsTheLiteralScan) {
  Random random(99);
  for (auto [w, h] : {std::pair{97, 61}, std::pair{41, 41}, std::pair{160, 90}, std::pair{400, 300},
                      std::pair{2, 2}, std::pair{1, 1}}) {
    PixelMap map(w, h);
    for (std::uint32_t& p : map.Pixels()) {
      p = Rgb(random.Below(256), random.Below(256), random.Below(256));
    }
    for (int trial = 0; trial < 150; ++trial) {
      Orbs orbs{};
      for (std::size_t i = 0; i < orbs.size(); ++i) {
        orbs[i].TintR = static_cast<std::int16_t>(random.Below(61));
        orbs[i].TintG = static_cast<std::int16_t>(random.Below(61));
        orbs[i].TintB = static_cast<std::int16_t>(random.Below(61));
        if (i > 0 && random.Below(4) == 0) {
          // Shares the centre of an earlier orb.
          const Orb& other = orbs[static_cast<std::size_t>(random.Below(static_cast<int>(i)))];
          orbs[i].X = other.X;
          orbs[i].Y = other.Y;
        } else {
          orbs[i].X = static_cast<std::int16_t>(random.Below(w + 50) - 25);
          orbs[i].Y = static_cast<std::int16_t>(random.Below(h + 50) - 25);
        }
      }
      Image fast(w, h, kUnwritten);
      Image slow(w, h, kUnwritten);
      DrawOrbs(fast, orbs, w, h, map);
      ReferenceDrawOrbs(slow, orbs, w, h, map);
      ASSERT_EQ(fast, slow) << w << "x" << h << " trial " << trial;

      // Every changed pixel lies inside some orb's bounds.
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          if (fast.At(x, y) == kUnwritten) continue;
          const bool inBounds = std::any_of(orbs.begin(), orbs.end(), [&](const Orb& orb) {
            return OrbBounds(orb, w, h).Contains(x, y);
          });
          ASSERT_TRUE(inBounds) << x << "," << y;
        }
      }
    }
  }

  // Two orbs on one centre: the larger index wins everywhere. One orb in
  // the other's rim: the rim (weight 0, written later) erases the tint.
  const PixelMap grey(100, 100, Rgb(100, 100, 100));
  Orbs orbs = HiddenOrbs();
  orbs[2].X = orbs[5].X = 50;
  orbs[2].Y = orbs[5].Y = 50;
  Image display(100, 100, kUnwritten);
  DrawOrbs(display, orbs, 100, 100, grey);
  EXPECT_EQ(display.At(50, 50), Rgb(255, 235, 255));  // orb 5: (60, 15, 35) x 9
  orbs[2].X = 70;                                     // orb 2's centre sits on orb 5's rim
  Image display2(100, 100, kUnwritten);
  DrawOrbs(display2, orbs, 100, 100, grey);
  EXPECT_EQ(display2.At(70, 50), Rgb(100, 100, 100));
  EXPECT_EQ(display2.At(71, 50), Rgb(235, 255, 145));  // orb 2: (15, 40, 5) x 9
}

TEST(OrbDrawingCapture, CopiesTheBackgroundIntoTheMap) {
  Image master(6, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) master.Set(x, y, Rgb(x * 10, y * 10, 7));
  }
  PixelMap map(6, 4, 0);
  CapturePixels(master, map);
  EXPECT_EQ(map, master);

  // A smaller master fills the overlap only; a larger one is cut.
  PixelMap wide(8, 5, 1);
  CapturePixels(master, wide);
  EXPECT_EQ(wide.At(5, 3), master.At(5, 3));
  EXPECT_EQ(wide.At(6, 3), 1u);
  EXPECT_EQ(wide.At(5, 4), 1u);
  PixelMap narrow(3, 2, 1);
  CapturePixels(master, narrow);
  EXPECT_EQ(narrow.At(2, 1), master.At(2, 1));

  // The next frame draws against the new map.
  Orbs orbs = HiddenOrbs();
  orbs[9].X = 2;
  orbs[9].Y = 1;
  Image display(6, 4, kUnwritten);
  DrawOrbs(display, orbs, 6, 4, map);
  EXPECT_EQ(display.At(2, 1), Rgb(20 + 7 * 9, 10 + 20 * 9, 7));
  CapturePixels(Image(6, 4, Rgb(0, 0, 200)), map);
  DrawOrbs(display, orbs, 6, 4, map);
  EXPECT_EQ(display.At(2, 1), Rgb(63, 180, 200));
}

}  // namespace
}  // namespace orvel
