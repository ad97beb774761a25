// Arcs, pies and chords asked for in every way a metafile can, and the
// pixels each must and must not draw, worked out from the geometry. The
// metafile players of both systems check this one table.
//
// A metafile's arc runs counter-clockwise as the picture shows it, from the
// direction of its start point to that of its end point, also where its
// window turns the y axis up: the system's own drawing does so.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "graphics/image.h"
#include "metafile_bytes.h"

namespace orvel::metafile_arcs {

// A segment of the picture, in pixels, that must be drawn on (some pixel on
// or next to it is not white) or must be left white (every pixel on it).
struct Probe {
  double fromX, fromY, toX, toY;
  bool drawn;
};

struct ArcCase {
  std::string name;
  std::string bytes;
  std::vector<Probe> probes;
};

// A 1000 x 1000 window of 192 x 192 pixels.
inline constexpr double kPixelsPerUnit = 0.192;
inline constexpr int kSide = 192;

namespace detail {

struct Point {
  double x, y;
};

inline double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

inline double Distance(Point p, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = dx * dx + dy * dy;
  const double t =
      length == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length, 0.0, 1.0);
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

inline bool Inside(Point p, const std::vector<Point>& polygon) {
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point& a = polygon[i];
    const Point& b = polygon[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) / (b.y - a.y) * (b.x - a.x)) {
      inside = !inside;
    }
  }
  return inside;
}

// One shape: the ellipse (centre and radii in units, y down as the picture
// shows it) from the direction `from` to `to` (degrees, counter-clockwise
// as the picture shows it), its radial points `reach` units from the
// centre (0: on the ellipse).
struct Shape {
  int function;  // 0x0817 arc, 0x081A pie, 0x0830 chord
  double cx, cy, rx, ry, from, to, reach;
  int penUnits;
  bool upwards;  // the window turns the y axis up
};

inline ArcCase Build(const Shape& s) {
  using namespace metafile_bytes;
  // The radial points, and the angles of the ellipse's own parameter where
  // their directions meet it.
  auto radial = [&](double degrees) {
    const double c = std::cos(Radians(degrees)), n = std::sin(Radians(degrees));
    const double k = s.reach > 0 ? s.reach : 1 / std::hypot(c / s.rx, n / s.ry);
    return Point{std::round(s.cx + k * c), std::round(s.cy - k * n)};
  };
  auto parameter = [&](Point p) { return std::atan2((s.cy - p.y) / s.ry, (p.x - s.cx) / s.rx); };
  const Point start = radial(s.from), end = radial(s.to);
  const double t0 = parameter(start);
  double t1 = parameter(end);
  if (t1 <= t0) t1 += 2 * std::numbers::pi;
  auto at = [&](double t, double r) {
    return Point{(s.cx + r * s.rx * std::cos(t)) * kPixelsPerUnit,
                 (s.cy - r * s.ry * std::sin(t)) * kPixelsPerUnit};
  };
  // What is drawn, in pixels: the curve, and for a pie or chord its area.
  std::vector<Point> curve;
  for (int i = 0; i <= 720; ++i) curve.push_back(at(t0 + (t1 - t0) * i / 720, 1));
  std::vector<Point> area = curve;
  if (s.function == 0x081A) area.push_back(at(0, 0));
  std::vector<Point> outline = area;
  if (s.function != 0x0817) outline.push_back(area.front());
  auto nearest = [&](Point p) {
    double d = 1e9;
    for (std::size_t i = 1; i < outline.size(); ++i) {
      d = std::min(d, Distance(p, outline[i - 1], outline[i]));
    }
    return d;
  };
  // The pen covers this far from the outline (its nib may be square).
  const double reach = s.penUnits * kPixelsPerUnit * 0.75 + 2;
  ArcCase c;
  for (int degrees = 0; degrees < 360; degrees += 10) {
    double t = Radians(degrees);
    while (t < t0) t += 2 * std::numbers::pi;
    const double margin = Radians(3);
    const bool onCurve = t > t0 + margin && t < t1 - margin;
    const bool nearEnd = std::abs(t - t0) < margin || std::abs(t - t1) < margin ||
                         std::abs(t - 2 * std::numbers::pi - t0) < margin;
    if (nearEnd) continue;
    std::vector<Probe> probes;
    if (s.function == 0x0817) {
      const Point a = at(t, 0.85), b = at(t, 1.15);
      const bool clear = std::min({nearest(a), nearest(b), nearest(at(t, 1))}) >= reach;
      if (onCurve || clear) probes.push_back({a.x, a.y, b.x, b.y, onCurve});
    } else {
      for (double r : {0.1, 0.5, 0.9}) {
        const Point p = at(t, r);
        const bool drawn = Inside(p, area);
        if (drawn || nearest(p) >= reach) probes.push_back({p.x, p.y, p.x, p.y, drawn});
      }
    }
    for (const Probe& probe : probes) {
      auto within = [](double v) { return v >= 1 && v <= kSide - 1; };
      if (within(probe.fromX) && within(probe.fromY) && within(probe.toX) && within(probe.toY)) {
        c.probes.push_back(probe);
      }
    }
  }

  // The records; in a window turned upwards, y counts from the bottom, and
  // the box's top is its lower side.
  auto y = [&](double v) { return static_cast<int>(s.upwards ? 1000 - v : v); };
  const int top = std::min(y(s.cy - s.ry), y(s.cy + s.ry));
  const int bottom = std::max(y(s.cy - s.ry), y(s.cy + s.ry));
  const std::string window = s.upwards ? WindowOrg(1000, 0) + WindowExt(-1000, 1000)
                                       : WindowOrg(0, 0) + WindowExt(1000, 1000);
  c.bytes = Placeable(
      {0, 0, 1000, 1000}, 500,
      window + RedBrushBluePen(s.penUnits) +
          Record(s.function,
                 {y(end.y), static_cast<int>(end.x), y(start.y), static_cast<int>(start.x), bottom,
                  static_cast<int>(s.cx + s.rx), top, static_cast<int>(s.cx - s.rx)}));
  return c;
}

}  // namespace detail

// Every family (arc, pie, chord), with a thin pen and with one 35 pixels
// wide (wider than the players hand to the system's own wide lines); small,
// reaching far beyond the picture, and round it; with the radial points on
// the ellipse and far outside its box; from 3 to 12 o'clock, and off the axes
// from 5 round to 10 o'clock and from 10 round to 5; in a window with y
// down and one with y up.
inline std::vector<ArcCase> Cases() {
  std::vector<ArcCase> cases;
  const char* families[] = {"arc", "pie", "chord"};
  const int functions[] = {0x0817, 0x081A, 0x0830};
  for (int family = 0; family < 3; ++family) {
    for (int pen : {1, 180}) {
      for (int size = 0; size < 3; ++size) {
        // An open arc round the picture shows nothing of itself.
        if (size == 2 && family == 0) continue;
        for (double reach : {0.0, 29000.0}) {
          for (auto [from, to] :
               {std::pair{0.0, 90.0}, std::pair{-60.0, 150.0}, std::pair{150.0, 300.0}}) {
            for (bool upwards : {false, true}) {
              // Small round the picture's centre; far-reaching and flat,
              // its 3 o'clock end at the centre and the rest far to the
              // left; and round the picture, its centre the picture's.
              const double cx[] = {500, -1000, 500}, rx[] = {300, 1500, 2000},
                           ry[] = {300, 300, 2000};
              ArcCase c = detail::Build({functions[family], cx[size], 500, rx[size], ry[size], from,
                                         to, reach, pen, upwards});
              c.name = std::string(families[family]) + (pen > 1 ? " wide" : " thin") +
                       std::array{" small", " far", " round"}[size] +
                       (reach > 0 ? " outside" : "") + " from " +
                       std::to_string(static_cast<int>(from)) + (upwards ? " upwards" : "");
              cases.push_back(std::move(c));
            }
          }
        }
      }
    }
  }
  return cases;
}

// How many of the case's probes the picture fails.
inline int Failed(const Image& image, const ArcCase& c) {
  auto white = [&](int x, int y) {
    return x < 0 || y < 0 || x >= image.Width() || y >= image.Height() ||
           image.At(x, y) == Rgb(255, 255, 255);
  };
  int failed = 0;
  for (const Probe& p : c.probes) {
    const int steps = static_cast<int>(std::hypot(p.toX - p.fromX, p.toY - p.fromY) * 2) + 1;
    bool anyDrawn = false, allWhite = true;
    for (int i = 0; i <= steps; ++i) {
      const int x = static_cast<int>(p.fromX + (p.toX - p.fromX) * i / steps);
      const int y = static_cast<int>(p.fromY + (p.toY - p.fromY) * i / steps);
      allWhite = allWhite && white(x, y);
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) anyDrawn = anyDrawn || !white(x + dx, y + dy);
      }
    }
    failed += p.drawn ? !anyDrawn : !allWhite;
  }
  return failed;
}

}  // namespace orvel::metafile_arcs
