#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "platform/linux/pixbuf_pictures.h"
#include "platform/linux/wmf_header.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

void Put16(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

// A metafile record: its size in 16-bit words (32 bits, the record's own six
// bytes included), its function, then its parameters, which the format
// stores last coordinate first.
std::string Record(int function, std::initializer_list<int> parameters) {
  std::string record;
  Put16(record, static_cast<int>(3 + parameters.size()));
  Put16(record, 0);
  Put16(record, function);
  for (int parameter : parameters) Put16(record, parameter);
  return record;
}

// Window origin and extent (y, x), and an ellipse (bottom, right, top, left).
std::string WindowOrg(int y, int x) { return Record(0x020B, {y, x}); }
std::string WindowExt(int y, int x) { return Record(0x020C, {y, x}); }
std::string Ellipse(int bottom, int right, int top, int left) {
  return Record(0x0418, {bottom, right, top, left});
}

// A solid brush of red 200, green 20, blue 40 and a one-unit pen of blue 200
// (colours as 0x00BBGGRR), both selected.
const std::string kRedBrushBluePen = Record(0x02FC, {0, 0x14C8, 0x28, 0}) + Record(0x012D, {0}) +
                                     Record(0x02FA, {0, 1, 0, 0, 0xC8}) + Record(0x012D, {1});

// A placeable metafile: the bounding box at `inch` units per inch, then the
// records and the end-of-file record.
std::string Metafile(std::array<int, 4> box, int inch, const std::string& records = "") {
  // Key, handle 0, box, units per inch, reserved 0, then the exclusive-or of
  // the ten words before it.
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
  // On disk, nine words of header, version 3.0, the size in words, two
  // objects, the largest record (eight words) and no parameters.
  const std::string body = records + Record(0, {});
  const int words = static_cast<int>(9 + body.size() / 2);
  std::string header;
  for (int word : {1, 9, 0x0300, words & 0xFFFF, words >> 16, 2, 8, 0, 0}) Put16(header, word);
  return placeable + header + body;
}

TEST(WmfPicture, SizesAsTheWindowsLoaderDoesAt96DotsPerInchAndRefusesOtherFiles) {
  // 57.6 pixels round to 58; 47 units at 1000 per inch are 119 HIMETRIC,
  // which are 4 pixels, although straight to pixels they would round to 5;
  // twips.
  const struct {
    std::array<int, 4> box;
    int inch, width, height;
  } sizes[] = {{{0, 0, 1000, 600}, 1000, 96, 58},
               {{-20, 300, 27, 1740}, 1000, 4, 138},
               {{0, 0, 2880, 1440}, 1440, 192, 96}};
  for (const auto& size : sizes) {
    std::optional<PlaceableMetafile> metafile =
        ReadPlaceableMetafile(Metafile(size.box, size.inch));
    ASSERT_TRUE(metafile) << size.width;
    EXPECT_EQ(metafile->width, size.width);
    EXPECT_EQ(metafile->height, size.height);
  }

  // Without the placeable header the Windows loader reads none; inch 0, an
  // inside-out box and a gigapixel picture are refused.
  EXPECT_FALSE(ReadPlaceableMetafile(Metafile({0, 0, 1000, 600}, 1000).substr(22)));
  EXPECT_FALSE(ReadPlaceableMetafile(Metafile({0, 0, 1000, 600}, 0)));
  EXPECT_FALSE(ReadPlaceableMetafile(Metafile({0, 600, 1000, 0}, 1000)));
  EXPECT_FALSE(ReadPlaceableMetafile(Metafile({-32767, -32767, 32767, 32767}, 96)));
}

TEST(WmfPicture, FillsEllipsesInsideTheirOutlineWhereTheWindowMapsThem) {
  std::string pattern = (fs::temp_directory_path() / "orvel-wmf-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path root = pattern;
  // The ellipse (100, 100)-(900, 500) of a 1000 x 600 window is
  // (9.6, 9.6)-(86.4, 48) in pixels: with the window set as the box, with
  // no window records (the box's corner is the window's origin), and at half
  // size in a window twice the box's extent.
  const struct {
    std::string bytes;
    double left, top, right, bottom;
  } cases[] = {
      {Metafile(
           {0, 0, 1000, 600}, 1000,
           WindowOrg(0, 0) + WindowExt(600, 1000) + kRedBrushBluePen + Ellipse(500, 900, 100, 100)),
       9.6, 9.6, 86.4, 48},
      {Metafile({100, 50, 1100, 650}, 1000, kRedBrushBluePen + Ellipse(550, 1000, 150, 200)), 9.6,
       9.6, 86.4, 48},
      {Metafile({0, 0, 1000, 600}, 1000,
                WindowOrg(0, 0) + WindowExt(1200, 2000) + kRedBrushBluePen +
                    Ellipse(550, 1000, 150, 200)),
       9.6, 58.0 * 150 / 1200, 48, 58.0 * 550 / 1200},
  };
  PixbufPictureLoader loader;
  for (const auto& c : cases) {
    // Loaded as the saver loads pictures, the ending in capitals.
    std::ofstream(root / "shape.WMF", std::ios::binary) << c.bytes;
    std::optional<Image> image = loader.Load((root / "shape.WMF").string());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 96);
    EXPECT_EQ(image->Height(), 58);
    // Red well inside the ellipse, white well outside it.
    int inside = 0, insideWrong = 0, outsideWrong = 0;
    for (int y = 0; y < image->Height(); ++y) {
      for (int x = 0; x < image->Width(); ++x) {
        const double dx = (x + 0.5 - (c.left + c.right) / 2) / ((c.right - c.left) / 2);
        const double dy = (y + 0.5 - (c.top + c.bottom) / 2) / ((c.bottom - c.top) / 2);
        const double d = std::sqrt(dx * dx + dy * dy);
        if (d < 0.85) {
          ++inside;
          insideWrong += image->At(x, y) != Rgb(200, 20, 40);
        } else if (d > 1.15) {
          outsideWrong += image->At(x, y) != Rgb(255, 255, 255);
        }
      }
    }
    EXPECT_GT(inside, 300) << c.top;
    EXPECT_EQ(insideWrong, 0) << c.top;
    EXPECT_EQ(outsideWrong, 0) << c.top;
    // The outline is the pen's: the first pixel down the middle column that
    // is not white is blue.
    const int middle = static_cast<int>((c.left + c.right) / 2);
    int top = 0;
    while (top < image->Height() && image->At(middle, top) == Rgb(255, 255, 255)) ++top;
    ASSERT_LT(top, 20);
    EXPECT_EQ(image->At(middle, top), Rgb(0, 0, 200)) << c.top;
  }
  EXPECT_FALSE(loader.Load((root / "missing.wmf").string()));
  std::error_code ignored;
  fs::remove_all(root, ignored);
}

}  // namespace
}  // namespace orvel
