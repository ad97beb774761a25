#include "graphics/random.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvel {
namespace {

std::vector<double> Draws(Random& random, int count = 100) {
  std::vector<double> values;
  for (int i = 0; i < count; ++i) values.push_back(random.Next());
  return values;
}

TEST(Random, SeedsRepeatAndReseedingWithinOneClockTickStillMovesOn) {
  Random a(12345), b(12345), c(12346);
  const std::vector<double> first = Draws(a);
  EXPECT_EQ(first, Draws(b));
  EXPECT_NE(first, Draws(c));
  a.Seed(12345);
  EXPECT_EQ(Draws(a), first);

  Random once(5), twice(5), again(5);
  for (Random* random : {&once, &twice, &twice, &again}) random->Reseed(1000);
  const std::vector<double> reseeded = Draws(once);
  EXPECT_NE(reseeded, Draws(twice));
  EXPECT_EQ(reseeded, Draws(again));
  // Values lie in [0, 1), and Below(n) is the floor of the next value times n.
  for (int i = 0; i < 10000; ++i) {
    const double value = b.Next();
    ASSERT_TRUE(value >= 0 && value < 1) << value;
    ASSERT_EQ(a.Below(10), static_cast<int>(value * 10));
  }
}

}  // namespace
}  // namespace orvel
