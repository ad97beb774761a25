#include "platform/win32/pictures/win32_metafile_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <numbers>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "graphics/shape_clip.h"

namespace orvel {
namespace {

// The record functions handled here.
constexpr WORD kLineTo = 0x0213;
constexpr WORD kEllipse = 0x0418;
constexpr WORD kRectangle = 0x041B;
constexpr WORD kRoundRect = 0x061C;
constexpr WORD kArc = 0x0817;
constexpr WORD kPie = 0x081A;
constexpr WORD kChord = 0x0830;
constexpr WORD kPolygon = 0x0324;
constexpr WORD kPolyline = 0x0325;
constexpr WORD kPolyPolygon = 0x0538;

// Pens up to this many pixels wide are drawn by GDI along the cut lines;
// wider ones are filled as the area their round nib sweeps.
constexpr double kThinPenPixels = 32;
// Curves are followed in steps of about this many pixels, and never more
// than kMaxCurveSteps of them.
constexpr double kCurveStepPixels = 2;
constexpr double kMaxCurveSteps = 65536;

using Point = ClipPoint;
using Box = ClipBox;

// Logical to device: device = logical * scale + offset, per axis.
struct Mapping {
  double scaleX = 1;
  double scaleY = 1;
  double offsetX = 0;
  double offsetY = 0;

  Point ToDevice(double x, double y) const { return {x * scaleX + offsetX, y * scaleY + offsetY}; }
};

Mapping MappingOf(HDC dc) {
  POINT windowOrigin{};
  POINT viewportOrigin{};
  SIZE windowExtent{1, 1};
  SIZE viewportExtent{1, 1};
  GetWindowOrgEx(dc, &windowOrigin);
  GetViewportOrgEx(dc, &viewportOrigin);
  GetWindowExtEx(dc, &windowExtent);
  GetViewportExtEx(dc, &viewportExtent);
  Mapping mapping;
  if (windowExtent.cx != 0)
    mapping.scaleX = static_cast<double>(viewportExtent.cx) / windowExtent.cx;
  if (windowExtent.cy != 0)
    mapping.scaleY = static_cast<double>(viewportExtent.cy) / windowExtent.cy;
  mapping.offsetX = viewportOrigin.x - windowOrigin.x * mapping.scaleX;
  mapping.offsetY = viewportOrigin.y - windowOrigin.y * mapping.scaleY;
  return mapping;
}

// The pen selected in the DC, its width in device pixels.
struct Pen {
  UINT style = PS_SOLID;
  COLORREF colour = 0;
  double width = 1;
  bool cosmetic = true;  // one pixel whatever the mapping
};

Pen PenOf(HDC dc, const Mapping& mapping) {
  Pen pen;
  LOGPEN logical{};
  if (GetObjectW(GetCurrentObject(dc, OBJ_PEN), sizeof logical, &logical) != sizeof logical) {
    return pen;
  }
  pen.style = logical.lopnStyle & PS_STYLE_MASK;
  pen.colour = logical.lopnColor;
  pen.cosmetic = logical.lopnWidth.x == 0;
  if (!pen.cosmetic) pen.width = std::max(1.0, std::abs(logical.lopnWidth.x * mapping.scaleX));
  return pen;
}

bool BrushFills(HDC dc) {
  LOGBRUSH brush{};
  if (GetObjectW(GetCurrentObject(dc, OBJ_BRUSH), sizeof brush, &brush) != sizeof brush) {
    return true;
  }
  return brush.lbStyle != BS_NULL;
}

// A shape in device pixels: its outlines, closed (filled, and outlined back
// to the first point) or open.
struct Shape {
  std::vector<std::vector<Point>> outlines;
  bool closed = true;
  // Where the shape ends for the current position, in logical units.
  std::optional<POINT> endsAt;
};

// Points on the ellipse about `centre` from angle `from` to `to` (radians
// in device space, y pointing down).
void AppendArc(Point centre, double rx, double ry, double from, double to,
               std::vector<Point>& points) {
  const double length = std::abs(to - from) * std::max(rx, ry);
  const int steps =
      static_cast<int>(std::clamp(std::ceil(length / kCurveStepPixels), 4.0, kMaxCurveSteps));
  for (int i = 0; i <= steps; ++i) {
    const double angle = from + (to - from) * i / steps;
    points.push_back({centre.x + rx * std::cos(angle), centre.y + ry * std::sin(angle)});
  }
}

// The parameters of a record as signed 16-bit numbers; none when the record
// is shorter than `count` of them.
std::optional<std::vector<int>> Parameters(const METARECORD* record, std::size_t count) {
  if (record->rdSize < 3 + count) return std::nullopt;
  std::vector<int> values(count);
  for (std::size_t i = 0; i < count; ++i) values[i] = static_cast<std::int16_t>(record->rdParm[i]);
  return values;
}

// The bounding rectangle (left, top, right, bottom in logical units, the
// record's last four parameters, stored bottom first) in device pixels,
// its corners put in order.
std::pair<Point, Point> DeviceRect(const Mapping& mapping, const std::vector<int>& p,
                                   std::size_t at) {
  const Point a = mapping.ToDevice(p[at + 3], p[at + 2]);
  const Point b = mapping.ToDevice(p[at + 1], p[at]);
  return {{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::max(a.x, b.x), std::max(a.y, b.y)}};
}

// An arc, pie or chord of the ellipse in the rectangle, from the direction
// of the start point to that of the end point, the way GDI draws them.
std::vector<Point> ArcOutline(const Mapping& mapping, const std::vector<int>& p, bool pie) {
  const auto [topLeft, bottomRight] = DeviceRect(mapping, p, 4);
  const Point centre{(topLeft.x + bottomRight.x) / 2, (topLeft.y + bottomRight.y) / 2};
  const double rx = std::max((bottomRight.x - topLeft.x) / 2, 1e-9);
  const double ry = std::max((bottomRight.y - topLeft.y) / 2, 1e-9);
  const Point start = mapping.ToDevice(p[3], p[2]);
  const Point end = mapping.ToDevice(p[1], p[0]);
  const double from = std::atan2((start.y - centre.y) / ry, (start.x - centre.x) / rx);
  double to = std::atan2((end.y - centre.y) / ry, (end.x - centre.x) / rx);
  // GDI turns counter-clockwise on the device: a metafile has no record
  // that changes the arc direction, and it plays in the compatible graphics
  // mode, where a window that turns an axis does not turn arcs. That is
  // towards smaller angles here.
  if (to >= from) to -= 2 * std::numbers::pi;
  std::vector<Point> points;
  if (pie) points.push_back(centre);
  AppendArc(centre, rx, ry, from, to, points);
  return points;
}

std::vector<Point> PointList(const Mapping& mapping, const WORD* words, std::size_t count) {
  std::vector<Point> points;
  points.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    points.push_back(mapping.ToDevice(static_cast<std::int16_t>(words[2 * i]),
                                      static_cast<std::int16_t>(words[2 * i + 1])));
  }
  return points;
}

// The record as a shape in device pixels; nullopt for records that are no
// shape (or too short to be one).
std::optional<Shape> ShapeOf(HDC dc, const METARECORD* record, const Mapping& mapping) {
  Shape shape;
  switch (record->rdFunction) {
    case kRectangle: {
      const auto p = Parameters(record, 4);
      if (!p) return std::nullopt;
      const auto [a, b] = DeviceRect(mapping, *p, 0);
      shape.outlines.push_back({a, {b.x, a.y}, b, {a.x, b.y}});
      return shape;
    }
    case kEllipse: {
      const auto p = Parameters(record, 4);
      if (!p) return std::nullopt;
      const auto [a, b] = DeviceRect(mapping, *p, 0);
      std::vector<Point> points;
      AppendArc({(a.x + b.x) / 2, (a.y + b.y) / 2}, (b.x - a.x) / 2, (b.y - a.y) / 2, 0,
                2 * std::numbers::pi, points);
      points.pop_back();  // the same as the first
      shape.outlines.push_back(std::move(points));
      return shape;
    }
    case kRoundRect: {
      const auto p = Parameters(record, 6);
      if (!p) return std::nullopt;
      const auto [a, b] = DeviceRect(mapping, *p, 2);
      const double rx = std::min(std::abs((*p)[1] * mapping.scaleX) / 2, (b.x - a.x) / 2);
      const double ry = std::min(std::abs((*p)[0] * mapping.scaleY) / 2, (b.y - a.y) / 2);
      constexpr double kQuarter = std::numbers::pi / 2;
      std::vector<Point> points;
      AppendArc({a.x + rx, a.y + ry}, rx, ry, 2 * kQuarter, 3 * kQuarter, points);
      AppendArc({b.x - rx, a.y + ry}, rx, ry, 3 * kQuarter, 4 * kQuarter, points);
      AppendArc({b.x - rx, b.y - ry}, rx, ry, 0, kQuarter, points);
      AppendArc({a.x + rx, b.y - ry}, rx, ry, kQuarter, 2 * kQuarter, points);
      shape.outlines.push_back(std::move(points));
      return shape;
    }
    case kArc:
    case kPie:
    case kChord: {
      const auto p = Parameters(record, 8);
      if (!p) return std::nullopt;
      shape.outlines.push_back(ArcOutline(mapping, *p, record->rdFunction == kPie));
      shape.closed = record->rdFunction != kArc;
      return shape;
    }
    case kLineTo: {
      const auto p = Parameters(record, 2);
      if (!p) return std::nullopt;
      POINT from{};
      GetCurrentPositionEx(dc, &from);
      shape.outlines.push_back(
          {mapping.ToDevice(from.x, from.y), mapping.ToDevice((*p)[1], (*p)[0])});
      shape.closed = false;
      shape.endsAt = POINT{(*p)[1], (*p)[0]};
      return shape;
    }
    case kPolygon:
    case kPolyline: {
      if (record->rdSize < 4) return std::nullopt;
      const std::size_t count = record->rdParm[0];
      if (record->rdSize < 4 + 2 * count) return std::nullopt;
      shape.outlines.push_back(PointList(mapping, record->rdParm + 1, count));
      shape.closed = record->rdFunction == kPolygon;
      return shape;
    }
    case kPolyPolygon: {
      if (record->rdSize < 4) return std::nullopt;
      const std::size_t polygons = record->rdParm[0];
      if (record->rdSize < 4 + polygons) return std::nullopt;
      std::size_t at = 1 + polygons;
      for (std::size_t i = 0; i < polygons; ++i) {
        const std::size_t count = record->rdParm[1 + i];
        if (record->rdSize < 3 + at + 2 * count) return std::nullopt;
        shape.outlines.push_back(PointList(mapping, record->rdParm + at, count));
        at += 2 * count;
      }
      return shape;
    }
    default:
      return std::nullopt;
  }
}

POINT Rounded(Point p) { return {std::lround(p.x), std::lround(p.y)}; }

// The polygon in whole pixels, without repeated points or points in the
// middle of a straight upright or level run (the cut leaves many along the
// box's border).
std::vector<POINT> Simplified(const std::vector<Point>& polygon) {
  std::vector<POINT> points;
  for (const Point& p : polygon) {
    const POINT rounded = Rounded(p);
    if (points.empty() || points.back().x != rounded.x || points.back().y != rounded.y) {
      points.push_back(rounded);
    }
  }
  std::vector<POINT> kept;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const POINT& before = points[(i + points.size() - 1) % points.size()];
    const POINT& after = points[(i + 1) % points.size()];
    const POINT& p = points[i];
    if ((before.x == p.x && p.x == after.x) || (before.y == p.y && p.y == after.y)) continue;
    kept.push_back(p);
  }
  return kept;
}

// What a round nib of the radius covers along the segment: a convex polygon.
std::vector<Point> Capsule(Point a, Point b, double radius) {
  const double direction = std::atan2(b.y - a.y, b.x - a.x);
  constexpr double kHalf = std::numbers::pi / 2;
  std::vector<Point> points;
  AppendArc(b, radius, radius, direction - kHalf, direction + kHalf, points);
  AppendArc(a, radius, radius, direction + kHalf, direction + 3 * kHalf, points);
  return points;
}

// Whether the shape, with the pen's width round it, lies within the box.
bool Within(const Shape& shape, const Box& box, double penWidth) {
  const Box inner = box.Grown(-penWidth / 2 - 1);
  for (const std::vector<Point>& outline : shape.outlines) {
    for (const Point& p : outline) {
      if (!inner.Contains(p)) return false;
    }
  }
  return true;
}

struct ObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using Object = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, ObjectDeleter>;

void FillCut(HDC dc, const std::vector<std::vector<Point>>& outlines, const Box& box) {
  std::vector<POINT> points;
  std::vector<INT> counts;
  for (const std::vector<Point>& outline : outlines) {
    const std::vector<POINT> cut = Simplified(ClipPolygon(outline, box));
    if (cut.size() < 3) continue;
    points.insert(points.end(), cut.begin(), cut.end());
    counts.push_back(static_cast<INT>(cut.size()));
  }
  if (!counts.empty())
    PolyPolygon(dc, points.data(), counts.data(), static_cast<int>(counts.size()));
}

// The shape drawn in device pixels, cut to the box: filled with the DC's
// brush, outlined with its pen.
void DrawCut(HDC dc, const Shape& shape, const Box& box, const Pen& pen) {
  const bool fills = shape.closed && BrushFills(dc);
  const int saved = SaveDC(dc);
  SetMapMode(dc, MM_TEXT);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  Object stroke;
  if (fills) {
    SelectObject(dc, GetStockObject(NULL_PEN));
    FillCut(dc, shape.outlines, box);
  }
  if (pen.style != PS_NULL && pen.width <= kThinPenPixels) {
    stroke.reset(CreatePen(static_cast<int>(pen.style),
                           pen.cosmetic ? 0 : static_cast<int>(std::lround(pen.width)),
                           pen.colour));
    if (stroke) SelectObject(dc, stroke.get());
    const Box reach = box.Grown(pen.width);
    for (const std::vector<Point>& outline : shape.outlines) {
      const std::size_t segments = shape.closed ? outline.size() : outline.size() - 1;
      std::vector<POINT> run;
      auto flush = [&] {
        if (run.size() >= 2) Polyline(dc, run.data(), static_cast<int>(run.size()));
        run.clear();
      };
      for (std::size_t i = 0; i < segments && outline.size() >= 2; ++i) {
        const auto cut = ClipSegment(outline[i], outline[(i + 1) % outline.size()], reach);
        if (!cut) {
          flush();
          continue;
        }
        const POINT from = Rounded(cut->first);
        if (run.empty() || run.back().x != from.x || run.back().y != from.y) {
          flush();
          run.push_back(from);
        }
        run.push_back(Rounded(cut->second));
      }
      flush();
    }
  } else if (pen.style != PS_NULL) {
    stroke.reset(CreateSolidBrush(pen.colour));
    if (stroke) SelectObject(dc, stroke.get());
    SelectObject(dc, GetStockObject(NULL_PEN));
    for (const std::vector<Point>& outline : shape.outlines) {
      const std::size_t segments = shape.closed ? outline.size() : outline.size() - 1;
      for (std::size_t i = 0; i < segments && outline.size() >= 2; ++i) {
        const Point a = outline[i];
        const Point b = outline[(i + 1) % outline.size()];
        // A nib that sweeps nothing near the picture is left out.
        if (!ClipSegment(a, b, box.Grown(pen.width / 2))) continue;
        FillCut(dc, {Capsule(a, b, pen.width / 2)}, box);
      }
    }
  }
  RestoreDC(dc, saved);
}

struct Play {
  Box box;
};

int CALLBACK PlayRecord(HDC dc, HANDLETABLE* handles, METARECORD* record, int objects,
                        LPARAM data) {
  const Play& play = *reinterpret_cast<const Play*>(data);
  const Mapping mapping = MappingOf(dc);
  // No exception may leave through GDI's frames: without memory for the
  // cut shape, the play stops.
  try {
    const std::optional<Shape> shape = ShapeOf(dc, record, mapping);
    const Pen pen = PenOf(dc, mapping);
    if (!shape || Within(*shape, play.box, pen.width)) {
      PlayMetaFileRecord(dc, handles, record, static_cast<UINT>(objects));
      return 1;
    }
    DrawCut(dc, *shape, play.box, pen);
    if (shape->endsAt) MoveToEx(dc, shape->endsAt->x, shape->endsAt->y, nullptr);
    return 1;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

}  // namespace

bool PlayMetafileCut(HDC dc, HMETAFILE metafile, int width, int height) {
  const double margin = std::max(width, height) + kThinPenPixels;
  const Play play{{-margin, -margin, width + margin, height + margin}};
  return EnumMetaFile(dc, metafile, PlayRecord, reinterpret_cast<LPARAM>(&play)) != FALSE;
}

}  // namespace orvel
