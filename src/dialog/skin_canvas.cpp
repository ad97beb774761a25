#include "dialog/skin_canvas.h"

#include <cstddef>

namespace orvel::skin {
namespace {

int Channel(float value) { return static_cast<int>(std::lround(std::clamp(value, 0.0f, 255.0f))); }

}  // namespace

std::uint32_t ToPixel(Colour c) { return Rgb(Channel(c.r), Channel(c.g), Channel(c.b)); }

Canvas::Canvas(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      premultiplied_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)),
      alpha_(premultiplied_.size(), 0.0f) {}

void Canvas::Lay(int x, int y, Colour colour, float cover) {
  const std::size_t i =
      static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  const float keep = 1 - cover;
  Colour& p = premultiplied_[i];
  p = {colour.r * cover + p.r * keep, colour.g * cover + p.g * keep, colour.b * cover + p.b * keep};
  alpha_[i] = cover + alpha_[i] * keep;
}

Sprite Canvas::ToSprite() const {
  Sprite sprite{Image(width_, height_), std::vector<std::uint8_t>(alpha_.size(), 0)};
  std::uint32_t* out = sprite.colour.Pixels().data();
  for (std::size_t i = 0; i < alpha_.size(); ++i) {
    const int a = Channel(alpha_[i] * 255);
    sprite.alpha[i] = static_cast<std::uint8_t>(a);
    out[i] = a == 0 ? 0 : ToPixel(Scale(premultiplied_[i], 1 / alpha_[i]));
  }
  return sprite;
}

}  // namespace orvel::skin
