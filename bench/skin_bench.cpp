// The whole skin, drawn as the settings dialog draws it when it opens.
#include <benchmark/benchmark.h>

#include "dialog/skin.h"

namespace orvel {
namespace {

void BM_DrawSkin(benchmark::State& state) {
  const double scale = static_cast<double>(state.range(0)) / 100;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MarbleStrip(scale));
    for (int width : {95, 101, 109}) benchmark::DoNotOptimize(HeadingBar({width, 22}, scale));
    for (bool pressed : {false, true}) {
      benchmark::DoNotOptimize(ButtonFace(pressed, {95, 22}, scale));
      benchmark::DoNotOptimize(ButtonFace(pressed, {109, 22}, scale));
    }
    for (bool marked : {false, true}) {
      benchmark::DoNotOptimize(OptionMark(marked, scale));
      benchmark::DoNotOptimize(CheckMark(marked, scale));
    }
    benchmark::DoNotOptimize(HandCursor(scale));
    benchmark::DoNotOptimize(WindowIcon());
    benchmark::DoNotOptimize(PreviewStill());
  }
}
BENCHMARK(BM_DrawSkin)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvel
