// The program's one source of random numbers: uniform values in [0, 1).
#pragma once

#include <cstdint>

namespace orvel {

class Random {
 public:
  explicit Random(std::uint64_t seed = 0) { Seed(seed); }

  // Starts the sequence anew from `seed`: equal seeds give equal sequences.
  void Seed(std::uint64_t seed);

  // Mixes a clock reading into the current state, so that re-seeding twice
  // within one clock tick still gives different draws.
  void Reseed(std::uint64_t timeSeed);

  // A uniform value in [0, 1).
  double Next();

  // A whole number from 0 to n - 1: the floor of Next() times n.
  int Below(int n);

 private:
  std::uint64_t state_[4];
};

}  // namespace orvel
