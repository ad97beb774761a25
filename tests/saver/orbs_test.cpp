// The orbs: the move step with its wraps, the drawing against a literal reference, the map.
#include "saver/orbs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "saver/orb_drawing.h"

namespace orvel {
namespace {

constexpr int kW = 1024, kH = 768;

// Orbs that the next frame's draws bring to `at` before any wrap (dx, dy: the signs of the steps);
// `at` then holds those draws: per orb in index order, sideways (below 20), then upward (below 10).
Orbs OrbsLandingOn(std::vector<std::pair<int, int>>& at, int dx, int dy, Random random) {
  Orbs orbs{};
  for (std::size_t i = 0; i < at.size(); ++i) {
    const int d = random.Below(20), e = random.Below(10);
    orbs[i] = Orb{std::int16_t(at[i].first - dx * d), std::int16_t(at[i].second + dy * e), 0, 0, 0};
    at[i] = {d, e};
  }
  return orbs;
}

// Three frames on one generator: each must take its twenty draws in order.
TEST(OrbsMove, DrawsSidewaysThenUpPerOrbAndWrapsAtTheEdges) {
  Random random(77);
  // Rightward: landing on W - 20 stays, W - 19 comes back at -20, same height.
  std::vector<std::pair<int, int>> v = {{kW - 20, 400}, {kW - 19, 400}};
  Orbs orbs = OrbsLandingOn(v, 1, 0, random);
  MoveOrbs(orbs, 1, kW, kH, random);
  EXPECT_EQ(orbs[0], (Orb{kW - 20, std::int16_t(400 - v[0].second), 0, 0, 0}));
  EXPECT_EQ(orbs[1], (Orb{-20, std::int16_t(400 - v[1].second), 0, 0, 0}));
  // Leftward: 20 stays; 19 comes back at W, height mirrored, rising (and wrapping past row 20).
  v = {{20, 400}, {19, 100}, {19, kH - 10}};
  orbs = OrbsLandingOn(v, -1, 0, random);
  MoveOrbs(orbs, 0, kW, kH, random);
  EXPECT_EQ(orbs[0], (Orb{20, std::int16_t(400 - v[0].second), 0, 0, 0}));
  EXPECT_EQ(orbs[1], (Orb{kW, std::int16_t(668 - v[1].second), 0, 0, 0}));
  EXPECT_EQ(orbs[2], (Orb{kW, kH, 0, 0, 0}));
  // Upward (any other drift is rightward): row 20 stays, row 19 comes back at H, same column.
  v = {{500, 20}, {510, 19}};
  orbs = OrbsLandingOn(v, 0, 1, random);
  MoveOrbs(orbs, 2, kW, kH, random);
  EXPECT_EQ(orbs[0], (Orb{std::int16_t(500 + v[0].first), 20, 0, 0, 0}));
  EXPECT_EQ(orbs[1], (Orb{std::int16_t(510 + v[1].first), kH, 0, 0, 0}));
}

// For each ring, its whole square by j then k, skipping offsets of smaller rings, then each orb in
// index order; the last column and row of the screen are never written.
void ReferenceDrawOrbs(Image& display, const Orbs& orbs, int w, int h, const PixelMap& map) {
  bool visited[41][41] = {};
  for (int ring = 1; ring <= 10; ++ring) {
    for (int j = -2 * ring; j <= 2 * ring; ++j) {
      for (int k = -2 * ring; k <= 2 * ring; ++k) {
        if (visited[j + 20][k + 20] || j * j + k * k > 4 * ring * ring) continue;
        visited[j + 20][k + 20] = true;
        for (const Orb& orb : orbs) {
          const int px = orb.X + j, py = orb.Y + k, weight = 10 - ring;
          if (px >= w - 1 || px < 0 || py < 0 || py >= h - 1) continue;
          const std::uint32_t c = map.At(px, py);
          display.Set(px, py,
                      Rgb(std::min(255, RedOf(c) + orb.TintR * weight),
                          std::min(255, GreenOf(c) + orb.TintG * weight),
                          std::min(255, BlueOf(c) + orb.TintB * weight)));
        }
      }
    }
  }
}

TEST(DrawOrbs, WritesExactlyAsTheLiteralScanOverRandomOverlappingLayouts) {
  // Over grey, orb 0 at its centre: (100, 100, 100) + 9 * (25, 15, 50).
  Orbs one{};  // the others untinted at (0, 0), out of its reach
  one[0] = Orb{20, 20, 25, 15, 50};
  Image grey(41, 41, Rgb(100, 100, 100));
  DrawOrbs(grey, one, 41, 41, grey);
  EXPECT_EQ(grey.At(20, 20), Rgb(255, 235, 255));

  Random random(99);
  for (auto [w, h] : {std::pair{97, 61}, std::pair{41, 41}, std::pair{2, 2}, std::pair{1, 1}}) {
    PixelMap map(w, h);
    for (std::uint32_t& p : map.Pixels()) p = static_cast<std::uint32_t>(random.Below(1 << 24));
    for (int trial = 0; trial < 150; ++trial) {
      auto draw = [&](int n, int offset) { return std::int16_t(random.Below(n) - offset); };
      Orbs orbs{};
      for (std::size_t i = 0; i < orbs.size(); ++i) {
        orbs[i] = Orb{draw(w + 50, 25), draw(h + 50, 25), draw(61, 0), draw(61, 0), draw(61, 0)};
        // Now and then on the centre of the orb before.
        if (i > 0 && random.Below(4) == 0) orbs[i] = Orb{orbs[i - 1].X, orbs[i - 1].Y, 50, 9, 0};
      }
      Image fast(w, h, 0xFF000000u), slow = fast;  // a value DrawOrbs never writes
      DrawOrbs(fast, orbs, w, h, map);
      ReferenceDrawOrbs(slow, orbs, w, h, map);
      ASSERT_EQ(fast, slow) << w << "x" << h << " trial " << trial;
    }
  }
}

// The draw-orbs command's own map takes the background where both reach; the saver's is Master.
TEST(CapturePixels, CopiesTheBackgroundIntoAMapOfItsOwnOrLeavesOneThatIsIt) {
  Image background(5, 3);
  for (int i = 0; i < 15; ++i) background.Set(i % 5, i / 5, Rgb(i % 5, i / 5, 7));
  PixelMap map(6, 4, Rgb(9, 9, 9));
  CapturePixels(background, map);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(map.At(x, y), x < 5 && y < 3 ? Rgb(x, y, 7) : Rgb(9, 9, 9)) << x << "," << y;
  }
  const Image before = background;
  CapturePixels(background, background);
  EXPECT_EQ(background, before);
}

}  // namespace
}  // namespace orvel
