// The hand pointer of the dialog's clickable controls.
#include <algorithm>

#include "dialog/skin.h"
#include "dialog/skin_canvas.h"

namespace orvel {
namespace {

using skin::Canvas;
using skin::Colour;
namespace shape = skin::shape;

// The hand in 96-dpi units: the index finger up, the other three curled
// beside it, the thumb out to the left. Edges lie on whole units and the
// finger lines on half units, so that the picture is crisp at scale 1 and 2.
float Hand(float u, float v) {
  const float index = shape::Box(u, v, 10, 2, 15, 17, 2.5f);
  const float middle = shape::Box(u, v, 15, 10, 19, 19, 2);
  const float ring = shape::Box(u, v, 19, 11, 23, 19, 2);
  const float little = shape::Box(u, v, 23, 13, 26, 19, 1.5f);
  const float palm = shape::Box(u, v, 10, 15, 26, 26, 3);
  const float thumb = shape::Segment(u, v, 11.5f, 21.5f, 6.5f, 16.5f, 2.25f);
  return std::min({index, middle, ring, little, palm, thumb});
}

float Cuff(float u, float v) { return shape::Box(u, v, 10, 25, 26, 30, 1); }

// The creases where the curled fingers meet.
float Creases(float u, float v) {
  return std::min({shape::Segment(u, v, 15.5f, 10, 15.5f, 14.5f, 0.5f),
                   shape::Segment(u, v, 19.5f, 11, 19.5f, 15.5f, 0.5f),
                   shape::Segment(u, v, 23.5f, 13, 23.5f, 16.5f, 0.5f)});
}

constexpr Colour kOutline{0, 0, 0};
constexpr Colour kSkinLight{255, 255, 255};
constexpr Colour kSkinShade{206, 213, 226};
constexpr Colour kCrease{92, 98, 112};
constexpr Colour kCuffTop{66, 94, 170};
constexpr Colour kCuffBottom{20, 34, 96};

}  // namespace

Cursor HandCursor(double scale) {
  const int side = Scaled(kCursorSide, scale);
  const float s = static_cast<float>(SkinScale(scale));
  // Shapes and distances in units, measured in pixels.
  const auto inPixels = [s](auto distance) {
    return [s, distance](float x, float y) { return distance(x / s, y / s) * s; };
  };
  const auto grown = [](auto distance) {
    return [distance](float u, float v) { return distance(u, v) - 1; };
  };
  Canvas canvas(side, side);
  canvas.Fill(inPixels(grown(Hand)), kOutline);
  canvas.Fill(inPixels(Hand), [s](float x, float y) {
    // Lit from the upper left.
    const float t = std::clamp((x / s - 9) / 18 + (y / s - 8) / 40, 0.0f, 1.0f);
    return Mix(kSkinLight, kSkinShade, t * t);
  });
  canvas.Fill(inPixels(Creases), kCrease);
  canvas.Fill(inPixels(grown(Cuff)), kOutline);
  canvas.Fill(inPixels(Cuff), [s](float, float y) {
    return Mix(kCuffTop, kCuffBottom, std::clamp((y / s - 25) / 5, 0.0f, 1.0f));
  });
  return Cursor{canvas.ToSprite(), Scaled(12, scale), Scaled(1, scale)};
}

}  // namespace orvel
