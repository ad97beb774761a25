#include "platform/linux/wmf_picture.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/ipa.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <new>
#include <numbers>
#include <vector>

#include "platform/linux/pixbuf_image.h"
#include "platform/linux/wmf_header.h"

namespace orvel {
namespace {

// Metafiles larger than this are not read.
constexpr std::streamoff kMaxFileBytes = 64 << 20;

// One metafile is drawn at a time. This guards the device's drawing
// functions below, which are globals every player shares: each new player's
// device sets them and the curve drawing calls them. (The pixels no longer
// come out of the player's own image, so there is no pixel buffer of the
// player's left to guard; the PNG each play writes is its caller's.)
std::mutex playerMutex;

// The bitmap device's polygon, which fills with the brush and outlines with
// the pen as Windows does; set when the device is built.
void (*devicePolygon)(wmfAPI*, wmfPolyLine_t*) = nullptr;
void (*deviceRectangle)(wmfAPI*, wmfDrawRectangle_t*) = nullptr;

// Points on the ellipse within the box from angle `from` to `to` (radians,
// y pointing down, so growing angles turn clockwise on the screen), about
// two pixels apart.
void AppendArc(wmfAPI* api, wmfD_Coord centre, double rx, double ry, double from, double to,
               std::vector<wmfD_Coord>& points) {
  const wmf_gd_t* device = WMF_GD_GetData(api);
  const double deviceWidth = device->bbox.BR.x - device->bbox.TL.x;
  const double pixelsPerUnit = deviceWidth > 0 ? device->width / deviceWidth : 1.0;
  const double length = (to - from) * std::max(rx, ry) * pixelsPerUnit;
  const int steps = std::clamp(static_cast<int>(length / 2) + 4, 4, 2048);
  for (int i = 0; i <= steps; ++i) {
    const double angle = from + (to - from) * i / steps;
    points.push_back({static_cast<float>(centre.x + rx * std::cos(angle)),
                      static_cast<float>(centre.y + ry * std::sin(angle))});
  }
}

wmfD_Coord Centre(const wmfDrawArc_t* arc) {
  return {(arc->TL.x + arc->BR.x) / 2, (arc->TL.y + arc->BR.y) / 2};
}

// The angles an arc runs between: its start and end are given from the
// centre, and it runs clockwise on the screen from start to end; the same
// direction twice is the whole ellipse.
std::pair<double, double> ArcAngles(const wmfDrawArc_t* arc, double rx, double ry) {
  const double from = std::atan2(arc->start.y / ry, arc->start.x / rx);
  double to = std::atan2(arc->end.y / ry, arc->end.x / rx);
  if (to <= from) to += 2 * std::numbers::pi;
  return {from, to};
}

void DrawPolygon(wmfAPI* api, wmfDC* dc, std::vector<wmfD_Coord>& points) {
  if (points.size() < 3) return;
  wmfPolyLine_t polygon{};
  polygon.dc = dc;
  polygon.pt = points.data();
  polygon.count = static_cast<U16>(std::min<std::size_t>(points.size(), 0xFFFF));
  devicePolygon(api, &polygon);
}

void DrawEllipse(wmfAPI* api, wmfDrawArc_t* arc) {
  const double rx = (arc->BR.x - arc->TL.x) / 2;
  const double ry = (arc->BR.y - arc->TL.y) / 2;
  if (rx <= 0 || ry <= 0) return;
  std::vector<wmfD_Coord> points;
  AppendArc(api, Centre(arc), rx, ry, 0, 2 * std::numbers::pi, points);
  points.pop_back();  // the same as the first
  DrawPolygon(api, arc->dc, points);
}

void DrawPie(wmfAPI* api, wmfDrawArc_t* arc) {
  const double rx = (arc->BR.x - arc->TL.x) / 2;
  const double ry = (arc->BR.y - arc->TL.y) / 2;
  if (rx <= 0 || ry <= 0) return;
  const auto [from, to] = ArcAngles(arc, rx, ry);
  std::vector<wmfD_Coord> points{Centre(arc)};
  AppendArc(api, Centre(arc), rx, ry, from, to, points);
  DrawPolygon(api, arc->dc, points);
}

void DrawChord(wmfAPI* api, wmfDrawArc_t* arc) {
  const double rx = (arc->BR.x - arc->TL.x) / 2;
  const double ry = (arc->BR.y - arc->TL.y) / 2;
  if (rx <= 0 || ry <= 0) return;
  const auto [from, to] = ArcAngles(arc, rx, ry);
  std::vector<wmfD_Coord> points;
  AppendArc(api, Centre(arc), rx, ry, from, to, points);
  DrawPolygon(api, arc->dc, points);
}

// Rectangles with rounded corners become polygons; square ones stay with
// the device.
void DrawRectangle(wmfAPI* api, wmfDrawRectangle_t* rect) {
  const double halfWidth = (rect->BR.x - rect->TL.x) / 2;
  const double halfHeight = (rect->BR.y - rect->TL.y) / 2;
  const double rx = std::min<double>(rect->width / 2, halfWidth);
  const double ry = std::min<double>(rect->height / 2, halfHeight);
  if (rx <= 0 || ry <= 0 || halfWidth <= 0 || halfHeight <= 0) {
    deviceRectangle(api, rect);
    return;
  }
  constexpr double kQuarter = std::numbers::pi / 2;
  const wmfD_Coord topLeft{static_cast<float>(rect->TL.x + rx),
                           static_cast<float>(rect->TL.y + ry)};
  const wmfD_Coord topRight{static_cast<float>(rect->BR.x - rx), topLeft.y};
  const wmfD_Coord bottomRight{topRight.x, static_cast<float>(rect->BR.y - ry)};
  const wmfD_Coord bottomLeft{topLeft.x, bottomRight.y};
  std::vector<wmfD_Coord> points;
  AppendArc(api, topLeft, rx, ry, 2 * kQuarter, 3 * kQuarter, points);
  AppendArc(api, topRight, rx, ry, 3 * kQuarter, 4 * kQuarter, points);
  AppendArc(api, bottomRight, rx, ry, 0, kQuarter, points);
  AppendArc(api, bottomLeft, rx, ry, kQuarter, 2 * kQuarter, points);
  DrawPolygon(api, rect->dc, points);
}

// libwmf's bitmap device with the curved shapes drawn as polygons.
void BitmapDeviceWithFilledCurves(wmfAPI* api) {
  wmf_gd_function(api);
  if (api->err != wmf_E_None) return;
  auto* functions = static_cast<wmfFunctionReference*>(api->function_reference);
  devicePolygon = functions->draw_polygon;
  deviceRectangle = functions->draw_rectangle;
  functions->draw_ellipse = DrawEllipse;
  functions->draw_pie = DrawPie;
  functions->draw_chord = DrawChord;
  functions->draw_rectangle = DrawRectangle;
}

// One player, closed with its input when that was opened.
class Player {
 public:
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;
  Player() {
    wmfAPI_Options options{};
    options.function = BitmapDeviceWithFilledCurves;
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
    if (!player.Open(*bytes)) return std::nullopt;
    // The player needs a scan before it plays; what it found drawn is not
    // what fills the picture.
    wmfD_Rect scanned;
    if (wmf_scan(api, 0, &scanned) != wmf_E_None) return std::nullopt;

    // The player's device units are points (1/72 inch), counted from the
    // window origin a record sets, or from logical 0 where none does.
    const double scale = 72.0 / metafile->inch;
    const double originX = metafile->setsWindowOrigin ? 0 : metafile->windowX * scale;
    const double originY = metafile->setsWindowOrigin ? 0 : metafile->windowY * scale;
    wmfD_Rect frame;
    frame.TL.x = static_cast<float>(originX);
    frame.TL.y = static_cast<float>(originY);
    frame.BR.x = static_cast<float>(originX + metafile->windowWidth * scale);
    frame.BR.y = static_cast<float>(originY + metafile->windowHeight * scale);
    device->bbox = frame;
    device->width = static_cast<unsigned>(metafile->width);
    device->height = static_cast<unsigned>(metafile->height);
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
