// The skin's controls: heading bars, button faces, option and check marks.
#include "dialog/skin.h"

#include <algorithm>
#include <cmath>

#include "dialog/skin_canvas.h"

namespace orvel {
namespace {

using skin::Canvas;
using skin::Colour;
namespace shape = skin::shape;

// The colours of a rounded face, from its top to its bottom.
struct FacePaint {
  Colour border;
  Colour top;
  Colour bottom;
  float gloss;  // how strongly the upper half shines
};

constexpr FacePaint kHeadingPaint{{112, 117, 127}, {236, 238, 241}, {172, 177, 187}, 0.55f};
constexpr FacePaint kRestingButtonPaint{{46, 78, 136}, {158, 190, 236}, {82, 124, 196}, 0.5f};
constexpr FacePaint kPressedButtonPaint{{78, 114, 172}, {176, 204, 242}, {200, 222, 250}, 0.2f};

// The rim colour of the marks and the sunken white inside them.
constexpr Colour kMarkRim{96, 110, 136};
constexpr Colour kWellTop{204, 211, 223};
constexpr Colour kWellBottom{255, 255, 255};

// A rounded bar filling the whole sprite: a one-unit border, the body shaded
// from top to bottom and a soft shine over its upper half.
Sprite RoundedFace(PixelSize size, double scale, const FacePaint& paint) {
  const PixelSize px = Scaled(size, scale);
  const float s = static_cast<float>(SkinScale(scale));
  const float w = static_cast<float>(px.width);
  const float h = static_cast<float>(px.height);
  const float radius = std::min(7 * s, h / 2);
  Canvas canvas(px.width, px.height);
  canvas.Fill([&](float x, float y) { return shape::Box(x, y, 0, 0, w, h, radius); }, paint.border);
  canvas.Fill([&](float x, float y) { return shape::Box(x, y, s, s, w - s, h - s, radius - s); },
              [&](float, float y) { return Mix(paint.top, paint.bottom, y / h); });
  const float shineBottom = h * 0.48f;
  canvas.Fill(
      [&](float x, float y) {
        return shape::Box(x, y, 2 * s, 1.5f * s, w - 2 * s, shineBottom, radius - 2 * s);
      },
      [](float, float) {
        return Colour{255, 255, 255};
      },
      [&](float, float y) { return paint.gloss * (1 - 0.8f * y / shineBottom); });
  return canvas.ToSprite();
}

// The inside of a mark: a rim and a sunken white well.
template <typename Outer, typename Inner>
Canvas MarkWell(int side, const Outer& outer, const Inner& inner) {
  Canvas canvas(side, side);
  const float h = static_cast<float>(side);
  canvas.Fill(outer, kMarkRim);
  canvas.Fill(inner, [h](float, float y) {
    return Mix(kWellTop, kWellBottom, skin::SmoothStep(0.0f, 0.7f, y / h));
  });
  return canvas;
}

}  // namespace

double SkinScale(double scale) {
  if (std::isnan(scale)) return 1;
  return std::clamp(scale, kMinSkinScale, kMaxSkinScale);
}

int Scaled(int length, double scale) {
  if (length <= 0) return 0;
  return static_cast<int>(std::lround(length * SkinScale(scale)));
}

PixelSize Scaled(PixelSize size, double scale) {
  return {Scaled(size.width, scale), Scaled(size.height, scale)};
}

Sprite HeadingBar(PixelSize size, double scale) { return RoundedFace(size, scale, kHeadingPaint); }

Sprite ButtonFace(bool pressed, PixelSize size, double scale) {
  return RoundedFace(size, scale, pressed ? kPressedButtonPaint : kRestingButtonPaint);
}

Sprite OptionMark(bool chosen, double scale) {
  const int side = Scaled(kOptionMarkSide, scale);
  const float s = static_cast<float>(SkinScale(scale));
  const float c = static_cast<float>(side) / 2;
  const float radius = c - 0.25f * s;
  Canvas canvas = MarkWell(
      side, [&](float x, float y) { return shape::Circle(x, y, c, c, radius); },
      [&](float x, float y) { return shape::Circle(x, y, c, c, radius - s); });
  if (chosen) {
    const float dot = 3 * s;
    canvas.Fill([&](float x, float y) { return shape::Circle(x, y, c, c, dot); },
                [&](float x, float y) {
                  const float d = std::hypot(x - (c - s), y - (c - s)) / (dot + s);
                  return Mix(Colour{244, 98, 86}, Colour{178, 18, 24}, std::min(d, 1.0f));
                });
    canvas.Fill([&](float x, float y) { return shape::Circle(x, y, c - s, c - s, 0.9f * s); },
                Colour{255, 255, 255}, 0.55f);
  }
  return canvas.ToSprite();
}

Sprite CheckMark(bool on, double scale) {
  const int side = Scaled(kCheckMarkSide, scale);
  const float s = static_cast<float>(SkinScale(scale));
  const float e = static_cast<float>(side);
  Canvas canvas = MarkWell(
      side, [&](float x, float y) { return shape::Box(x, y, 0, 0, e, e, 2.5f * s); },
      [&](float x, float y) { return shape::Box(x, y, s, s, e - s, e - s, 1.5f * s); });
  if (on) {
    const float inset = 3 * s;
    canvas.Fill(
        [&](float x, float y) { return shape::Box(x, y, inset, inset, e - inset, e - inset, s); },
        [&](float, float y) {
          return Mix(Colour{110, 160, 238}, Colour{28, 76, 176}, (y - inset) / (e - 2 * inset));
        });
  }
  return canvas.ToSprite();
}

}  // namespace orvel
