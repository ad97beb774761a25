// Metafiles drawn through GDI, built record by record here.
#include "platform/win32/pictures/win32_metafile.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "metafile_arcs.h"
#include "metafile_bytes.h"
#include "metafile_far_shapes.h"
#include "platform/win32/pictures/win32_pictures.h"
#include "saver/picture_layout.h"
#include "temp_folder.h"

namespace orvel {
namespace {

using namespace metafile_bytes;

std::optional<Image> Draw(const std::string& bytes) {
  const std::optional<Metafile> metafile = ReadMetafile(bytes, 96, 96);
  if (!metafile) return std::nullopt;
  return DrawMetafile(*metafile);
}

TEST(Win32Metafile, SizesAPlaceableOneByItsBoxAtTheScreensDotsPerInch) {
  // 57.6 pixels round to 58; 47 units are 119 HIMETRIC, so 4 pixels (straight, 5); twips; dpi.
  const struct {
    std::array<int, 4> box;
    int inch, dpiX, dpiY, width, height;
  } sizes[] = {
      {{0, 0, 1000, 600}, 1000, 96, 96, 96, 58},      {{-20, 300, 27, 1740}, 1000, 96, 96, 4, 138},
      {{0, 0, 2880, 1440}, 1440, 96, 96, 192, 96},    {{0, 0, 1000, 600}, 1000, 120, 120, 120, 72},
      {{0, 0, 2880, 1440}, 1440, 144, 144, 288, 144}, {{0, 0, 1000, 1000}, 1000, 96, 192, 96, 192}};
  for (const auto& size : sizes) {
    const std::optional<Metafile> metafile =
        ReadMetafile(Placeable(size.box, size.inch), size.dpiX, size.dpiY);
    ASSERT_TRUE(metafile) << size.width;
    EXPECT_EQ(metafile->width, size.width);
    EXPECT_EQ(metafile->height, size.height);
    EXPECT_EQ(metafile->windowX, size.box[0]);
    EXPECT_EQ(metafile->windowHeight, size.box[3] - size.box[1]);
  }

  EXPECT_TRUE(ReadMetafile(Placeable({0, 0, 8192, 4096}, 96), 96, 96));
  EXPECT_FALSE(ReadMetafile(Placeable({0, 0, 8192, 4097}, 96), 96, 96));

  // Refused: inch 0, an empty or inside-out box, under half a pixel high, a gigapixel, a bare key.
  EXPECT_FALSE(ReadMetafile(Placeable({0, 0, 1000, 600}, 0), 96, 96));
  EXPECT_FALSE(ReadMetafile(Placeable({0, 600, 1000, 0}, 1000), 96, 96));
  EXPECT_FALSE(ReadMetafile(Placeable({0, 0, 0, 600}, 1000), 96, 96));
  EXPECT_FALSE(ReadMetafile(Placeable({0, 0, 1000, 7}, 1440), 96, 96));
  EXPECT_FALSE(ReadMetafile(Placeable({-32767, -32767, 32767, 32767}, 96), 96, 96));
  EXPECT_FALSE(ReadMetafile(Placeable({0, 0, 1000, 600}, 1000).substr(0, 4), 96, 96));
  EXPECT_FALSE(ReadMetafile(Placeable({0, 0, 1000, 600}, 1000).substr(0, 30), 96, 96));
}

TEST(Win32Metafile, SizesAPlainOneByTheWindowItsRecordsSet) {
  std::optional<Metafile> metafile =
      ReadMetafile(Plain(WindowOrg(-10, 20) + WindowExt(60, 80) + WindowExt(600, 800)), 96, 96);
  ASSERT_TRUE(metafile);
  EXPECT_EQ(metafile->width, 80);
  EXPECT_EQ(metafile->height, 60);
  EXPECT_EQ(metafile->windowX, 20);
  EXPECT_EQ(metafile->windowY, -10);
  metafile = ReadMetafile(Plain(WindowExt(60, 80)), 192, 144);
  ASSERT_TRUE(metafile);
  EXPECT_EQ(metafile->width, 160);
  EXPECT_EQ(metafile->height, 90);
  EXPECT_EQ(metafile->windowX, 0);
  EXPECT_FALSE(ReadMetafile(Plain(kRedBrushBluePen), 96, 96));
  EXPECT_FALSE(ReadMetafile(Plain(WindowExt(-60, 80)), 96, 96));
  EXPECT_FALSE(ReadMetafile(Plain(WindowExt(60, 0)), 96, 96));
  EXPECT_FALSE(ReadMetafile("BM" + std::string(60, '\0'), 96, 96));
}

TEST(Win32Metafile, FillsShapesWhereTheWindowMapsThem) {
  std::vector<EllipseCase> cases = EllipsesInWindows();
  cases.push_back(
      {Plain(WindowOrg(0, 0) + WindowExt(58, 96) + kRedBrushBluePen + Ellipse(48, 86, 10, 10)), 10,
       10, 86, 48});
  const TempFolder folder;
  Win32PictureLoader loader;
  for (const auto& c : cases) {
    std::ofstream(folder.path() / "shape.wmf", std::ios::binary) << c.bytes;
    const std::optional<Picture> picture =
        loader.Decode((folder.path() / "shape.wmf").string(), {});
    ASSERT_TRUE(picture);
    const Image& image = picture->pixels;
    ASSERT_EQ(image.Width(), 96);
    ASSERT_EQ(image.Height(), 58);
    EXPECT_EQ(picture->size, (PixelSize{96, 58}));
    const auto [wrong, inside] = CheckEllipse(image, c);
    EXPECT_GT(inside, 300) << c.top;
    EXPECT_EQ(wrong, 0) << c.top;
    // The outline is the pen's blue.
    const int middle = static_cast<int>((c.left + c.right) / 2);
    int top = 0;
    while (top < image.Height() && image.At(middle, top) == Rgb(255, 255, 255)) ++top;
    ASSERT_LT(top, 20);
    EXPECT_EQ(image.At(middle, top), Rgb(0, 0, 200)) << c.top;
  }
  const std::optional<Picture> half =
      loader.Decode((folder.path() / "shape.wmf").string(), DrawnSizeOn(48, 48, 1));
  ASSERT_TRUE(half);
  EXPECT_EQ(half->size, (PixelSize{96, 58}));
  ASSERT_EQ(half->pixels.Width(), 48);
  ASSERT_EQ(half->pixels.Height(), 29);
  const EllipseCase& c = cases.back();
  const auto [wrong, inside] =
      CheckEllipse(half->pixels, {c.bytes, c.left / 2, c.top / 2, c.right / 2, c.bottom / 2});
  EXPECT_GT(inside, 300 / 4);
  EXPECT_EQ(wrong, 0);

  // A green rectangle, null pen, (250, 125)-(750, 625) of 1000 units: pixels 24-72 by 12-60.
  const std::optional<Image> image =
      Draw(Placeable({0, 0, 1000, 1000}, 1000,
                     kGreenBrush + Record(0x02FA, {5, 0, 0, 0, 0}) + Record(0x012D, {1}) +
                         Rectangle(625, 750, 125, 250)));
  ASSERT_TRUE(image);
  ASSERT_EQ(image->Width(), 96);
  int green = 0, other = 0;
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 96; ++x) {
      const std::uint32_t pixel = image->At(x, y);
      green += pixel == Rgb(0, 180, 0);
      const bool inner = x >= 25 && x < 71 && y >= 13 && y < 59;
      const bool outer = x < 23 || x > 72 || y < 11 || y > 60;
      other += (inner && pixel != Rgb(0, 180, 0)) || (outer && pixel != Rgb(255, 255, 255));
    }
  }
  EXPECT_EQ(other, 0);
  EXPECT_GE(green, 47 * 47);
  EXPECT_LE(green, 48 * 48);
}

TEST(Win32Metafile, DrawsShapesFarLargerThanThePictureAtOnce) {
  metafile_far_shapes::CheckHugeShapes(Draw);
}

TEST(Win32Metafile, CutsFarReachingShapesWithoutMovingWhatShows) {
  metafile_far_shapes::CheckFarReachingShapes(Draw);
}

TEST(Win32Metafile, CutsRoundedRectanglesAndPolygonGroups) {
  auto draw = [](const std::string& records) {
    return Draw(
        Placeable({0, 0, 1000, 600}, 1000, WindowOrg(0, 0) + WindowExt(600, 1000) + records));
  };
  // From (100, 100) to far below, corners 200 units round: the top corners cut away.
  std::optional<Image> image =
      draw(kRedBrushBluePen + Record(0x061C, {400, 400, 30000, 900, 100, 100}));
  ASSERT_TRUE(image);
  for (int x : {11, 84}) EXPECT_EQ(image->At(x, 11), Rgb(255, 255, 255)) << x;
  for (int x : {30, 66}) EXPECT_EQ(image->At(x, 12), Rgb(200, 20, 40)) << x;
  EXPECT_EQ(image->At(12, 40), Rgb(200, 20, 40));
  EXPECT_EQ(image->At(83, 57), Rgb(200, 20, 40));
  EXPECT_EQ(image->At(8, 40), Rgb(255, 255, 255));

  // A triangle round the picture and a square inside it, filled by alternation: a hole.
  image = draw(kRedBrushBluePen + Record(0x0538, {2, 3, 4, -30000, -30000, 30000, -30000, 0, 30000,
                                                  200, 100, 400, 100, 400, 300, 200, 300}));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(28, 20), Rgb(255, 255, 255));
  for (int x : {5, 60, 90}) EXPECT_EQ(image->At(x, 45), Rgb(200, 20, 40)) << x;
}

TEST(Win32Metafile, DrawsArcsPiesAndChordsCounterClockwiseInTheirWindow) {
  for (const metafile_arcs::ArcCase& c : metafile_arcs::Cases()) {
    ASSERT_GE(c.probes.size(), 4u) << c.name;
    const std::optional<Image> image = Draw(c.bytes);
    ASSERT_TRUE(image) << c.name;
    EXPECT_EQ(metafile_arcs::Failed(*image, c), 0) << c.name;
  }
}

TEST(Win32Metafile, BelievesNoHeaderThatClaimsMoreThanTheFileHolds) {
  const std::string sane = Placeable(
      {0, 0, 1000, 600}, 1000, kRedBrushBluePen + Record(0x001E, {}) + Ellipse(500, 900, 100, 100));
  const std::optional<Image> expected = Draw(sane);
  ASSERT_TRUE(expected);
  EXPECT_EQ(ReadMetafile(sane, 96, 96).value_or(Metafile{}).records, sane.substr(22));

  for (const std::string& corrupt :
       {std::string(sane).replace(34, 4, "\x10\x42\x6f\x6c"),
        std::string(sane).replace(28, 4, std::string("\0\0\0\x40", 4))}) {
    const std::optional<Metafile> repaired = ReadMetafile(corrupt, 96, 96);
    ASSERT_TRUE(repaired);
    EXPECT_EQ(repaired->records, sane.substr(22));
    EXPECT_EQ(DrawMetafile(*repaired), expected);
  }

  // Overrun, too short, cut mid-record, no end record: what comes before is drawn.
  const std::string brushAndPen = Placeable({0, 0, 1000, 600}, 1000, kRedBrushBluePen);
  const std::string beforeEllipse = brushAndPen.substr(0, brushAndPen.size() - 6);
  const std::string overrun = beforeEllipse +
                              Record(0x0418, {500, 900}).replace(0, 2, std::string("\x40\x00", 2)) +
                              Record(0x0418, {500, 900, 100, 100});
  const std::string tooShort = beforeEllipse +
                               Record(0x0418, {}).replace(0, 2, std::string("\x02\x00", 2)) +
                               Ellipse(500, 900, 100, 100);
  const std::string cut = beforeEllipse + Ellipse(500, 900, 100, 100).substr(0, 10);
  const std::optional<Image> blank = Draw(brushAndPen);
  ASSERT_TRUE(blank);
  EXPECT_EQ(CountOther(*blank, Rgb(255, 255, 255)), 0);
  for (const std::string& corrupt : {overrun, tooShort, cut}) {
    const std::optional<Metafile> repaired = ReadMetafile(corrupt, 96, 96);
    ASSERT_TRUE(repaired);
    EXPECT_EQ(repaired->records, brushAndPen.substr(22));
    EXPECT_EQ(DrawMetafile(*repaired), blank);
  }
}

}  // namespace
}  // namespace orvel
