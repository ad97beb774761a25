#include "platform/linux/pictures/wmf_picture.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/gd.h>
#include <libwmf/ipa.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <new>
#include <numbers>
#include <span>
#include <vector>

#include "graphics/shape_clip.h"
#include "graphics/wmf_header.h"
#include "platform/linux/pictures/pixbuf_image.h"

namespace orvel {
namespace {

// Metafiles larger than this are not read.
constexpr std::streamoff kMaxFileBytes = 64 << 20;

// One metafile is drawn at a time. This guards the device's drawing
// functions below, which are globals every player shares: each new player's
// device sets them and the drawing calls them, and the canvas they draw on.
// (The pixels no longer come out of the player's own image, so there is no
// pixel buffer of the player's left to guard; the PNG each play writes is
// its caller's.)
std::mutex playerMutex;

// The bitmap device's own drawing functions, set when the device is built.
struct DeviceFunctions {
  void (*polygon)(wmfAPI*, wmfPolyLine_t*) = nullptr;
  void (*rectangle)(wmfAPI*, wmfDrawRectangle_t*) = nullptr;
  void (*line)(wmfAPI*, wmfDrawLine_t*) = nullptr;
  void (*polyLine)(wmfAPI*, wmfPolyLine_t*) = nullptr;
  void (*regionFrame)(wmfAPI*, wmfPolyRectangle_t*) = nullptr;
  void (*regionPaint)(wmfAPI*, wmfPolyRectangle_t*) = nullptr;
};
DeviceFunctions bitmapDevice;

// The device walks every pixel of a shape's outline and every row of its
// fill, inside the picture or not, and stamps a pen's whole nib at every
// pixel of a line. So shapes are cut to a box around the picture before
// they reach it, and pens wider than this many pixels are filled as
// polygons instead. The box reaches the picture's larger side beyond each
// edge, so that shapes near the picture reach the device as they are.
constexpr int kDeviceNibPixels = 32;

// What one play draws on, in the device's units (points).
struct Canvas {
  ClipBox box;  // around the picture; what lies outside is cut off
  double pixelsPerUnitX = 1;
  double pixelsPerUnitY = 1;
  // The arc, pie and chord records of the file played.
  const std::vector<PlaceableMetafile::Arc>* arcs = nullptr;
};
Canvas canvas;

ClipPoint ToClip(wmfD_Coord point) { return {point.x, point.y}; }

std::vector<ClipPoint> ToClip(std::span<const wmfD_Coord> points) {
  std::vector<ClipPoint> converted;
  converted.reserve(points.size());
  for (const wmfD_Coord& point : points) converted.push_back(ToClip(point));
  return converted;
}

std::vector<wmfD_Coord> ToDevice(std::span<const ClipPoint> points) {
  std::vector<wmfD_Coord> converted;
  converted.reserve(points.size());
  for (const ClipPoint& point : points) {
    converted.push_back({static_cast<float>(point.x), static_cast<float>(point.y)});
  }
  return converted;
}

bool OnCanvas(std::span<const wmfD_Coord> points) {
  return std::all_of(points.begin(), points.end(),
                     [](const wmfD_Coord& point) { return canvas.box.Contains(ToClip(point)); });
}

bool Draws(const wmfDC* dc) { return (dc->pen->lopnStyle & PS_STYLE_MASK) != PS_NULL; }
bool Fills(const wmfDC* dc) { return dc->brush->lbStyle != BS_NULL; }

// Whether the pen's nib is too wide for the device to stamp (its size in
// pixels is rounded up, as the device rounds it).
bool WidePen(const wmfDC* dc) {
  return Draws(dc) && (std::ceil(dc->pen->width * canvas.pixelsPerUnitX) > kDeviceNibPixels ||
                       std::ceil(dc->pen->height * canvas.pixelsPerUnitY) > kDeviceNibPixels);
}

// A copy of a DC that draws no outline and fills with its own brush or, for
// a wide pen's stroke, with the pen's colour.
class ScratchDc {
 public:
  enum class Fill { Brush, PenColour };
  ScratchDc(const wmfDC* dc, Fill fill) : dc_(*dc), pen_(*dc->pen), brush_(*dc->brush) {
    pen_.lopnStyle = PS_NULL;
    if (fill == Fill::PenColour) {
      brush_ = wmfBrush{};
      brush_.lbStyle = BS_SOLID;
      brush_.lbColor = dc->pen->lopnColor;
    }
    dc_.pen = &pen_;
    dc_.brush = &brush_;
  }
  ScratchDc(const ScratchDc&) = delete;
  ScratchDc& operator=(const ScratchDc&) = delete;

  wmfDC* Get() { return &dc_; }

 private:
  wmfDC dc_;
  wmfPen pen_;
  wmfBrush brush_;
};

// The polygon, cut to the canvas, handed to the device.
void DevicePolygon(wmfAPI* api, wmfDC* dc, std::span<const ClipPoint> points) {
  std::vector<wmfD_Coord> cut = ToDevice(ClipPolygon(points, canvas.box));
  if (cut.size() < 3) return;
  wmfPolyLine_t polygon{};
  polygon.dc = dc;
  polygon.pt = cut.data();
  polygon.count = static_cast<U16>(std::min<std::size_t>(cut.size(), 0xFFFF));
  bitmapDevice.polygon(api, &polygon);
}

// A wide pen's line through the points (back to the first when `closed`):
// what its nib covers along each segment, filled in the pen's colour.
void StrokeWide(wmfAPI* api, wmfDC* dc, std::span<const ClipPoint> points, bool closed) {
  ScratchDc ink(dc, ScratchDc::Fill::PenColour);
  const double halfWidth =
      std::ceil(dc->pen->width * canvas.pixelsPerUnitX) / 2 / canvas.pixelsPerUnitX;
  const double halfHeight =
      std::ceil(dc->pen->height * canvas.pixelsPerUnitY) / 2 / canvas.pixelsPerUnitY;
  const std::size_t segments = closed ? points.size() : points.size() - 1;
  for (std::size_t i = 0; i < segments; ++i) {
    const std::vector<ClipPoint> swept =
        SweptNib(points[i], points[(i + 1) % points.size()], halfWidth, halfHeight);
    const std::vector<ClipPoint> cut = ClipPolygon(swept, canvas.box);
    if (cut.size() < 3) continue;
    DevicePolygon(api, ink.Get(), cut);
    // A nib that covers the whole canvas leaves nothing for the rest.
    if (PolygonArea(cut) >= canvas.box.Area()) return;
  }
}

// Points on the ellipse from angle `from` to `to` (radians, y pointing
// down, so growing angles turn clockwise on the screen), about two pixels
// apart.
void AppendArc(wmfD_Coord centre, double rx, double ry, double from, double to,
               std::vector<wmfD_Coord>& points) {
  const double length = std::abs(to - from) * std::max(rx, ry) * canvas.pixelsPerUnitX;
  const int steps = static_cast<int>(std::clamp(length / 2 + 4, 4.0, 2048.0));
  for (int i = 0; i <= steps; ++i) {
    const double angle = from + (to - from) * i / steps;
    points.push_back({static_cast<float>(centre.x + rx * std::cos(angle)),
                      static_cast<float>(centre.y + ry * std::sin(angle))});
  }
}

// The ellipse of an arc, pie or chord and the angles it runs between.
struct ArcShape {
  wmfD_Coord centre;
  double rx = 0;
  double ry = 0;
  double from = 0;
  double to = 0;
};

// The shape a record asks for. It runs counter-clockwise on the screen
// from the direction of its start point to that of its end point, seen
// from the centre, whichever way the window turns its axes (as GDI draws
// it); the same direction twice is the whole ellipse. The player hands over
// the record's points moved into the ellipse's box one coordinate at a
// time, which turns points outside it to other directions, and the box as
// the record gives it, which a window that turns an axis turns inside out;
// so the points are read from the record itself: the play's input stands
// where the record it has just read ends. (A record too short to be found
// there keeps the player's points.)
std::optional<ArcShape> ShapeOf(wmfAPI* api, const wmfDrawArc_t* arc) {
  ArcShape shape;
  shape.centre = {(arc->TL.x + arc->BR.x) / 2, (arc->TL.y + arc->BR.y) / 2};
  shape.rx = std::abs(arc->BR.x - arc->TL.x) / 2;
  shape.ry = std::abs(arc->BR.y - arc->TL.y) / 2;
  if (shape.rx <= 0 || shape.ry <= 0) return std::nullopt;
  // Where the start and end points lie from the centre, in device units
  // (the player's names for the two are the other way round).
  ClipPoint start{arc->end.x, arc->end.y};
  ClipPoint finish{arc->start.x, arc->start.y};
  const long end = api->bbuf.tell(api->buffer_data);
  const auto record = std::lower_bound(
      canvas.arcs->begin(), canvas.arcs->end(), end,
      [](const PlaceableMetafile::Arc& a, long at) { return static_cast<long>(a.end) < at; });
  if (record != canvas.arcs->end() && static_cast<long>(record->end) == end) {
    const std::array<int, 8>& p = record->parameters;
    const double scaleX = static_cast<double>(arc->BR.x - arc->TL.x) / (p[5] - p[7]);
    const double scaleY = static_cast<double>(arc->BR.y - arc->TL.y) / (p[4] - p[6]);
    const double centreX = (p[5] + p[7]) / 2.0;
    const double centreY = (p[4] + p[6]) / 2.0;
    start = {(p[3] - centreX) * scaleX, (p[2] - centreY) * scaleY};
    finish = {(p[1] - centreX) * scaleX, (p[0] - centreY) * scaleY};
  }
  shape.from = std::atan2(start.y / shape.ry, start.x / shape.rx);
  shape.to = std::atan2(finish.y / shape.ry, finish.x / shape.rx);
  if (shape.to >= shape.from) shape.to -= 2 * std::numbers::pi;
  return shape;
}

// Filled with the DC's brush and outlined with its pen, as Windows does.
void DrawPolygon(wmfAPI* api, wmfPolyLine_t* polygon) {
  if (polygon->count < 3) return;
  const std::span<const wmfD_Coord> points(polygon->pt, polygon->count);
  if (!WidePen(polygon->dc)) {
    if (OnCanvas(points)) {
      bitmapDevice.polygon(api, polygon);
    } else {
      // The outline the device draws along the cut stays off the picture.
      DevicePolygon(api, polygon->dc, ToClip(points));
    }
    return;
  }
  const std::vector<ClipPoint> converted = ToClip(points);
  if (Fills(polygon->dc)) {
    ScratchDc filling(polygon->dc, ScratchDc::Fill::Brush);
    DevicePolygon(api, filling.Get(), converted);
  }
  StrokeWide(api, polygon->dc, converted, true);
}

void DrawPolygon(wmfAPI* api, wmfDC* dc, std::vector<wmfD_Coord>& points) {
  wmfPolyLine_t polygon{};
  polygon.dc = dc;
  polygon.pt = points.data();
  polygon.count = static_cast<U16>(std::min<std::size_t>(points.size(), 0xFFFF));
  DrawPolygon(api, &polygon);
}

// An open line through the points, with the DC's pen.
void DrawOpenLine(wmfAPI* api, wmfDC* dc, std::span<const wmfD_Coord> points) {
  if (!Draws(dc) || points.size() < 2) return;
  if (WidePen(dc)) {
    StrokeWide(api, dc, ToClip(points), false);
    return;
  }
  for (std::size_t i = 1; i < points.size(); ++i) {
    const auto cut = ClipSegment(ToClip(points[i - 1]), ToClip(points[i]), canvas.box);
    if (!cut) continue;
    wmfDrawLine_t line{};
    line.dc = dc;
    line.from = ToDevice(std::array{cut->first})[0];
    line.to = ToDevice(std::array{cut->second})[0];
    bitmapDevice.line(api, &line);
  }
}

void DrawLine(wmfAPI* api, wmfDrawLine_t* line) {
  const std::array points{line->from, line->to};
  if (!WidePen(line->dc) && OnCanvas(points)) {
    bitmapDevice.line(api, line);
  } else {
    DrawOpenLine(api, line->dc, points);
  }
}

void DrawPolyLine(wmfAPI* api, wmfPolyLine_t* line) {
  const std::span<const wmfD_Coord> points(line->pt, line->count);
  if (!WidePen(line->dc) && OnCanvas(points)) {
    bitmapDevice.polyLine(api, line);
  } else {
    DrawOpenLine(api, line->dc, points);
  }
}

// The box's corners come as the record gives them, turned over where the
// window turns an axis.
void DrawEllipse(wmfAPI* api, wmfDrawArc_t* arc) {
  const double rx = std::abs(arc->BR.x - arc->TL.x) / 2;
  const double ry = std::abs(arc->BR.y - arc->TL.y) / 2;
  if (rx <= 0 || ry <= 0) return;
  std::vector<wmfD_Coord> points;
  const wmfD_Coord centre{(arc->TL.x + arc->BR.x) / 2, (arc->TL.y + arc->BR.y) / 2};
  AppendArc(centre, rx, ry, 0, 2 * std::numbers::pi, points);
  points.pop_back();  // the same as the first
  DrawPolygon(api, arc->dc, points);
}

void DrawPie(wmfAPI* api, wmfDrawArc_t* arc) {
  const std::optional<ArcShape> shape = ShapeOf(api, arc);
  if (!shape) return;
  std::vector<wmfD_Coord> points{shape->centre};
  AppendArc(shape->centre, shape->rx, shape->ry, shape->from, shape->to, points);
  DrawPolygon(api, arc->dc, points);
}

void DrawChord(wmfAPI* api, wmfDrawArc_t* arc) {
  const std::optional<ArcShape> shape = ShapeOf(api, arc);
  if (!shape) return;
  std::vector<wmfD_Coord> points;
  AppendArc(shape->centre, shape->rx, shape->ry, shape->from, shape->to, points);
  DrawPolygon(api, arc->dc, points);
}

void DrawArc(wmfAPI* api, wmfDrawArc_t* arc) {
  const std::optional<ArcShape> shape = ShapeOf(api, arc);
  if (!shape) return;
  std::vector<wmfD_Coord> points;
  AppendArc(shape->centre, shape->rx, shape->ry, shape->from, shape->to, points);
  wmfPolyLine_t line{};
  line.dc = arc->dc;
  line.pt = points.data();
  line.count = static_cast<U16>(points.size());
  DrawPolyLine(api, &line);
}

// Rectangles with rounded corners become polygons; square ones stay with
// the device, cut to the canvas.
void DrawRectangle(wmfAPI* api, wmfDrawRectangle_t* rect) {
  const double halfWidth = (rect->BR.x - rect->TL.x) / 2;
  const double halfHeight = (rect->BR.y - rect->TL.y) / 2;
  const double rx = std::min<double>(rect->width / 2, halfWidth);
  const double ry = std::min<double>(rect->height / 2, halfHeight);
  if (rx <= 0 || ry <= 0 || halfWidth <= 0 || halfHeight <= 0) {
    const std::array corners{rect->TL, rect->BR};
    if (!WidePen(rect->dc) && OnCanvas(corners)) {
      bitmapDevice.rectangle(api, rect);
      return;
    }
    const std::array outline{ToClip(rect->TL), ClipPoint{rect->BR.x, rect->TL.y}, ToClip(rect->BR),
                             ClipPoint{rect->TL.x, rect->BR.y}};
    if (!WidePen(rect->dc)) {
      DevicePolygon(api, rect->dc, outline);
      return;
    }
    if (Fills(rect->dc)) {
      ScratchDc filling(rect->dc, ScratchDc::Fill::Brush);
      DevicePolygon(api, filling.Get(), outline);
    }
    StrokeWide(api, rect->dc, outline, true);
    return;
  }
  constexpr double kQuarter = std::numbers::pi / 2;
  const wmfD_Coord topLeft{static_cast<float>(rect->TL.x + rx),
                           static_cast<float>(rect->TL.y + ry)};
  const wmfD_Coord topRight{static_cast<float>(rect->BR.x - rx), topLeft.y};
  const wmfD_Coord bottomRight{topRight.x, static_cast<float>(rect->BR.y - ry)};
  const wmfD_Coord bottomLeft{topLeft.x, bottomRight.y};
  std::vector<wmfD_Coord> points;
  AppendArc(topLeft, rx, ry, 2 * kQuarter, 3 * kQuarter, points);
  AppendArc(topRight, rx, ry, 3 * kQuarter, 4 * kQuarter, points);
  AppendArc(bottomRight, rx, ry, 0, kQuarter, points);
  AppendArc(bottomLeft, rx, ry, kQuarter, 2 * kQuarter, points);
  DrawPolygon(api, rect->dc, points);
}

// A region's rectangles, cut to the canvas; a frame's border no wider than
// the canvas reaches beyond the picture.
void CutRegion(wmfAPI* api, wmfPolyRectangle_t* region,
               void (*draw)(wmfAPI*, wmfPolyRectangle_t*)) {
  std::vector<wmfD_Coord> topLefts;
  std::vector<wmfD_Coord> bottomRights;
  for (unsigned i = 0; i < region->count; ++i) {
    auto clamp = [](wmfD_Coord point) {
      return wmfD_Coord{
          static_cast<float>(std::clamp<double>(point.x, canvas.box.left, canvas.box.right)),
          static_cast<float>(std::clamp<double>(point.y, canvas.box.top, canvas.box.bottom))};
    };
    topLefts.push_back(clamp(region->TL[i]));
    bottomRights.push_back(clamp(region->BR[i]));
  }
  wmfPolyRectangle_t cut = *region;
  cut.TL = topLefts.data();
  cut.BR = bottomRights.data();
  const double margin = canvas.box.right - canvas.box.left;
  cut.width = static_cast<float>(std::clamp<double>(region->width, -margin, margin));
  cut.height = static_cast<float>(std::clamp<double>(region->height, -margin, margin));
  draw(api, &cut);
}

void FrameRegion(wmfAPI* api, wmfPolyRectangle_t* region) {
  CutRegion(api, region, bitmapDevice.regionFrame);
}
void PaintRegion(wmfAPI* api, wmfPolyRectangle_t* region) {
  CutRegion(api, region, bitmapDevice.regionPaint);
}

// libwmf's bitmap device with the curved shapes drawn as polygons and every
// shape cut to the canvas.
void BitmapDeviceOnCanvas(wmfAPI* api) {
  wmf_gd_function(api);
  if (api->err != wmf_E_None) return;
  auto* functions = static_cast<wmfFunctionReference*>(api->function_reference);
  bitmapDevice.polygon = functions->draw_polygon;
  bitmapDevice.rectangle = functions->draw_rectangle;
  bitmapDevice.line = functions->draw_line;
  bitmapDevice.polyLine = functions->poly_line;
  bitmapDevice.regionFrame = functions->region_frame;
  bitmapDevice.regionPaint = functions->region_paint;
  functions->draw_polygon = DrawPolygon;
  functions->draw_rectangle = DrawRectangle;
  functions->draw_line = DrawLine;
  functions->poly_line = DrawPolyLine;
  functions->draw_arc = DrawArc;
  functions->draw_ellipse = DrawEllipse;
  functions->draw_pie = DrawPie;
  functions->draw_chord = DrawChord;
  functions->region_frame = FrameRegion;
  functions->region_paint = PaintRegion;
}

// One player, closed with its input when that was opened.
class Player {
 public:
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;
  Player() {
    wmfAPI_Options options{};
    options.function = BitmapDeviceOnCanvas;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api_, flags, &options) != wmf_E_None && api_ != nullptr) {
      wmf_api_destroy(api_);
      api_ = nullptr;
    }
  }
  ~Player() {
    if (api_ == nullptr) return;
    if (open_) wmf_mem_close(api_);
    wmf_api_destroy(api_);
  }

  wmfAPI* Api() const { return api_; }

  bool Open(std::string& bytes) {
    auto* data = reinterpret_cast<unsigned char*>(bytes.data());
    open_ = wmf_mem_open(api_, data, static_cast<long>(bytes.size())) == wmf_E_None;
    return open_;
  }

 private:
  wmfAPI* api_ = nullptr;
  bool open_ = false;
};

std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return std::nullopt;
  const std::streamoff size = file.tellg();
  if (size < 0 || size > kMaxFileBytes) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(bytes.data(), size)) return std::nullopt;
  return bytes;
}

// Collects the PNG file the device writes at the end of the play. Returns
// what it took, or 0 (which stops the writer) when out of memory.
int CollectPng(void* context, char* buffer, int length) {
  if (length <= 0) return 0;
  try {
    static_cast<std::string*>(context)->append(buffer, static_cast<std::size_t>(length));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return length;
}

struct Unref {
  void operator()(GdkPixbufLoader* loader) const { g_object_unref(loader); }
};

// The picture in the PNG bytes the device wrote, laid over white.
std::optional<Image> DecodePng(const std::string& png, int width, int height) {
  std::unique_ptr<GdkPixbufLoader, Unref> loader(gdk_pixbuf_loader_new_with_type("png", nullptr));
  if (!loader) return std::nullopt;
  GError* error = nullptr;
  const bool written = gdk_pixbuf_loader_write(
      loader.get(), reinterpret_cast<const guchar*>(png.data()), png.size(), &error);
  // Closed even after a failed write, which GdkPixbuf asks for.
  const bool closed = gdk_pixbuf_loader_close(loader.get(), written ? &error : nullptr);
  if (error != nullptr) g_error_free(error);
  GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());  // owned by the loader
  if (!written || !closed || pixbuf == nullptr || gdk_pixbuf_get_width(pixbuf) != width ||
      gdk_pixbuf_get_height(pixbuf) != height) {
    return std::nullopt;
  }
  Image image(width, height);
  if (!PixbufToImage(pixbuf, image, Rgb(255, 255, 255))) return std::nullopt;
  return image;
}

}  // namespace

bool IsWmfPath(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ending = path.substr(path.size() - 4);
  for (char& c : ending) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ending == ".wmf";
}

std::optional<Image> LoadWmf(const std::string& path) {
  std::optional<std::string> bytes = ReadWhole(path);
  if (!bytes) return std::nullopt;
  const std::optional<PlaceableMetafile> metafile = ReadPlaceableMetafile(*bytes);
  if (!metafile) return std::nullopt;

  // What the device writes, kept past the player, which may flush it while
  // it closes.
  std::string png;
  {
    std::lock_guard lock(playerMutex);
    Player player;
    wmfAPI* api = player.Api();
    if (api == nullptr) return std::nullopt;
    // The device's own image would outlive the player (libwmf has no call
    // that frees it), so it writes a PNG file into memory instead and frees
    // the image itself.
    wmf_gd_t* device = WMF_GD_GetData(api);
    if ((device->flags & WMF_GD_SUPPORTS_PNG) == 0) return std::nullopt;
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = CollectPng;
    CapLargestRecordSize(*bytes);
    canvas.arcs = &metafile->arcs;
    if (!player.Open(*bytes)) return std::nullopt;
    // The player needs a scan before it plays; what it found drawn is not
    // what fills the picture.
    wmfD_Rect scanned;
    if (wmf_scan(api, 0, &scanned) != wmf_E_None) return std::nullopt;

    // The player's device units are points (1/72 inch), counted from the
    // window origin a record sets, or from logical 0 where none does, and
    // turned over along an axis the window turns.
    const double scale = 72.0 / metafile->inch;
    const double turnX = metafile->windowWidth < 0 ? -1 : 1;
    const double turnY = metafile->windowHeight < 0 ? -1 : 1;
    const double originX = metafile->setsWindowOrigin ? 0 : metafile->windowX * scale * turnX;
    const double originY = metafile->setsWindowOrigin ? 0 : metafile->windowY * scale * turnY;
    const double widthUnits = std::abs(metafile->windowWidth) * scale;
    const double heightUnits = std::abs(metafile->windowHeight) * scale;
    wmfD_Rect frame;
    frame.TL.x = static_cast<float>(originX);
    frame.TL.y = static_cast<float>(originY);
    frame.BR.x = static_cast<float>(originX + widthUnits);
    frame.BR.y = static_cast<float>(originY + heightUnits);
    device->bbox = frame;
    device->width = static_cast<unsigned>(metafile->width);
    device->height = static_cast<unsigned>(metafile->height);
    canvas.pixelsPerUnitX = metafile->width / widthUnits;
    canvas.pixelsPerUnitY = metafile->height / heightUnits;
    const double margin = std::max(metafile->width, metafile->height) + kDeviceNibPixels;
    canvas.box = {
        frame.TL.x - margin / canvas.pixelsPerUnitX, frame.TL.y - margin / canvas.pixelsPerUnitY,
        frame.BR.x + margin / canvas.pixelsPerUnitX, frame.BR.y + margin / canvas.pixelsPerUnitY};
    if (wmf_play(api, 0, &frame) != wmf_E_None) return std::nullopt;
  }
  if (png.empty()) return std::nullopt;
  try {
    return DecodePng(png, metafile->width, metafile->height);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace orvel
