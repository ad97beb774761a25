// The cost of one frame's orbs on a full-HD screen.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "graphics/image.h"
#include "graphics/random.h"
#include "saver/orb_drawing.h"
#include "saver/orbs.h"

namespace orvel {
namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

// A noisy background, a display showing it and ten orbs placed at random.
struct Scene {
  Random random{42};
  PixelMap map{kW, kH};
  Image display;
  Orbs orbs{};

  Scene() {
    for (std::uint32_t& p : map.Pixels()) p = static_cast<std::uint32_t>(random.Below(1 << 24));
    display = map;
    InitOrbs(orbs, kW, kH, random);
  }

  void Draw() {
    DrawOrbs(display, orbs, kW, kH, map);
    benchmark::DoNotOptimize(display.Pixels().data());
    benchmark::ClobberMemory();
  }
};

void BM_DrawOrbs(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) scene.Draw();
  state.SetItemsProcessed(state.iterations() * kOrbCount * kDiscOffsetCount);
}
BENCHMARK(BM_DrawOrbs);

// The slow case: every disc overlaps another, so most pixels have rivals to
// be checked against.
void BM_DrawOrbsClustered(benchmark::State& state) {
  Scene scene;
  for (std::size_t i = 0; i < scene.orbs.size(); ++i) {
    scene.orbs[i].X = static_cast<std::int16_t>(900 + 12 * static_cast<int>(i));
    scene.orbs[i].Y = static_cast<std::int16_t>(500 + 7 * static_cast<int>(i % 4));
  }
  for (auto _ : state) scene.Draw();
  state.SetItemsProcessed(state.iterations() * kOrbCount * kDiscOffsetCount);
}
BENCHMARK(BM_DrawOrbsClustered);

// A frame as the saver runs it: move, then each orb's square composed on
// its way to the screen, the background with the orbs drawn over it.
void BM_OrbFrame(benchmark::State& state) {
  Scene scene;
  std::vector<std::uint32_t> square(kOrbSide * kOrbSide);
  for (auto _ : state) {
    MoveOrbs(scene.orbs, 1, kW, kH, scene.random);
    for (const Orb& orb : scene.orbs) {
      const Rect area = OrbBounds(orb, kW, kH);
      for (int y = area.y; y < area.Bottom(); ++y) {
        std::copy_n(scene.map.Row(y) + area.x, area.w,
                    square.data() + static_cast<std::size_t>((y - area.y) * area.w));
      }
      DrawOrbs(area, square.data(), static_cast<std::size_t>(area.w), scene.orbs, kW, kH,
               scene.map);
    }
    benchmark::DoNotOptimize(square.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_OrbFrame);

}  // namespace
}  // namespace orvel
