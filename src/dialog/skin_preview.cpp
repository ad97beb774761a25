// The preview pane's still picture: the saver's orbs over a green woodland.
#include <algorithm>
#include <cmath>

#include "dialog/skin.h"
#include "dialog/skin_canvas.h"
#include "dialog/skin_noise.h"
#include "saver/orb_drawing.h"
#include "saver/orbs.h"

namespace orvel {
namespace {

using skin::Canvas;
using skin::Colour;
using skin::FractalNoise;
using skin::SmoothStep;
namespace shape = skin::shape;

constexpr std::uint32_t kSeed = 0x776F6F64u;
constexpr float kHeight = static_cast<float>(kPreviewStillSize.height);
constexpr float kHorizon = 74;  // where the forest floor begins

// Light through the trees: pale and warm above, deeper green towards the
// floor, with the far canopy as dappled clouds of leaves.
Colour Backdrop(float x, float y) {
  const Colour glow{226, 236, 190};
  const Colour haze{142, 178, 104};
  Colour c = Mix(glow, haze, SmoothStep(0, kHorizon, y));
  const float leaves = FractalNoise(x / 14, y / 11, 0, 0, 4, kSeed);
  const float density = leaves + 0.35f - 0.5f * y / kHorizon;
  const Colour farLeaf = Mix(Colour{96, 140, 68}, Colour{150, 186, 96}, leaves);
  return Mix(c, farLeaf, SmoothStep(0.45f, 0.62f, density));
}

Colour Floor(float x, float y) {
  const float t = (y - kHorizon) / (kHeight - kHorizon);
  const float patches = FractalNoise(x / 16, y / 6, 0, 0, 3, kSeed + 5);
  const Colour c = Mix(Colour{110, 150, 62}, Colour{48, 92, 34}, t);
  // Sunlit patches on the grass.
  return Mix(c, Colour{168, 196, 92}, SmoothStep(0.55f, 0.75f, patches) * (1 - t) * 0.8f);
}

struct Trunk {
  float x;      // centre at the floor
  float lean;   // sideways drift from the floor to the top
  float width;  // at the floor
  float base;   // row of the foot
  float shade;  // 0 near and dark .. 1 far and pale
};

// Far, thin trunks first, then the near ones over them.
constexpr Trunk kTrunks[] = {
    {48, -2, 3, 76, 1},    {66, 1, 2.5f, 75, 1},   {90, -1, 3, 76, 1},
    {114, 2, 2.5f, 75, 1}, {8, 1, 4, 78, 0.7f},    {78, -3, 5, 80, 0.6f},
    {24, -4, 10, 100, 0},  {104, 3, 8, 92, 0.15f}, {140, -2, 12, 108, 0},
};

float TrunkDistance(const Trunk& t, float x, float y) {
  const float along = std::clamp(y / t.base, 0.0f, 1.0f);
  const float centre = t.x + t.lean * (1 - along);
  // Narrower towards the top, flared at the foot.
  const float half = t.width / 2 * (0.75f + 0.25f * along) + 2.5f * SmoothStep(0.9f, 1, along);
  return std::max(std::abs(x - centre) - half, y - t.base);
}

Colour Bark(const Trunk& t, float x, float y) {
  const float grain = FractalNoise(x / 1.5f, y / 9, 0, 0, 3, kSeed + 9);
  const float side = std::clamp((x - t.x) / t.width + 0.5f, 0.0f, 1.0f);
  const Colour near = Mix(Colour{112, 88, 60}, Colour{54, 40, 28}, side * 0.8f + grain * 0.4f);
  return Mix(near, Colour{120, 140, 100}, t.shade * 0.8f);
}

// Leaves hanging from the top edge in front of everything.
Colour NearLeaves(float x, float y) {
  const float n = FractalNoise(x / 6, y / 6, 0, 0, 3, kSeed + 13);
  return Mix(Colour{34, 76, 30}, Colour{84, 130, 50}, n);
}

float NearLeafDistance(float x, float y) {
  if (y > 24) return 1;  // below the leaves' reach
  const float n = FractalNoise(x / 10, y / 8, 0, 0, 4, kSeed + 17);
  // Dense along the top, thinning out by row 20.
  return (y / 20 - (n - 0.25f) * 1.6f) * 6;
}

Image Woodland() {
  Canvas canvas(kPreviewStillSize.width, kPreviewStillSize.height);
  canvas.Fill([](float, float) { return -1.0f; },
              [](float x, float y) { return y < kHorizon ? Backdrop(x, y) : Floor(x, y); });
  // The floor meets the far trees in a soft line.
  canvas.Fill([](float, float y) { return kHorizon - y; }, Floor,
              [](float, float y) { return SmoothStep(kHorizon - 6, kHorizon, y); });
  for (const Trunk& trunk : kTrunks) {
    canvas.Fill([&](float x, float y) { return TrunkDistance(trunk, x, y); },
                [&](float x, float y) { return Bark(trunk, x, y); });
  }
  canvas.Fill(NearLeafDistance, NearLeaves);
  return canvas.ToSprite().colour;
}

// Five orbs in view, as a frame of the saver might show them; the other
// five are off the picture.
constexpr Orb kOrbPlaces[kOrbCount] = {
    {30, 34, 0, 0, 0},  {118, 26, 0, 0, 0}, {76, 62, 0, 0, 0},  {130, 86, 0, 0, 0},
    {40, 92, 0, 0, 0},  {-200, 0, 0, 0, 0}, {-200, 0, 0, 0, 0}, {-200, 0, 0, 0, 0},
    {-200, 0, 0, 0, 0}, {-200, 0, 0, 0, 0},
};

}  // namespace

Image PreviewStill() {
  const Image woodland = Woodland();
  Orbs orbs{};
  for (std::size_t i = 0; i < orbs.size(); ++i) {
    orbs[i] = kOrbPlaces[i];
    orbs[i].TintR = OrbTints[i].r;
    orbs[i].TintG = OrbTints[i].g;
    orbs[i].TintB = OrbTints[i].b;
  }
  Image still = woodland;
  DrawOrbs(still, orbs, woodland.Width(), woodland.Height(), woodland);
  return still;
}

}  // namespace orvel
