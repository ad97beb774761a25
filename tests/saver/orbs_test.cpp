#include "saver/orbs.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvel {
namespace {

struct Draws {
  int d;  // sideways, below 20
  int e;  // upward, below 10
};

// The draws one frame will take, read from a copy of the generator in the
// order the move step must use them.
std::vector<Draws> PeekFrame(Random random) {
  std::vector<Draws> draws;
  for (int i = 0; i < kOrbCount; ++i) {
    const int d = random.Below(20);
    const int e = random.Below(10);
    draws.push_back({d, e});
  }
  return draws;
}

Orbs OrbsAt(std::initializer_list<std::pair<int, int>> positions) {
  Orbs orbs{};
  std::size_t i = 0;
  for (auto [x, y] : positions) {
    orbs[i].X = static_cast<std::int16_t>(x);
    orbs[i].Y = static_cast<std::int16_t>(y);
    ++i;
  }
  return orbs;
}

TEST(OrbsInit, DrawsXThenYAndKeepsTheTints) {
  Random random(11);
  Random twin(11);
  Orb orb;
  InitOrb(orb, 1024, 768, 25, 15, 50, random);
  const int x = twin.Below(1024);
  const int y = twin.Below(768);
  EXPECT_EQ(orb, (Orb{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 25, 15, 50}));

  // All ten: the table's tints by index, two draws each, nothing more.
  Orbs orbs{};
  InitOrbs(orbs, 800, 600, random);
  for (std::size_t i = 0; i < orbs.size(); ++i) {
    const int ox = twin.Below(800);
    const int oy = twin.Below(600);
    EXPECT_EQ(orbs[i], (Orb{static_cast<std::int16_t>(ox), static_cast<std::int16_t>(oy),
                            OrbTints[i].r, OrbTints[i].g, OrbTints[i].b}))
        << "orb " << i;
  }
  EXPECT_EQ(random.Next(), twin.Next());
}

TEST(OrbsMove, TakesSidewaysThenUpwardDrawPerOrbInIndexOrder) {
  constexpr int kW = 1024;
  constexpr int kH = 768;
  Random random(2024);
  for (int direction : {1, 0, 2, -1}) {
    const std::vector<Draws> draws = PeekFrame(random);
    Orbs orbs{};
    for (std::size_t i = 0; i < orbs.size(); ++i) {
      orbs[i].X = static_cast<std::int16_t>(300 + 10 * i);
      orbs[i].Y = static_cast<std::int16_t>(400 + 10 * i);
    }
    const Orbs before = orbs;
    MoveOrbs(orbs, direction, kW, kH, random);
    for (std::size_t i = 0; i < orbs.size(); ++i) {
      const int sideways = direction != 0 ? draws[i].d : -draws[i].d;
      EXPECT_EQ(orbs[i].X, before[i].X + sideways) << "orb " << i << " direction " << direction;
      EXPECT_EQ(orbs[i].Y, before[i].Y - draws[i].e) << "orb " << i << " direction " << direction;
      EXPECT_EQ(orbs[i].TintR, before[i].TintR);
    }
  }
  // The frame consumed exactly twenty values.
  Random a(5);
  Random b(5);
  Orbs orbs = OrbsAt({{500, 500}});
  MoveOrbs(orbs, 1, kW, kH, a);
  for (int i = 0; i < 20; ++i) b.Next();
  EXPECT_EQ(a.Next(), b.Next());
}

TEST(OrbsMove, WrapsAtTheEdges) {
  constexpr int kW = 1024;
  constexpr int kH = 768;
  Random random(77);

  // Rightward: landing on W - 20 stays, W - 19 comes back at -20.
  {
    const std::vector<Draws> v = PeekFrame(random);
    Orbs orbs = OrbsAt({{kW - 20 - v[0].d, 400}, {kW - 19 - v[1].d, 400}, {-20, 300}});
    MoveOrbs(orbs, 1, kW, kH, random);
    EXPECT_EQ(orbs[0].X, kW - 20);
    EXPECT_EQ(orbs[0].Y, 400 - v[0].e);
    EXPECT_EQ(orbs[1].X, -20);
    EXPECT_EQ(orbs[1].Y, 400 - v[1].e);  // same height
    EXPECT_EQ(orbs[2].X, -20 + v[2].d);
  }
  // Leftward: landing on 20 stays; 19 comes back at W with the height
  // mirrored, and rises from there in the same frame, wrapping too if it
  // passes row 20.
  {
    const std::vector<Draws> v = PeekFrame(random);
    Orbs orbs = OrbsAt({{20 + v[0].d, 400}, {19 + v[1].d, 100}, {19 + v[2].d, kH - 10}, {kW, 300}});
    MoveOrbs(orbs, 0, kW, kH, random);
    EXPECT_EQ(orbs[0].X, 20);
    EXPECT_EQ(orbs[0].Y, 400 - v[0].e);
    EXPECT_EQ(orbs[1].X, kW);
    EXPECT_EQ(orbs[1].Y, 668 - v[1].e);
    EXPECT_EQ(orbs[2].X, kW);
    EXPECT_EQ(orbs[2].Y, kH);  // mirrored to 10, then above row 20
    EXPECT_EQ(orbs[3].X, kW - v[3].d);
  }
  // Upward: landing on row 20 stays, row 19 comes back at H, same column.
  {
    const std::vector<Draws> v = PeekFrame(random);
    Orbs orbs = OrbsAt({{500, 20 + v[0].e}, {510, 19 + v[1].e}});
    MoveOrbs(orbs, 1, kW, kH, random);
    EXPECT_EQ(orbs[0].Y, 20);
    EXPECT_EQ(orbs[1].Y, kH);
    EXPECT_EQ(orbs[1].X, 510 + v[1].d);
  }
}

TEST(OrbsMove, LargestScreensDoNotOverflow) {
  // An orb that came back at x = W and then turns rightward passes W + 19
  // before it wraps; on a 32767-pixel screen that is beyond 16 bits.
  constexpr int kSide = 32767;
  Random random(3);
  const std::vector<Draws> v = PeekFrame(random);
  Orbs orbs = OrbsAt({{kSide, kSide}, {kSide - 20 - v[1].d, 21 + v[1].e}});
  MoveOrbs(orbs, 1, kSide, kSide, random);
  ASSERT_NE(v[0].d, 0) << "pick a seed whose first step overflows 16 bits";
  EXPECT_EQ(orbs[0].X, -20);
  EXPECT_EQ(orbs[0].Y, kSide - v[0].e);
  EXPECT_EQ(orbs[1].X, kSide - 20);
  EXPECT_EQ(orbs[1].Y, 21);

  // Many frames with the drift reversing now and then, on small, ordinary
  // and huge screens: after every move X lies in -20 .. W and Y in 20 .. H.
  for (auto [w, h] : {std::pair{640, 480}, std::pair{3840, 2160}, std::pair{32767, 32767},
                      std::pair{40000, 50000}, std::pair{30, 25}}) {
    const int sw = std::min(w, kMaxOrbScreenSide);
    const int sh = std::min(h, kMaxOrbScreenSide);
    Random r(static_cast<std::uint64_t>(w));
    Orbs many{};
    InitOrbs(many, w, h, r);
    for (const Orb& orb : many) {
      EXPECT_GE(orb.X, 0);
      EXPECT_LT(orb.X, sw);
      EXPECT_GE(orb.Y, 0);
      EXPECT_LT(orb.Y, sh);
    }
    int direction = 1;
    for (int frame = 0; frame < 20000; ++frame) {
      if (frame % 997 == 0) direction ^= 1;
      MoveOrbs(many, direction, w, h, r);
      for (const Orb& orb : many) {
        ASSERT_GE(orb.X, -20) << w << "x" << h << " frame " << frame;
        ASSERT_LE(orb.X, sw) << w << "x" << h << " frame " << frame;
        ASSERT_GE(orb.Y, std::min(20, sh)) << w << "x" << h << " frame " << frame;
        ASSERT_LE(orb.Y, sh) << w << "x" << h << " frame " << frame;
      }
    }
  }
}

}  // namespace
}  // namespace orvel
