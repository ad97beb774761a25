// The cost of one frame's orbs on a full-HD screen.
#include <benchmark/benchmark.h>

#include "graphics/image.h"
#include "graphics/random.h"
#include "saver/orb_drawing.h"
#include "saver/orbs.h"

namespace orvel {
namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

void BM_DrawOrbs(benchmark::State& state) {
  Random random(42);
  PixelMap map(kW, kH);
  for (std::uint32_t& p : map.Pixels()) p = static_cast<std::uint32_t>(random.Below(1 << 24));
  Image display = map;
  Orbs orbs{};
  InitOrbs(orbs, kW, kH, random);
  for (auto _ : state) {
    DrawOrbs(display, orbs, kW, kH, map);
    benchmark::DoNotOptimize(display.Pixels().data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kOrbCount * kDiscOffsetCount);
}
BENCHMARK(BM_DrawOrbs);

// The slow case: every disc overlaps another, so the whole frame is drawn in
// the ring-by-ring write order.
void BM_DrawOrbsClustered(benchmark::State& state) {
  Random random(42);
  PixelMap map(kW, kH);
  for (std::uint32_t& p : map.Pixels()) p = static_cast<std::uint32_t>(random.Below(1 << 24));
  Image display = map;
  Orbs orbs{};
  InitOrbs(orbs, kW, kH, random);
  for (std::size_t i = 0; i < orbs.size(); ++i) {
    orbs[i].X = static_cast<std::int16_t>(900 + 12 * static_cast<int>(i));
    orbs[i].Y = static_cast<std::int16_t>(500 + 7 * static_cast<int>(i % 4));
  }
  for (auto _ : state) {
    DrawOrbs(display, orbs, kW, kH, map);
    benchmark::DoNotOptimize(display.Pixels().data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kOrbCount * kDiscOffsetCount);
}
BENCHMARK(BM_DrawOrbsClustered);

// A frame as the saver runs it: move, restore the orbs' old and new
// rectangles from the background, draw.
void BM_OrbFrame(benchmark::State& state) {
  Random random(42);
  PixelMap map(kW, kH);
  for (std::uint32_t& p : map.Pixels()) p = static_cast<std::uint32_t>(random.Below(1 << 24));
  Image display = map;
  Orbs orbs{};
  InitOrbs(orbs, kW, kH, random);
  for (auto _ : state) {
    const Orbs before = orbs;
    MoveOrbs(orbs, 1, kW, kH, random);
    for (std::size_t i = 0; i < orbs.size(); ++i) {
      CopyRect(display, map, OrbBounds(before[i], kW, kH));
      CopyRect(display, map, OrbBounds(orbs[i], kW, kH));
    }
    DrawOrbs(display, orbs, kW, kH, map);
    benchmark::DoNotOptimize(display.Pixels().data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_OrbFrame);

}  // namespace
}  // namespace orvel
