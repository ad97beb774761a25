// What the skin's pictures are painted with: colours in floating point,
// shapes as signed distances in pixels, and a canvas that lays shapes over
// each other with anti-aliased edges.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "graphics/image.h"
#include "graphics/sprite.h"

namespace orvel::skin {

// A colour with channels from 0 to 255.
struct Colour {
  float r = 0;
  float g = 0;
  float b = 0;
};

constexpr Colour Mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
constexpr Colour Scale(Colour c, float f) { return {c.r * f, c.g * f, c.b * f}; }
std::uint32_t ToPixel(Colour c);

// t from 0 to 1 eased at both ends.
inline float SmoothStep(float edge0, float edge1, float x) {
  const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

// Signed distances from the point (px, py) to a shape's edge, in pixels:
// negative inside, positive outside.
namespace shape {

// The box from (x0, y0) to (x1, y1) with its corners rounded by radius.
inline float Box(float px, float py, float x0, float y0, float x1, float y1, float radius) {
  const float hx = (x1 - x0) / 2;
  const float hy = (y1 - y0) / 2;
  const float r = std::min({radius, hx, hy});
  const float qx = std::abs(px - (x0 + x1) / 2) - hx + r;
  const float qy = std::abs(py - (y0 + y1) / 2) - hy + r;
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

inline float Circle(float px, float py, float cx, float cy, float radius) {
  return std::hypot(px - cx, py - cy) - radius;
}

// The points within radius of the segment from (ax, ay) to (bx, by).
inline float Segment(float px, float py, float ax, float ay, float bx, float by, float radius) {
  const float dx = bx - ax;
  const float dy = by - ay;
  const float length2 = dx * dx + dy * dy;
  const float t =
      length2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0f, 1.0f) : 0.0f;
  return std::hypot(px - ax - t * dx, py - ay - t * dy) - radius;
}

}  // namespace shape

// How much of a pixel a shape covers, from its distance at the pixel's
// centre: a box filter one pixel wide across the edge.
inline float Coverage(float distance) { return std::clamp(0.5f - distance, 0.0f, 1.0f); }

// A picture being painted: transparent at first; each Fill lays paint over
// what is there (source over), pixel by pixel in the coverage of its shape.
class Canvas {
 public:
  Canvas(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // distance(x, y), paint(x, y) and opacity(x, y) are asked at each
  // pixel's centre (column + 0.5, row + 0.5): the shape's signed distance in
  // pixels, the colour there and how much of it is laid on (0 to 1).
  template <typename Distance, typename Paint, typename Opacity>
  void Fill(const Distance& distance, const Paint& paint, const Opacity& opacity) {
    for (int y = 0; y < height_; ++y) {
      const float cy = static_cast<float>(y) + 0.5f;
      for (int x = 0; x < width_; ++x) {
        const float cx = static_cast<float>(x) + 0.5f;
        const float cover = Coverage(distance(cx, cy));
        if (cover > 0) Lay(x, y, paint(cx, cy), cover * opacity(cx, cy));
      }
    }
  }

  // The same laid on fully.
  template <typename Distance, typename Paint>
  void Fill(const Distance& distance, const Paint& paint) {
    Fill(distance, paint, [](float, float) { return 1.0f; });
  }

  // The same in one colour.
  template <typename Distance>
  void Fill(const Distance& distance, Colour colour, float opacity = 1.0f) {
    Fill(
        distance, [colour](float, float) { return colour; },
        [opacity](float, float) { return opacity; });
  }

  Sprite ToSprite() const;

 private:
  void Lay(int x, int y, Colour colour, float cover);

  int width_;
  int height_;
  std::vector<Colour> premultiplied_;
  std::vector<float> alpha_;
};

}  // namespace orvel::skin
