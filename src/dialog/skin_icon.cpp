// The dialog's window icon: glossy light blue bubbles on a pale sky.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>

#include "dialog/skin.h"
#include "dialog/skin_canvas.h"

namespace orvel {
namespace {

using skin::Canvas;
using skin::Colour;
namespace shape = skin::shape;

struct Bubble {
  float x, y, radius;
};

constexpr Bubble kBubbles[] = {{12.5f, 18.5f, 9.5f}, {23.5f, 9.5f, 6}, {24.5f, 24, 4}};

void DrawBubble(Canvas& canvas, const Bubble& b) {
  canvas.Fill([&](float x, float y) { return shape::Circle(x, y, b.x, b.y, b.radius); },
              Colour{70, 126, 200});
  canvas.Fill([&](float x, float y) { return shape::Circle(x, y, b.x, b.y, b.radius - 1); },
              [&](float x, float y) {
                // Brightest towards the upper left, deeper blue at the rim.
                const float d =
                    skin::Length(x - (b.x - b.radius * 0.35f), y - (b.y - b.radius * 0.35f)) /
                    (b.radius * 1.3f);
                return Mix(Colour{236, 246, 255}, Colour{112, 168, 232}, std::min(d, 1.0f));
              });
  const float spot = std::max(1.2f, b.radius * 0.28f);
  canvas.Fill(
      [&](float x, float y) {
        return shape::Circle(x, y, b.x - b.radius * 0.4f, b.y - b.radius * 0.42f, spot);
      },
      Colour{255, 255, 255}, 0.85f);
}

// Fewer colours: channels rounded to ever coarser steps until no more than
// kWindowIconColours distinct colours remain.
void LimitColours(Image& image) {
  const Image original = image;
  for (int step = 1; step <= 128; step *= 2) {
    std::map<std::uint32_t, int> used;
    for (std::size_t i = 0; i < image.Pixels().size(); ++i) {
      const std::uint32_t p = original.Pixels()[i];
      const auto coarse = [step](int channel) {
        return std::min(255, (channel + step / 2) / step * step);
      };
      image.Pixels()[i] = Rgb(coarse(RedOf(p)), coarse(GreenOf(p)), coarse(BlueOf(p)));
      ++used[image.Pixels()[i]];
    }
    if (used.size() <= static_cast<std::size_t>(kWindowIconColours)) return;
  }
}

}  // namespace

Image WindowIcon() {
  constexpr int side = kWindowIconSide;
  constexpr float e = static_cast<float>(side);
  Canvas canvas(side, side);
  canvas.Fill([&](float x, float y) { return shape::Box(x, y, 0, 0, e, e, 0); },
              Colour{96, 146, 210});
  canvas.Fill([&](float x, float y) { return shape::Box(x, y, 1, 1, e - 1, e - 1, 0); },
              [](float x, float y) {
                return Mix(Colour{232, 242, 252}, Colour{164, 204, 242}, (x + 2 * y) / (3 * e));
              });
  for (const Bubble& bubble : kBubbles) DrawBubble(canvas, bubble);
  Image icon = canvas.ToSprite().colour;
  LimitColours(icon);
  return icon;
}

}  // namespace orvel
