// The ten orbs: their record, their fixed tints, their placement at start and
// the move step that runs once per frame.
#pragma once

#include <array>
#include <cstdint>

#include "graphics/random.h"

namespace orvel {

// One orb: the centre on the screen (may lie off it, from -20 to the screen
// width across and up to the screen height down) and the amount added to
// each colour channel per unit of ring weight.
struct Orb {
  std::int16_t X = 0;
  std::int16_t Y = 0;
  std::int16_t TintR = 0;
  std::int16_t TintG = 0;
  std::int16_t TintB = 0;

  friend bool operator==(const Orb&, const Orb&) = default;
};

inline constexpr int kOrbCount = 10;
using Orbs = std::array<Orb, kOrbCount>;

struct OrbTint {
  std::int16_t r;
  std::int16_t g;
  std::int16_t b;
};

// The tints the orbs get at start, by orb index.
inline constexpr std::array<OrbTint, kOrbCount> OrbTints = {{
    {25, 15, 50},
    {50, 20, 10},
    {15, 40, 5},
    {10, 20, 60},
    {5, 15, 40},
    {60, 15, 35},
    {30, 20, 15},
    {15, 0, 60},
    {60, 15, 0},
    {7, 20, 0},
}};

// Screen sides beyond this are treated as this long, so that every position
// an orb can take (-39 .. side + 19 within a move, -20 .. side after it) is
// worked out in full-width arithmetic and stored without overflow.
inline constexpr int kMaxOrbScreenSide = 32767;

// Places an orb at random: X is drawn first (below screenW), then Y (below
// screenH); the tint is stored as given.
void InitOrb(Orb& orb, int screenW, int screenH, std::int16_t r, std::int16_t g, std::int16_t b,
             Random& random);

// All ten orbs placed with the tints of OrbTints, in index order.
void InitOrbs(Orbs& orbs, int screenW, int screenH, Random& random);

// One frame's move. For each orb in index order: d = Below(20), then sideways
// (direction != 0: right, X + d, past screenW - 20 back to -20; direction 0:
// left, X - d, below 20 back to screenW with Y mirrored to screenH - Y); then
// e = Below(10) and up, Y - e, above row 20 back to screenH. Exactly two draws
// per orb.
void MoveOrbs(Orbs& orbs, int direction, int screenW, int screenH, Random& random);

}  // namespace orvel
