#include "settings/window_effects.h"

#include <algorithm>

namespace orvel {
namespace {

// The classic three-dimensional colours: light and highlight on the lit
// sides, shadow and dark shadow on the others.
constexpr std::uint32_t kLight = Rgb(0xE3, 0xE3, 0xE3);
constexpr std::uint32_t kHighlight = Rgb(0xFF, 0xFF, 0xFF);
constexpr std::uint32_t kShadow = Rgb(0xA0, 0xA0, 0xA0);
constexpr std::uint32_t kDarkShadow = Rgb(0x69, 0x69, 0x69);

Rect PointRect(const ZoomOrigin& origin) { return Rect{origin.x, origin.y, 0, 0}; }

// One ring `width` pixels wide just inside `r`: top and left in `lit`, bottom
// and right in `shaded`.
void DrawRing(Image& image, const Rect& r, int width, std::uint32_t lit, std::uint32_t shaded) {
  const Rect clip = Intersect(r, image.Bounds());
  for (int y = clip.y; y < clip.Bottom(); ++y) {
    for (int x = clip.x; x < clip.Right(); ++x) {
      const int fromLeft = x - r.x, fromTop = y - r.y;
      const int fromRight = r.Right() - 1 - x, fromBottom = r.Bottom() - 1 - y;
      if (std::min({fromLeft, fromTop, fromRight, fromBottom}) >= width) continue;
      // The bottom and right sides own the corners they share with the top
      // and left, as a bevel has always been drawn.
      const bool shadedSide = fromBottom < width || fromRight < width;
      image.Set(x, y, shadedSide ? shaded : lit);
    }
  }
}

}  // namespace

ZoomOrigin ZoomOriginFromPointer(DialogView& view) {
  std::optional<ScreenPoint> pointer = view.PointerPosition();
  if (!pointer) return {};
  return ZoomOrigin{static_cast<std::int16_t>(pointer->x), static_cast<std::int16_t>(pointer->y)};
}

void ZoomFromOrigin(const ZoomOrigin& origin, DialogView& view) {
  view.AnimateZoom(PointRect(origin), view.WindowRect());
}

void ZoomToOrigin(const ZoomOrigin& origin, DialogView& view) {
  view.AnimateZoom(view.WindowRect(), PointRect(origin));
}

void DrawControlEdge(Image& image, const Rect& area, int edgeKind, int ringWidth) {
  ringWidth = std::max(ringWidth, 1);
  const Rect inner{area.x + ringWidth, area.y + ringWidth, area.w - 2 * ringWidth,
                   area.h - 2 * ringWidth};
  if (edgeKind & EdgeKind::RaisedOuter) DrawRing(image, area, ringWidth, kLight, kDarkShadow);
  if (edgeKind & EdgeKind::SunkenOuter) DrawRing(image, area, ringWidth, kShadow, kHighlight);
  if (edgeKind & EdgeKind::RaisedInner) DrawRing(image, inner, ringWidth, kHighlight, kShadow);
  if (edgeKind & EdgeKind::SunkenInner) DrawRing(image, inner, ringWidth, kDarkShadow, kLight);
}

}  // namespace orvel
