#include "saver/orbs.h"

#include <algorithm>

namespace orvel {
namespace {

int ScreenSide(int side) { return std::clamp(side, 0, kMaxOrbScreenSide); }

}  // namespace

void InitOrb(Orb& orb, int screenW, int screenH, std::int16_t r, std::int16_t g, std::int16_t b,
             Random& random) {
  const int x = random.Below(ScreenSide(screenW));
  const int y = random.Below(ScreenSide(screenH));
  orb.X = static_cast<std::int16_t>(x);
  orb.Y = static_cast<std::int16_t>(y);
  orb.TintR = r;
  orb.TintG = g;
  orb.TintB = b;
}

void InitOrbs(Orbs& orbs, int screenW, int screenH, Random& random) {
  for (int i = 0; i < kOrbCount; ++i) {
    const OrbTint& tint = OrbTints[static_cast<std::size_t>(i)];
    InitOrb(orbs[static_cast<std::size_t>(i)], screenW, screenH, tint.r, tint.g, tint.b, random);
  }
}

void MoveOrbs(Orbs& orbs, int direction, int screenW, int screenH, Random& random) {
  const int w = ScreenSide(screenW);
  const int h = ScreenSide(screenH);
  for (Orb& orb : orbs) {
    // Full-width arithmetic: an orb that has just come back at x = w and
    // turns rightward passes w + 19 on its way to the wrap.
    int x = orb.X;
    int y = orb.Y;
    const int d = random.Below(20);
    if (direction != 0) {
      x += d;
      if (x > w - 20) x = -20;
    } else {
      x -= d;
      if (x < 20) {
        x = w;
        y = h - y;
      }
    }
    const int e = random.Below(10);
    y -= e;
    if (y < 20) y = h;
    orb.X = static_cast<std::int16_t>(x);
    orb.Y = static_cast<std::int16_t>(y);
  }
}

}  // namespace orvel
