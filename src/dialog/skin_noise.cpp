#include "dialog/skin_noise.h"

#include <algorithm>
#include <cmath>

namespace orvel::skin {
namespace {

int Wrap(int cell, int period) {
  // Most cells already lie within the period: no division for them.
  if (period <= 0 || (cell >= 0 && cell < period)) return cell;
  const int r = cell % period;
  return r < 0 ? r + period : r;
}

float Ease(float t) { return t * t * (3 - 2 * t); }

}  // namespace

std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B9u ^ a * 0x85EBCA6Bu ^ b * 0xC2B2AE35u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 13;
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
  const auto cx0 = static_cast<std::uint32_t>(Wrap(x0, periodX));
  const auto cx1 = static_cast<std::uint32_t>(Wrap(x0 + 1, periodX));
  const auto cy0 = static_cast<std::uint32_t>(Wrap(y0, periodY));
  const auto cy1 = static_cast<std::uint32_t>(Wrap(y0 + 1, periodY));
  const float a = HashUnit(cx0, cy0, seed);
  const float b = HashUnit(cx1, cy0, seed);
  const float c = HashUnit(cx0, cy1, seed);
  const float d = HashUnit(cx1, cy1, seed);
  const float tx = Ease(x - fx);
  const float top = a + (b - a) * tx;
  const float bottom = c + (d - c) * tx;
  return top + (bottom - top) * Ease(y - fy);
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

NoiseColumn::NoiseColumn(float x, int periodX, int periodY, int octaves, std::uint32_t seed)
    : periodY_(std::clamp(periodY, 1, kMaxRows)), octaves_(std::max(octaves, 0)) {
  while (octaves_ > 0 && (periodY_ << (octaves_ - 1)) > kMaxRows) --octaves_;
  int offset = 0;
  for (int octave = 0; octave < octaves_; ++octave) {
    const int rows = periodY_ << octave;
    const float fx = std::floor(x);
    const int x0 = static_cast<int>(fx);
    const auto cx0 = static_cast<std::uint32_t>(Wrap(x0, periodX));
    const auto cx1 = static_cast<std::uint32_t>(Wrap(x0 + 1, periodX));
    const float tx = Ease(x - fx);
    const std::uint32_t octaveSeed = seed + static_cast<std::uint32_t>(octave);
    for (int row = 0; row < rows; ++row) {
      const float a = HashUnit(cx0, static_cast<std::uint32_t>(row), octaveSeed);
      const float b = HashUnit(cx1, static_cast<std::uint32_t>(row), octaveSeed);
      rows_[offset + row] = a + (b - a) * tx;
    }
    offset += rows;
    x *= 2;
    periodX *= 2;
  }
}

float NoiseColumn::At(float y) const {
  float sum = 0;
  float weight = 1;
  float total = 0;
  int offset = 0;
  for (int octave = 0; octave < octaves_; ++octave) {
    const int rows = periodY_ << octave;
    const float fy = std::floor(y);
    const int y0 = Wrap(static_cast<int>(fy), rows);
    const int y1 = y0 + 1 == rows ? 0 : y0 + 1;
    const float top = rows_[offset + y0];
    sum += (top + (rows_[offset + y1] - top) * Ease(y - fy)) * weight;
    total += weight;
    weight *= 0.5f;
    y *= 2;
    offset += rows;
  }
  return total > 0 ? sum / total : 0;
}

}  // namespace orvel::skin
