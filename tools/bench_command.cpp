// orvel-tool bench: what one frame of the saver costs when only the orbs'
// rectangles are presented, against the whole screen.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

#include "command_options.h"
#include "commands.h"
#include "headless_saver_run.h"

namespace orvel {
namespace {

constexpr const char* kUsage =
    "bench --screen WxH --frames K\n"
    "  W, H: 1..16384; K: 1..1000000";

constexpr int kMaxFrames = 1000000;
constexpr std::uint64_t kSeed = 1;

// A desktop with something on it: a gradient, different at every pixel.
Image GradientDesktop(int width, int height) {
  Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.Set(x, y, Rgb(x * 256 / width, y * 256 / height, (x + y) * 128 / (width + height)));
    }
  }
  return image;
}

struct FrameTimes {
  double median = 0;
  double p99 = 0;
};

// Each AnimationFrame call timed on its own, frames back to back.
FrameTimes TimeFrames(const Image& desktop, int frames, bool wholeScreen) {
  HeadlessSaverRun run(desktop.Width(), desktop.Height(), kSeed);
  run.host.desktop = desktop;
  run.saver.SetPresentWholeScreen(wholeScreen);
  run.saver.Form_Load();
  std::vector<double> micros;
  micros.reserve(static_cast<std::size_t>(frames));
  for (int frame = 0; frame < frames; ++frame) {
    run.platform.clock.now = FrameDueMs(frame);
    const auto start = std::chrono::steady_clock::now();
    run.saver.AnimationFrame();
    const auto stop = std::chrono::steady_clock::now();
    micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
  }
  std::sort(micros.begin(), micros.end());
  const std::size_t n = micros.size();
  const double median = n % 2 == 1 ? micros[n / 2] : (micros[n / 2 - 1] + micros[n / 2]) / 2;
  // Nearest rank: the smallest time that at least 99% of the frames keep to.
  const std::size_t rank = (n * 99 + 99) / 100;
  return FrameTimes{median, micros[rank - 1]};
}

}  // namespace

int BenchCommand(const Arguments& arguments) {
  const auto parsed = ParseFlags(arguments, {"--screen", "--frames"});
  if (!parsed || !parsed->words.empty() || !parsed->Has("--screen") || !parsed->Has("--frames")) {
    return UsageError(kUsage);
  }
  const std::optional<ScreenSize> screen = ParseScreenSize(parsed->Value("--screen"));
  const auto frames = ParseWholeNumber(parsed->Value("--frames"), 1, kMaxFrames);
  if (!screen || !frames) return UsageError(kUsage);

  const Image desktop = GradientDesktop(screen->width, screen->height);
  const FrameTimes dirty = TimeFrames(desktop, *frames, false);
  const FrameTimes full = TimeFrames(desktop, *frames, true);
  const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };

  std::printf("AnimationFrame on %dx%d, %d frames, microseconds per frame\n", screen->width,
              screen->height, *frames);
  std::printf("%-14s %12s %12s\n", "presented", "median", "p99");
  std::printf("%-14s %12.1f %12.1f\n", "dirty rects", dirty.median, dirty.p99);
  std::printf("%-14s %12.1f %12.1f\n", "full screen", full.median, full.p99);
  std::printf("%-14s %11.1fx %11.1fx\n", "full / dirty", ratio(full.median, dirty.median),
              ratio(full.p99, dirty.p99));
  return 0;
}

}  // namespace orvel
