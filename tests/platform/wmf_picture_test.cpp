#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/linux/pixbuf_pictures.h"
#include "platform/linux/wmf_header.h"
#include "platform/linux/wmf_picture.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

// Record functions of a Windows metafile; each record is its size in 16-bit
// words (a 32-bit value, the record's own six bytes included), its function
// number, then its 16-bit parameters, which the format stores last
// coordinate first.
constexpr std::uint16_t kSetWindowOrg = 0x020B;    // y, x
constexpr std::uint16_t kSetWindowExt = 0x020C;    // y, x
constexpr std::uint16_t kSelectObject = 0x012D;    // object index
constexpr std::uint16_t kCreatePen = 0x02FA;       // style, width x, width y, colour
constexpr std::uint16_t kCreateBrush = 0x02FC;     // style, colour, hatch
constexpr std::uint16_t kEllipse = 0x0418;         // bottom, right, top, left
constexpr std::uint16_t kPie = 0x081A;             // y2, x2, y1, x1, bottom, right, top, left
constexpr std::uint16_t kRoundRectangle = 0x061C;  // corner height, width, bottom, right, top, left

// Colours as a metafile stores them (0x00BBGGRR) and as an image holds them.
constexpr std::uint32_t kRedColourRef = 0x002814C8;  // red 200, green 20, blue 40
constexpr std::uint32_t kRed = Rgb(200, 20, 40);
constexpr std::uint32_t kBlueColourRef = 0x00C80000;  // blue 200
constexpr std::uint32_t kWhite = Rgb(255, 255, 255);

// A placeable metafile written record by record.
class Metafile {
 public:
  Metafile(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom,
           std::uint16_t inch)
      : box_{left, top, right, bottom}, inch_(inch) {}

  Metafile& Record(std::uint16_t function, std::initializer_list<int> parameters) {
    std::string record;
    Put32(record, static_cast<std::uint32_t>(3 + parameters.size()));
    Put16(record, function);
    for (int parameter : parameters) Put16(record, static_cast<std::uint16_t>(parameter));
    maxRecordWords_ = std::max(maxRecordWords_, static_cast<std::uint32_t>(3 + parameters.size()));
    records_ += record;
    return *this;
  }

  // A solid red brush (object 0) and a one-unit blue pen (object 1), both
  // selected: shapes are red inside with a blue outline.
  Metafile& RedBrushBluePen() {
    Record(kCreateBrush, {0, kRedColourRef & 0xFFFF, kRedColourRef >> 16, 0});
    Record(kSelectObject, {0});
    Record(kCreatePen, {0, 1, 0, kBlueColourRef & 0xFFFF, kBlueColourRef >> 16});
    Record(kSelectObject, {1});
    objects_ = 2;
    return *this;
  }

  std::string Bytes() const {
    std::string body = records_;
    Put32(body, 3);  // the end-of-file record: three words, function 0
    Put16(body, 0);

    // Placeable header: key, handle 0, bounding box, units per inch,
    // reserved 0, then the exclusive-or of the ten words before it.
    std::string placeable;
    Put32(placeable, 0x9AC6CDD7);
    Put16(placeable, 0);
    for (std::int16_t side : box_) Put16(placeable, static_cast<std::uint16_t>(side));
    Put16(placeable, inch_);
    Put32(placeable, 0);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < placeable.size(); i += 2) {
      checksum ^= static_cast<std::uint16_t>(static_cast<unsigned char>(placeable[i]) |
                                             static_cast<unsigned char>(placeable[i + 1]) << 8);
    }
    Put16(placeable, checksum);

    // Standard header: on disk (1), nine words long, version 3.0, the size
    // of header and records in words, the object count, the largest record
    // and no parameters.
    std::string header;
    Put16(header, 1);
    Put16(header, 9);
    Put16(header, 0x0300);
    Put32(header, static_cast<std::uint32_t>(9 + body.size() / 2));
    Put16(header, objects_);
    Put32(header, maxRecordWords_);
    Put16(header, 0);
    return placeable + header + body;
  }

 private:
  static void Put16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
  }
  static void Put32(std::string& out, std::uint32_t value) {
    Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(value >> 16));
  }

  std::array<std::int16_t, 4> box_;
  std::uint16_t inch_;
  std::uint16_t objects_ = 0;
  std::uint32_t maxRecordWords_ = 3;
  std::string records_;
};

class WmfPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orvel-wmf-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(root_ / name, std::ios::binary) << bytes;
    return (root_ / name).string();
  }

  fs::path root_;
};

// Where (x, y), taken at the pixel's centre, lies against the ellipse in the
// box: below 1 inside, above 1 outside.
double EllipseDistance(double x, double y, double left, double top, double right, double bottom) {
  const double cx = (left + right) / 2;
  const double cy = (top + bottom) / 2;
  const double dx = (x + 0.5 - cx) / ((right - left) / 2);
  const double dy = (y + 0.5 - cy) / ((bottom - top) / 2);
  return std::sqrt(dx * dx + dy * dy);
}

// Counts the pixels well inside the ellipse (pixel box) that are not red and
// those well outside it that are not white.
struct EllipseCheck {
  int insideWrong = 0;
  int outsideWrong = 0;
  int inside = 0;
};
EllipseCheck CheckEllipse(const Image& image, double left, double top, double right,
                          double bottom) {
  EllipseCheck check;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      const double d = EllipseDistance(x, y, left, top, right, bottom);
      if (d < 0.85) {
        ++check.inside;
        if (image.At(x, y) != kRed) ++check.insideWrong;
      } else if (d > 1.15 && image.At(x, y) != kWhite) {
        ++check.outsideWrong;
      }
    }
  }
  return check;
}

TEST_F(WmfPictureTest, PicksMetafilesByTheirEndingInAnyCase) {
  EXPECT_TRUE(IsWmfPath("/pics/a.wmf"));
  EXPECT_TRUE(IsWmfPath("/pics/B.WMF"));
  EXPECT_TRUE(IsWmfPath("/pics/c.Wmf"));
  EXPECT_FALSE(IsWmfPath("/pics/d.emf"));
  EXPECT_FALSE(IsWmfPath("/pics/wmf"));
  EXPECT_FALSE(IsWmfPath("/pics/e.wmf.png"));
}

TEST_F(WmfPictureTest, SizesAsTheWindowsLoaderDoesAt96DotsPerInch) {
  // 1000 x 600 units at 1000 per inch: 96 x 57.6 pixels, 57.6 rounding to 58.
  std::optional<PlaceableMetafile> metafile =
      ReadPlaceableMetafile(Metafile(0, 0, 1000, 600, 1000).Bytes());
  ASSERT_TRUE(metafile);
  EXPECT_EQ(metafile->width, 96);
  EXPECT_EQ(metafile->height, 58);

  // Only the box's extent counts, not where it lies. 47 units at 1000 per
  // inch are 119 HIMETRIC (119.38), which are 4 pixels (4.4976), although
  // 47 units straight to pixels would round to 5 (4.512).
  metafile = ReadPlaceableMetafile(Metafile(-20, 300, 27, 1740, 1000).Bytes());
  ASSERT_TRUE(metafile);
  EXPECT_EQ(metafile->width, 4);
  EXPECT_EQ(metafile->height, 138);  // 1440 units: 3658 HIMETRIC, 138.2 pixels

  // Twips: 1440 per inch.
  metafile = ReadPlaceableMetafile(Metafile(0, 0, 2880, 1440, 1440).Bytes());
  ASSERT_TRUE(metafile);
  EXPECT_EQ(metafile->width, 192);
  EXPECT_EQ(metafile->height, 96);
}

TEST_F(WmfPictureTest, TakesTheWindowFromTheRecordsOrElseTheBox) {
  std::optional<PlaceableMetafile> metafile =
      ReadPlaceableMetafile(Metafile(100, 50, 1100, 650, 1000).Bytes());
  ASSERT_TRUE(metafile);
  EXPECT_FALSE(metafile->setsWindowOrigin);
  EXPECT_EQ(metafile->windowX, 100);
  EXPECT_EQ(metafile->windowY, 50);
  EXPECT_EQ(metafile->windowWidth, 1000);
  EXPECT_EQ(metafile->windowHeight, 600);

  // Only the first origin and extent count; a flipped extent is left to the
  // box.
  metafile = ReadPlaceableMetafile(Metafile(0, 0, 1000, 600, 1000)
                                       .Record(kSetWindowOrg, {-30, 70})
                                       .Record(kSetWindowExt, {1200, 2000})
                                       .Record(kSetWindowOrg, {5, 5})
                                       .Record(kSetWindowExt, {10, 10})
                                       .Bytes());
  ASSERT_TRUE(metafile);
  EXPECT_TRUE(metafile->setsWindowOrigin);
  EXPECT_EQ(metafile->windowX, 70);
  EXPECT_EQ(metafile->windowY, -30);
  EXPECT_EQ(metafile->windowWidth, 2000);
  EXPECT_EQ(metafile->windowHeight, 1200);

  metafile = ReadPlaceableMetafile(
      Metafile(0, 0, 1000, 600, 1000).Record(kSetWindowExt, {-600, 1000}).Bytes());
  ASSERT_TRUE(metafile);
  EXPECT_EQ(metafile->windowWidth, 1000);
  EXPECT_EQ(metafile->windowHeight, 600);
}

TEST_F(WmfPictureTest, RefusesWhatIsNoPlaceableMetafile) {
  const std::string good = Metafile(0, 0, 1000, 600, 1000).Bytes();
  // A metafile without the placeable header: the Windows loader reads none.
  EXPECT_FALSE(ReadPlaceableMetafile(good.substr(22)));
  EXPECT_FALSE(ReadPlaceableMetafile(good.substr(0, 10)));
  EXPECT_FALSE(ReadPlaceableMetafile(""));
  EXPECT_FALSE(ReadPlaceableMetafile(Metafile(0, 0, 1000, 600, 0).Bytes()));
  EXPECT_FALSE(ReadPlaceableMetafile(Metafile(0, 0, 0, 600, 1000).Bytes()));
  EXPECT_FALSE(ReadPlaceableMetafile(Metafile(0, 600, 1000, 0, 1000).Bytes()));
  // 32767 x 32767 pixels would be a gigapixel picture.
  EXPECT_FALSE(ReadPlaceableMetafile(Metafile(-32767, -32767, 32767, 32767, 96).Bytes()));

  // A record that claims to run past the end stops the reading of the
  // window, not the picture.
  std::string cut = Metafile(0, 0, 1000, 600, 1000).Record(kSetWindowExt, {1200, 2000}).Bytes();
  cut[40] = 100;  // the first record's size
  std::optional<PlaceableMetafile> metafile = ReadPlaceableMetafile(cut);
  ASSERT_TRUE(metafile);
  EXPECT_EQ(metafile->windowWidth, 1000);

  PixbufPictureLoader loader;
  EXPECT_FALSE(loader.Load(Write("plain.wmf", good.substr(22))));
  EXPECT_FALSE(loader.Load(Write("text.wmf", "not a metafile at all")));
  EXPECT_FALSE(loader.Load((root_ / "missing.wmf").string()));
}

TEST_F(WmfPictureTest, FillsEllipsesInsideTheirOutline) {
  // 1000 x 600 units at 1000 per inch, window as the box; the ellipse's box
  // (100, 100)-(900, 500) is (9.6, 9.6)-(86.4, 48) in pixels.
  const std::string bytes = Metafile(0, 0, 1000, 600, 1000)
                                .Record(kSetWindowOrg, {0, 0})
                                .Record(kSetWindowExt, {600, 1000})
                                .RedBrushBluePen()
                                .Record(kEllipse, {500, 900, 100, 100})
                                .Bytes();
  // Loaded as the saver loads pictures, the ending in capitals.
  PixbufPictureLoader loader;
  std::optional<Image> image = loader.Load(Write("shape.WMF", bytes));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 96);
  EXPECT_EQ(image->Height(), 58);
  EllipseCheck check = CheckEllipse(*image, 9.6, 9.6, 86.4, 48);
  EXPECT_GT(check.inside, 1500);
  EXPECT_EQ(check.insideWrong, 0);
  EXPECT_EQ(check.outsideWrong, 0);
  // The outline is drawn with the pen: the first pixel down the middle
  // column that is not white is blue.
  int top = 0;
  while (top < image->Height() && image->At(48, top) == kWhite) ++top;
  ASSERT_LT(top, 20);
  EXPECT_EQ(image->At(48, top), Rgb(0, 0, 200));
}

TEST_F(WmfPictureTest, MapsTheWindowOntoThePicture) {
  // No window records: the box's corner is the window's origin, so the
  // ellipse (200, 150)-(1000, 550) lies at (100, 100)-(900, 500) of the
  // picture, (9.6, 9.6)-(86.4, 48) in pixels.
  PixbufPictureLoader loader;
  std::optional<Image> image =
      loader.Load(Write("offset.wmf", Metafile(100, 50, 1100, 650, 1000)
                                          .RedBrushBluePen()
                                          .Record(kEllipse, {550, 1000, 150, 200})
                                          .Bytes()));
  ASSERT_TRUE(image);
  EllipseCheck check = CheckEllipse(*image, 9.6, 9.6, 86.4, 48);
  EXPECT_EQ(check.insideWrong, 0);
  EXPECT_EQ(check.outsideWrong, 0);

  // A window twice the box's extent shows the drawing at half size: the
  // ellipse (200, 150)-(1000, 550) of a 2000 x 1200 window fills
  // (9.6, 7.25)-(48, 26.58) of the 96 x 58 picture.
  image = loader.Load(Write("half.wmf", Metafile(0, 0, 1000, 600, 1000)
                                            .Record(kSetWindowOrg, {0, 0})
                                            .Record(kSetWindowExt, {1200, 2000})
                                            .RedBrushBluePen()
                                            .Record(kEllipse, {550, 1000, 150, 200})
                                            .Bytes()));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 96);
  check = CheckEllipse(*image, 9.6, 58.0 * 150 / 1200, 48, 58.0 * 550 / 1200);
  EXPECT_GT(check.inside, 300);
  EXPECT_EQ(check.insideWrong, 0);
  EXPECT_EQ(check.outsideWrong, 0);
}

TEST_F(WmfPictureTest, FillsPiesCounterclockwiseAndRoundsCorners) {
  // A pie in the ellipse (100, 100)-(900, 500) from the upper left
  // (100, 100) counterclockwise to the upper right (900, 100): everything
  // but the wedge at the top.
  PixbufPictureLoader loader;
  std::optional<Image> image =
      loader.Load(Write("pie.wmf", Metafile(0, 0, 1000, 600, 1000)
                                       .RedBrushBluePen()
                                       .Record(kPie, {100, 900, 100, 100, 500, 900, 100, 100})
                                       .Bytes()));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(48, 40), kRed);    // below the centre (48, 28.8)
  EXPECT_EQ(image->At(20, 29), kRed);    // left of it
  EXPECT_EQ(image->At(76, 29), kRed);    // right of it
  EXPECT_EQ(image->At(48, 14), kWhite);  // inside the ellipse, in the wedge

  // A rectangle (100, 100)-(900, 500) with corners of 300 x 200 units:
  // inside red, the corners of the box outside the rounding white.
  image =
      loader.Load(Write("round.wmf", Metafile(0, 0, 1000, 600, 1000)
                                         .RedBrushBluePen()
                                         .Record(kRoundRectangle, {200, 300, 500, 900, 100, 100})
                                         .Bytes()));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(48, 29), kRed);
  EXPECT_EQ(image->At(12, 29), kRed);    // the middle of the left side
  EXPECT_EQ(image->At(48, 12), kRed);    // the middle of the top
  EXPECT_EQ(image->At(11, 11), kWhite);  // top-left corner
  EXPECT_EQ(image->At(84, 46), kWhite);  // bottom-right corner
}

}  // namespace
}  // namespace orvel
