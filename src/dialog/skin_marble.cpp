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
// that height, and the coarsest features do not change down the strip at
// all. Repeated, the stone's clouds and veins then run down the panel as one
// grain instead of showing the same blob, or a band, every 20 rows.

// What is the same all down one column, at u units from the left.
struct Column {
  explicit Column(float u)
      : cloud(FractalNoise(u / 50, 0, 0, 1, 2, kSeed)),
        phase(u * (2 * std::numbers::pi_v<float> / 120) +
              FractalNoise(u / 70, 0, 0, 1, 2, kSeed + 23) * 12),
        strength(0.12f + 0.45f * skin::SmoothStep(0.3f, 0.7f,
                                                  FractalNoise(u / 150, 0, 0, 1, 1, kSeed + 31))),
        clouds(u / 20, 0, 2, 2, kSeed + 5),
        mottle(u / 4, 0, 4, 1, kSeed + 11),
        wobble(u / 16, 0, 1, 2, kSeed + 29) {}

  float cloud;     // broad soft clouds, 0 to 1
  float phase;     // where the veins' wave stands
  float strength;  // some veins strong, some barely there
  // What changes down the column, lattice cells of 10, 5 and 20 units.
  skin::NoiseColumn clouds;
  skin::NoiseColumn mottle;
  skin::NoiseColumn wobble;
};

Colour MarbleAt(const Column& column, float v) {
  const float cloud = 0.6f * column.cloud + 0.4f * column.clouds.At(v / 10);
  const float mottle = column.mottle.At(v / 5);
  // Veins: the crests of a wave across the strip, pushed gently about down it.
  const float crest = 1 - std::abs(std::sin(column.phase + column.wobble.At(v / 20) * 2.2f));
  const float crest4 = crest * crest * crest * crest;
  const float vein = crest4 * crest4 * crest4 * column.strength;

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
  for (int x = 0; x < size.width; ++x) {
    const float u = (static_cast<float>(x) + 0.5f) * du;
    const Column column(u);
    for (int y = 0; y < size.height; ++y) {
      const float v = (static_cast<float>(y) + 0.5f) * dv;
      // A faint grain, one grain per pixel.
      const float grain =
          skin::HashUnit(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), kSeed + 37) *
              4 -
          2;
      const Colour c = MarbleAt(column, v);
      strip.Set(x, y, skin::ToPixel({c.r + grain, c.g + grain, c.b + grain}));
    }
  }
  return strip;
}

}  // namespace orvel
