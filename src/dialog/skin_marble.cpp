// The grey marble texture of the dialog's panels.
#include <cmath>
#include <numbers>

#include "dialog/skin.h"
#include "dialog/skin_canvas.h"
#include "dialog/skin_noise.h"

namespace orvel {
namespace {

using skin::Colour;
using skin::FractalNoise;

constexpr std::uint32_t kSeed = 0x6D61726Bu;

// The strip is tiled every 20 rows, so everything that changes down it
// repeats every 20 units: the noise lattices below have 1, 2, 4 ... cells in
// that height, and the coarsest octave does not change down the strip at
// all. Repeated, the stone's clouds and veins then run down the panel as one
// grain instead of showing the same blob, or a band, every 20 rows.
Colour MarbleAt(float u, float v) {
  // Broad soft clouds, mostly running down the strip.
  const float cloud = 0.6f * FractalNoise(u / 50, 0, 0, 1, 2, kSeed) +
                      0.4f * FractalNoise(u / 20, v / 10, 0, 2, 3, kSeed + 5);
  // Fine mottling.
  const float mottle = FractalNoise(u / 4, v / 5, 0, 4, 2, kSeed + 11);
  // Veins: the crests of a wave across the strip, pushed about by noise
  // across and gently down it.
  const float warp = FractalNoise(u / 70, 0, 0, 1, 2, kSeed + 23);
  const float wobble = FractalNoise(u / 16, v / 20, 0, 1, 3, kSeed + 29);
  const float wave =
      std::sin(u * (2 * std::numbers::pi_v<float> / 120) + warp * 12 + wobble * 2.2f);
  // Some veins strong, some barely there.
  const float strength =
      0.12f + 0.45f * skin::SmoothStep(0.3f, 0.7f, FractalNoise(u / 150, 0, 0, 1, 1, kSeed + 31));
  const float vein = std::pow(1 - std::abs(wave), 12.0f) * strength;

  const Colour light{229, 231, 234};
  const Colour shade{203, 206, 212};
  const Colour veinColour{172, 176, 185};
  Colour c = Mix(light, shade, skin::SmoothStep(0.3f, 0.75f, cloud));
  c = Mix(c, mottle < 0.5f ? light : shade, std::abs(mottle - 0.5f) * 0.7f);
  return Mix(c, veinColour, vein);
}

}  // namespace

Image MarbleStrip(double scale) {
  const PixelSize size = Scaled(kMarbleStripSize, scale);
  Image strip(size.width, size.height);
  // Positions in 96-dpi units, so that the strip looks the same at any
  // scale and repeats after exactly its height.
  const float du = static_cast<float>(kMarbleStripSize.width) / static_cast<float>(size.width);
  const float dv = static_cast<float>(kMarbleStripSize.height) / static_cast<float>(size.height);
  for (int y = 0; y < size.height; ++y) {
    std::uint32_t* row = strip.Row(y);
    const float v = (static_cast<float>(y) + 0.5f) * dv;
    for (int x = 0; x < size.width; ++x) {
      const float u = (static_cast<float>(x) + 0.5f) * du;
      // A faint grain, one grain per pixel.
      const float grain =
          skin::HashUnit(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), kSeed + 37) *
              4 -
          2;
      const Colour c = MarbleAt(u, v);
      row[x] = skin::ToPixel({c.r + grain, c.g + grain, c.b + grain});
    }
  }
  return strip;
}

}  // namespace orvel
