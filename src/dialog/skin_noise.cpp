#include "dialog/skin_noise.h"

#include <cmath>

namespace orvel::skin {
namespace {

int Wrap(int cell, int period) {
  if (period <= 0) return cell;
  const int r = cell % period;
  return r < 0 ? r + period : r;
}

float Ease(float t) { return t * t * (3 - 2 * t); }

}  // namespace

std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B9u ^ a * 0x85EBCA6Bu ^ b * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

float HashUnit(std::uint32_t a, std::uint32_t b, std::uint32_t seed) {
  return static_cast<float>(Hash(a, b, seed) >> 8) * (1.0f / 16777216.0f);
}

float ValueNoise(float x, float y, int periodX, int periodY, std::uint32_t seed) {
  const float fx = std::floor(x);
  const float fy = std::floor(y);
  const int x0 = static_cast<int>(fx);
  const int y0 = static_cast<int>(fy);
  const float tx = Ease(x - fx);
  const float ty = Ease(y - fy);
  const auto at = [&](int cx, int cy) {
    return HashUnit(static_cast<std::uint32_t>(Wrap(cx, periodX)),
                    static_cast<std::uint32_t>(Wrap(cy, periodY)), seed);
  };
  const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * tx;
  const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * tx;
  return top + (bottom - top) * ty;
}

float FractalNoise(float x, float y, int periodX, int periodY, int octaves, std::uint32_t seed) {
  float sum = 0;
  float weight = 1;
  float total = 0;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += ValueNoise(x, y, periodX, periodY, seed + static_cast<std::uint32_t>(octave)) * weight;
    total += weight;
    weight *= 0.5f;
    x *= 2;
    y *= 2;
    periodX *= 2;
    periodY *= 2;
  }
  return total > 0 ? sum / total : 0;
}

}  // namespace orvel::skin
