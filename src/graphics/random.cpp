#include "graphics/random.h"

#include <cmath>

namespace orvel {
namespace {

std::uint64_t SplitMix(std::uint64_t& x) {
  std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

void Random::Seed(std::uint64_t seed) {
  for (auto& word : state_) word = SplitMix(seed);
}

void Random::Reseed(std::uint64_t timeSeed) {
  std::uint64_t mix = timeSeed ^ state_[0] ^ Rotl(state_[3], 17);
  for (auto& word : state_) word ^= SplitMix(mix);
  if ((state_[0] | state_[1] | state_[2] | state_[3]) == 0) state_[0] = 1;
}

double Random::Next() {
  // xoshiro256**, the top 53 bits as a double in [0, 1).
  const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
  const std::uint64_t t = state_[1] << 17;
  state_[2] ^= state_[0];
  state_[3] ^= state_[1];
  state_[1] ^= state_[2];
  state_[0] ^= state_[3];
  state_[2] ^= t;
  state_[3] = Rotl(state_[3], 45);
  return static_cast<double>(result >> 11) * 0x1.0p-53;
}

int Random::Below(int n) { return static_cast<int>(std::floor(Next() * n)); }

}  // namespace orvel
