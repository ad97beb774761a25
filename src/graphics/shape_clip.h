// The plane geometry that keeps a metafile's drawing cost bounded by the
// picture it fills: shapes cut to a box around the picture, and the area a
// wide pen covers along a line, as a polygon.
#pragma once

#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace orvel {

struct ClipPoint {
  double x = 0;
  double y = 0;
};

struct ClipBox {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;

  bool Contains(ClipPoint p) const {
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
  }
  double Area() const { return (right - left) * (bottom - top); }
  ClipBox Grown(double by) const { return {left - by, top - by, right + by, bottom + by}; }
};

// The part of the polygon inside the box. Where the polygon leaves the box
// and comes back, the pieces are joined along the box's border, so what is
// filled inside the box does not change. Fewer than three points when
// nothing is left.
std::vector<ClipPoint> ClipPolygon(std::span<const ClipPoint> polygon, const ClipBox& box);

// The part of the segment inside the box; nullopt when none is.
std::optional<std::pair<ClipPoint, ClipPoint>> ClipSegment(ClipPoint from, ClipPoint to,
                                                           const ClipBox& box);

// What an upright rectangular nib, centred on the line, covers as it moves
// from one end to the other: a convex polygon.
std::vector<ClipPoint> SweptNib(ClipPoint from, ClipPoint to, double halfWidth, double halfHeight);

// The polygon's area, whichever way round it runs.
double PolygonArea(std::span<const ClipPoint> polygon);

}  // namespace orvel
