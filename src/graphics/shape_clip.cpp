#include "graphics/shape_clip.h"

#include <algorithm>
#include <cmath>

namespace orvel {
namespace {

// One step of Sutherland and Hodgman's clipping: the polygon cut by one
// side of the box. `inside` tells which side a point lies on; `cross` gives
// the point where an edge from one side to the other meets the line.
template <typename Inside, typename Cross>
std::vector<ClipPoint> CutBySide(const std::vector<ClipPoint>& polygon, Inside inside,
                                 Cross cross) {
  std::vector<ClipPoint> kept;
  if (polygon.empty()) return kept;
  kept.reserve(polygon.size() + 4);
  ClipPoint previous = polygon.back();
  bool previousInside = inside(previous);
  for (const ClipPoint& current : polygon) {
    const bool currentInside = inside(current);
    if (currentInside != previousInside) kept.push_back(cross(previous, current));
    if (currentInside) kept.push_back(current);
    previous = current;
    previousInside = currentInside;
  }
  return kept;
}

// Where the edge a-b meets the upright line x = at (a and b on either side).
ClipPoint AtX(ClipPoint a, ClipPoint b, double at) {
  return {at, a.y + (at - a.x) / (b.x - a.x) * (b.y - a.y)};
}
ClipPoint AtY(ClipPoint a, ClipPoint b, double at) {
  return {a.x + (at - a.y) / (b.y - a.y) * (b.x - a.x), at};
}

double Cross(ClipPoint origin, ClipPoint a, ClipPoint b) {
  return (a.x - origin.x) * (b.y - origin.y) - (a.y - origin.y) * (b.x - origin.x);
}

}  // namespace

std::vector<ClipPoint> ClipPolygon(std::span<const ClipPoint> polygon, const ClipBox& box) {
  std::vector<ClipPoint> cut(polygon.begin(), polygon.end());
  cut = CutBySide(
      cut, [&](ClipPoint p) { return p.x >= box.left; },
      [&](ClipPoint a, ClipPoint b) { return AtX(a, b, box.left); });
  cut = CutBySide(
      cut, [&](ClipPoint p) { return p.x <= box.right; },
      [&](ClipPoint a, ClipPoint b) { return AtX(a, b, box.right); });
  cut = CutBySide(
      cut, [&](ClipPoint p) { return p.y >= box.top; },
      [&](ClipPoint a, ClipPoint b) { return AtY(a, b, box.top); });
  cut = CutBySide(
      cut, [&](ClipPoint p) { return p.y <= box.bottom; },
      [&](ClipPoint a, ClipPoint b) { return AtY(a, b, box.bottom); });
  return cut;
}

std::optional<std::pair<ClipPoint, ClipPoint>> ClipSegment(ClipPoint from, ClipPoint to,
                                                           const ClipBox& box) {
  // Liang and Barsky: the points from + t (to - from) with t in [enter,
  // leave] that lie on the inner side of all four sides.
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  double enter = 0;
  double leave = 1;
  // Keeps the t for which step * t <= room.
  auto side = [&](double step, double room) {
    if (step == 0) return room >= 0;
    const double t = room / step;
    if (step < 0) {
      enter = std::max(enter, t);
    } else {
      leave = std::min(leave, t);
    }
    return enter <= leave;
  };
  if (!side(-dx, from.x - box.left) || !side(dx, box.right - from.x) ||
      !side(-dy, from.y - box.top) || !side(dy, box.bottom - from.y)) {
    return std::nullopt;
  }
  // The ends that lie inside stay exactly as they were.
  const ClipPoint start = enter > 0 ? ClipPoint{from.x + enter * dx, from.y + enter * dy} : from;
  const ClipPoint end = leave < 1 ? ClipPoint{from.x + leave * dx, from.y + leave * dy} : to;
  return std::pair{start, end};
}

std::vector<ClipPoint> SweptNib(ClipPoint from, ClipPoint to, double halfWidth, double halfHeight) {
  // The convex hull of the nib's corners at both ends (Andrew's monotone
  // chain).
  std::vector<ClipPoint> corners;
  for (ClipPoint end : {from, to}) {
    corners.push_back({end.x - halfWidth, end.y - halfHeight});
    corners.push_back({end.x + halfWidth, end.y - halfHeight});
    corners.push_back({end.x + halfWidth, end.y + halfHeight});
    corners.push_back({end.x - halfWidth, end.y + halfHeight});
  }
  std::sort(corners.begin(), corners.end(),
            [](ClipPoint a, ClipPoint b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  std::vector<ClipPoint> hull;
  auto chain = [&](auto first, auto last) {
    const std::size_t base = hull.size();
    for (auto it = first; it != last; ++it) {
      while (hull.size() >= base + 2 && Cross(hull[hull.size() - 2], hull.back(), *it) <= 0) {
        hull.pop_back();
      }
      hull.push_back(*it);
    }
    hull.pop_back();  // the first point of the other chain
  };
  chain(corners.begin(), corners.end());
  chain(corners.rbegin(), corners.rend());
  return hull;
}

double PolygonArea(std::span<const ClipPoint> polygon) {
  double twice = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const ClipPoint& a = polygon[i];
    const ClipPoint& b = polygon[(i + 1) % polygon.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return std::abs(twice) / 2;
}

}  // namespace orvel
