// The settings dialog's finish: the window grows out of the point where the
// mouse pointer was when it opened and shrinks back into it when it closes,
// and the preview box wears a raised frame.
#pragma once

#include <cstdint>

#include "graphics/image.h"
#include "platform/platform.h"

namespace orvel {

// The point the opening zoom starts from and the closing zoom returns to,
// in screen pixels.
struct ZoomOrigin {
  std::int16_t x = 0;
  std::int16_t y = 0;
};

// The pointer's position as the origin; (0, 0) when it cannot be read.
ZoomOrigin ZoomOriginFromPointer(DialogView& view);

// From the origin point to the window's rectangle.
void ZoomFromOrigin(const ZoomOrigin& origin, DialogView& view);
// From the window's rectangle back to the origin point.
void ZoomToOrigin(const ZoomOrigin& origin, DialogView& view);

// Edge kinds, as sums of their borders.
namespace EdgeKind {
constexpr int RaisedOuter = 1;
constexpr int SunkenOuter = 2;
constexpr int RaisedInner = 4;
constexpr int SunkenInner = 8;
constexpr int Raised = RaisedOuter | RaisedInner;
}  // namespace EdgeKind

// Draws the edge over the outermost pixels of `area` in `image`: an outer
// ring and an inner ring, each `ringWidth` pixels wide (1 at 96 dpi), lit
// from the top-left when raised and from the bottom-right when sunken.
void DrawControlEdge(Image& image, const Rect& area, int edgeKind, int ringWidth = 1);

}  // namespace orvel
