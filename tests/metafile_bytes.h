// Windows metafiles built record by record, for the tests of both
// platforms' metafile players.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "graphics/image.h"

namespace orvel::metafile_bytes {

inline void Put16(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

// A record: its size in 16-bit words (32 bits, the record's own six bytes
// included), its function, then its parameters, which the format stores
// last coordinate first.
inline std::string Record(int function, std::initializer_list<int> parameters) {
  std::string record;
  Put16(record, static_cast<int>(3 + parameters.size()));
  Put16(record, 0);
  Put16(record, function);
  for (int parameter : parameters) Put16(record, parameter);
  return record;
}

// Window origin and extent; shapes (coordinates last first, as stored).
inline std::string WindowOrg(int y, int x) { return Record(0x020B, {y, x}); }
inline std::string WindowExt(int y, int x) { return Record(0x020C, {y, x}); }
inline std::string Ellipse(int bottom, int right, int top, int left) {
  return Record(0x0418, {bottom, right, top, left});
}
inline std::string Rectangle(int bottom, int right, int top, int left) {
  return Record(0x041B, {bottom, right, top, left});
}
inline std::string Line(int fromY, int fromX, int toY, int toX) {
  return Record(0x0214, {fromY, fromX}) + Record(0x0213, {toY, toX});
}
inline std::string Arc(int endY, int endX, int startY, int startX, int bottom, int right, int top,
                       int left) {
  return Record(0x0817, {endY, endX, startY, startX, bottom, right, top, left});
}

// A solid brush of red 200, green 20, blue 40 (colours as 0x00BBGGRR),
// selected; with a pen of blue 200 `penWidth` units wide, selected too; a
// green brush (red 0, green 180, blue 0), the only object where it is used.
inline const std::string kRedBrush = Record(0x02FC, {0, 0x14C8, 0x28, 0}) + Record(0x012D, {0});
inline std::string RedBrushBluePen(int penWidth) {
  return kRedBrush + Record(0x02FA, {0, penWidth, 0, 0, 0xC8}) + Record(0x012D, {1});
}
inline const std::string kRedBrushBluePen = RedBrushBluePen(1);
inline const std::string kGreenBrush = Record(0x02FC, {0, 0xB400, 0, 0}) + Record(0x012D, {0});

// The standard header (nine words, version 3.0, the size in words, three
// objects, the largest record in words) and the records, ended.
inline std::string Plain(const std::string& records) {
  const std::string body = records + Record(0, {});
  const int words = static_cast<int>(9 + body.size() / 2);
  std::string header;
  for (int word : {1, 9, 0x0300, words & 0xFFFF, words >> 16, 3, 8, 0, 0}) Put16(header, word);
  return header + body;
}

// A placeable metafile: the bounding box at `inch` units per inch (key,
// handle 0, box, units per inch, reserved 0, then the exclusive-or of the
// ten words before it), then the plain one.
inline std::string Placeable(std::array<int, 4> box, int inch, const std::string& records = "") {
  std::string placeable;
  Put16(placeable, 0xCDD7);
  Put16(placeable, 0x9AC6);
  Put16(placeable, 0);
  for (int side : box) Put16(placeable, side);
  Put16(placeable, inch);
  Put16(placeable, 0);
  Put16(placeable, 0);
  int checksum = 0;
  for (std::size_t i = 0; i < placeable.size(); i += 2) {
    checksum ^= static_cast<unsigned char>(placeable[i]) |
                static_cast<unsigned char>(placeable[i + 1]) << 8;
  }
  Put16(placeable, checksum);
  return placeable + Plain(records);
}

inline std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return bytes;
}

// How many pixels of the picture have a colour other than `colour`.
inline int CountOther(const Image& image, std::uint32_t colour) {
  int other = 0;
  for (std::uint32_t pixel : image.Pixels()) other += pixel != colour;
  return other;
}

// The ellipse (100, 100)-(900, 500) of a 1000 x 600 window, red inside a
// blue pen, is (9.6, 9.6)-(86.4, 48) in pixels: with the window set as the
// box, with no window records (the box's corner is the window's origin), and
// at half size in a window twice the box's extent; in one half its extent
// turned upwards, and turned both ways from the box's corner.
struct EllipseCase {
  std::string bytes;
  double left, top, right, bottom;
};
inline std::vector<EllipseCase> EllipsesInWindows() {
  return {
      {Placeable(
           {0, 0, 1000, 600}, 1000,
           WindowOrg(0, 0) + WindowExt(600, 1000) + kRedBrushBluePen + Ellipse(500, 900, 100, 100)),
       9.6, 9.6, 86.4, 48},
      {Placeable({100, 50, 1100, 650}, 1000, kRedBrushBluePen + Ellipse(550, 1000, 150, 200)), 9.6,
       9.6, 86.4, 48},
      {Placeable({0, 0, 1000, 600}, 1000,
                 WindowOrg(0, 0) + WindowExt(1200, 2000) + kRedBrushBluePen +
                     Ellipse(550, 1000, 150, 200)),
       9.6, 58.0 * 150 / 1200, 48, 58.0 * 550 / 1200},
      {Placeable(
           {0, 0, 1000, 600}, 1000,
           WindowOrg(300, 0) + WindowExt(-300, 500) + kRedBrushBluePen + Ellipse(250, 450, 50, 50)),
       9.6, 58.0 * 50 / 300, 86.4, 58.0 * 250 / 300},
      {Placeable({100, 50, 1100, 650}, 1000,
                 WindowExt(-300, -500) + kRedBrushBluePen + Ellipse(0, 50, -200, -350)),
       9.6, 58.0 * 50 / 300, 86.4, 58.0 * 250 / 300},
  };
}

// The pixels drawn wrong for the case's ellipse (red well inside it, white
// well outside it), and how many lie well inside.
inline std::pair<int, int> CheckEllipse(const Image& image, const EllipseCase& c) {
  int inside = 0, wrong = 0;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      const double dx = (x + 0.5 - (c.left + c.right) / 2) / ((c.right - c.left) / 2);
      const double dy = (y + 0.5 - (c.top + c.bottom) / 2) / ((c.bottom - c.top) / 2);
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d < 0.85) {
        ++inside;
        wrong += image.At(x, y) != Rgb(200, 20, 40);
      } else if (d > 1.15 && image.At(x, y) != Rgb(255, 255, 255)) {
        ++wrong;
      }
    }
  }
  return {wrong, inside};
}

}  // namespace orvel::metafile_bytes
