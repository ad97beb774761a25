// Value noise for the skin's textures: smooth, repeatable (a fixed seed, no
// global state) and, where a texture is tiled, periodic.
#pragma once

#include <cstdint>

namespace orvel::skin {

// A well-mixed 32-bit value of three integers.
std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t seed);

// The same as a value in [0, 1).
float HashUnit(std::uint32_t a, std::uint32_t b, std::uint32_t seed);

// Smooth noise in [0, 1) over the plane, one lattice cell per unit. The
// lattice repeats every periodX cells across and periodY cells down (0: it
// never repeats that way), so the noise repeats with those periods.
float ValueNoise(float x, float y, int periodX, int periodY, std::uint32_t seed);

// Octaves of value noise, each twice as fine and half as strong as the last,
// in [0, 1). The periods are those of the first octave and double with it.
float FractalNoise(float x, float y, int periodX, int periodY, int octaves, std::uint32_t seed);

}  // namespace orvel::skin
