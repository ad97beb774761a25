#include "dialog/skin_noise.h"

#include <gtest/gtest.h>

#include <set>

namespace orvel::skin {
namespace {

TEST(SkinNoise, RepeatsWithItsPeriodsAndNowhereElse) {
  for (float x : {0.0f, 0.3f, 2.7f, 5.5f}) {
    for (float y : {0.0f, 0.45f, 1.9f}) {
      // Periodic across (3 cells) and down (2), for negative cells and in every octave too.
      EXPECT_FLOAT_EQ(ValueNoise(x, y, 3, 2, 7), ValueNoise(x + 3, y, 3, 2, 7));
      EXPECT_FLOAT_EQ(ValueNoise(x, y, 3, 2, 7), ValueNoise(x - 6, y + 2, 3, 2, 7));
      EXPECT_FLOAT_EQ(FractalNoise(x, y, 3, 2, 4, 7), FractalNoise(x + 3, y - 2, 3, 2, 4, 7));
      // Period 0: it does not repeat there; the seed makes another noise.
      EXPECT_NE(ValueNoise(x + 0.5f, y, 0, 0, 7), ValueNoise(x + 3.5f, y, 0, 0, 7));
      EXPECT_NE(ValueNoise(x + 0.5f, y, 0, 0, 7), ValueNoise(x + 0.5f, y, 0, 0, 8));
    }
  }
  // Values in [0, 1), and spread over that range, not stuck near one value.
  std::set<int> tenths;
  for (int i = 0; i < 400; ++i) {
    const float v = ValueNoise(static_cast<float>(i) * 0.37f, static_cast<float>(i % 7), 0, 0, 3);
    ASSERT_TRUE(v >= 0 && v < 1) << v;
    tenths.insert(static_cast<int>(v * 10));
  }
  EXPECT_GE(tenths.size(), 8u);
  // Smooth: neighbouring points close together give close values.
  EXPECT_NEAR(ValueNoise(4.5f, 1.5f, 0, 0, 3), ValueNoise(4.51f, 1.5f, 0, 0, 3), 0.02);
}

TEST(SkinNoise, AColumnGivesTheFractalNoiseDownIt) {
  for (float x : {0.25f, 13.6f, 40.0f}) {
    for (int period : {1, 2, 4}) {
      for (int octaves : {1, 3}) {
        const NoiseColumn column(x, 0, period, octaves, 21);
        for (int i = 0; i < 40; ++i) {
          const float y = static_cast<float>(i) * static_cast<float>(period) / 40;
          EXPECT_NEAR(column.At(y), FractalNoise(x, y, 0, period, octaves, 21), 1e-5)
              << x << " " << period << " " << octaves << " " << y;
        }
      }
    }
  }
  // Too many rows for the column: the finer octaves are left out, not read beyond its rows.
  const NoiseColumn coarse(1.5f, 0, 16, 4, 21);
  EXPECT_NEAR(coarse.At(3.3f), FractalNoise(1.5f, 3.3f, 0, 16, 2, 21), 1e-5);
  // No octave, no noise.
  EXPECT_EQ(NoiseColumn(1.5f, 0, 2, 0, 21).At(0.5f), 0);
  EXPECT_EQ(FractalNoise(1.5f, 0.5f, 0, 2, 0, 21), 0);
}

}  // namespace
}  // namespace orvel::skin
