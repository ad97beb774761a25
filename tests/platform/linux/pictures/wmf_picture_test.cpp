#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "graphics/wmf_header.h"
#include "metafile_arcs.h"
#include "metafile_bytes.h"
#include "metafile_far_shapes.h"
#include "platform/linux/pictures/pixbuf_pictures.h"
#include "temp_folder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

using namespace metafile_bytes;

TEST(WmfPicture, SizesAsTheWindowsLoaderDoesAt96DotsPerInchAndRefusesOtherFiles) {
  // 57.6 pixels round to 58; 47 units at 1000 per inch are 119 HIMETRIC and
  // so 4 pixels (straight to pixels, 5); twips.
  const struct {
    std::array<int, 4> box;
    int inch, width, height;
  } sizes[] = {{{0, 0, 1000, 600}, 1000, 96, 58},
               {{-20, 300, 27, 1740}, 1000, 4, 138},
               {{0, 0, 2880, 1440}, 1440, 192, 96}};
  for (const auto& size : sizes) {
    std::optional<PlaceableMetafile> metafile =
        ReadPlaceableMetafile(Placeable(size.box, size.inch));
    ASSERT_TRUE(metafile) << size.width;
    EXPECT_EQ(metafile->width, size.width);
    EXPECT_EQ(metafile->height, size.height);
  }

  // Refused: no placeable header, inch 0, a box inside out, a gigapixel.
  EXPECT_FALSE(ReadPlaceableMetafile(Placeable({0, 0, 1000, 600}, 1000).substr(22)));
  EXPECT_FALSE(ReadPlaceableMetafile(Placeable({0, 0, 1000, 600}, 0)));
  EXPECT_FALSE(ReadPlaceableMetafile(Placeable({0, 600, 1000, 0}, 1000)));
  EXPECT_FALSE(ReadPlaceableMetafile(Placeable({-32767, -32767, 32767, 32767}, 96)));

  // The window of the first origin and extent records, also after SaveDC.
  const std::optional<PlaceableMetafile> set =
      ReadPlaceableMetafile(Placeable({0, 0, 1000, 600}, 1000,
                                      Record(0x001E, {}) + WindowOrg(-7, 5) + WindowExt(-300, 400) +
                                          WindowOrg(1, 2) + WindowExt(9, 9)));
  ASSERT_TRUE(set);
  EXPECT_TRUE(set->setsWindowOrigin);
  EXPECT_EQ((std::array{set->windowX, set->windowY, set->windowWidth, set->windowHeight}),
            (std::array{5.0, -7.0, 400.0, -300.0}));
}

TEST(WmfPicture, FillsEllipsesInsideTheirOutlineWhereTheWindowMapsThem) {
  const TempFolder folder;
  const fs::path& root = folder.path();
  PixbufPictureLoader loader;
  for (const EllipseCase& c : EllipsesInWindows()) {
    // The ending in capitals.
    std::ofstream(root / "shape.WMF", std::ios::binary) << c.bytes;
    std::optional<Image> image = loader.Load((root / "shape.WMF").string());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 96);
    EXPECT_EQ(image->Height(), 58);
    const auto [wrong, inside] = CheckEllipse(*image, c);
    EXPECT_GT(inside, 300) << c.top;
    EXPECT_EQ(wrong, 0) << c.top;
    // The outline is the pen's: the first pixel down the middle not white is blue.
    const int middle = static_cast<int>((c.left + c.right) / 2);
    int top = 0;
    while (top < image->Height() && image->At(middle, top) == Rgb(255, 255, 255)) ++top;
    ASSERT_LT(top, 20);
    EXPECT_EQ(image->At(middle, top), Rgb(0, 0, 200)) << c.top;
  }
  EXPECT_FALSE(loader.Load((root / "missing.wmf").string()));
}

std::optional<Image> LoadMetafile(const std::string& bytes) {
  const TempFolder folder;
  const fs::path path = folder.path() / "shape.wmf";
  std::ofstream(path, std::ios::binary) << bytes;
  return PixbufPictureLoader().Load(path.string());
}

TEST(WmfPicture, DrawsShapesFarLargerThanThePictureAtOnce) {
  metafile_far_shapes::CheckHugeShapes(LoadMetafile);
}

TEST(WmfPicture, CutsFarReachingShapesWithoutMovingWhatShows) {
  metafile_far_shapes::CheckFarReachingShapes(LoadMetafile);
}

TEST(WmfPicture, DrawsArcsPiesAndChordsCounterClockwiseInTheirWindow) {
  for (const metafile_arcs::ArcCase& c : metafile_arcs::Cases()) {
    ASSERT_GE(c.probes.size(), 4u) << c.name;
    const std::optional<Image> image = LoadMetafile(c.bytes);
    ASSERT_TRUE(image) << c.name;
    EXPECT_EQ(metafile_arcs::Failed(*image, c), 0) << c.name;
  }
}

TEST(WmfPicture, BelievesNoLargestRecordLargerThanTheFile) {
  // The header claims a largest record of 3.6 GB for this 180-byte file.
  const std::string sane =
      Placeable({0, 0, 1000, 600}, 1000, kRedBrushBluePen + Ellipse(500, 900, 100, 100));
  std::string corrupt = sane;
  corrupt.replace(34, 4, "\x10\x42\x6f\x6c");
  std::string capped = corrupt;
  CapLargestRecordSize(capped);
  const auto largest = [](const std::string& bytes) {
    std::uint32_t words = 0;
    for (int i = 3; i >= 0; --i) words = words << 8 | static_cast<unsigned char>(bytes[34 + i]);
    return words;
  };
  EXPECT_EQ(largest(capped), (sane.size() - 22) / 2);
  EXPECT_EQ(capped.substr(38), sane.substr(38));
  std::string untouched = sane;
  CapLargestRecordSize(untouched);
  EXPECT_EQ(untouched, sane);

  const std::optional<Image> drawn = LoadMetafile(corrupt);
  ASSERT_TRUE(drawn);
  EXPECT_EQ(*drawn, LoadMetafile(sane).value());
}

TEST(PixbufPictures, KeepColoursLayTransparencyOverBlackAndRefuseHugeOrUnknownFiles) {
  const TempFolder folder;
  const fs::path& root = folder.path();
  PixbufPictureLoader loader;

  Image colours(3, 2);
  const std::uint32_t values[] = {Rgb(255, 0, 0), Rgb(0, 255, 0),   Rgb(0, 0, 255),
                                  Rgb(1, 2, 3),   Rgb(250, 128, 7), Rgb(255, 255, 255)};
  for (int i = 0; i < 6; ++i) colours.Set(i % 3, i / 3, values[i]);
  ASSERT_TRUE(SavePng(colours, (root / "colours.png").string()));
  std::optional<Image> loaded = loader.Load((root / "colours.png").string());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(*loaded, colours);

  // Opaque, half and wholly transparent pixels over black.
  const Sprite alpha{Image(3, 1, Rgb(200, 100, 50)), {255, 128, 0}};
  ASSERT_TRUE(SavePng(alpha, (root / "alpha.png").string()));
  loaded = loader.Load((root / "alpha.png").string());
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->Width(), 3);
  EXPECT_EQ(loaded->At(0, 0), Rgb(200, 100, 50));
  EXPECT_EQ(loaded->At(1, 0), Rgb(100, 50, 25));
  EXPECT_EQ(loaded->At(2, 0), Rgb(0, 0, 0));

  // A blank picture a row over the limit: refused from its header.
  static_assert(8192LL * 4097 > kMaxPicturePixels && 8192LL * 4096 <= kMaxPicturePixels);
  ASSERT_TRUE(SavePng(Image(8192, 4097), (root / "huge.png").string()));
  EXPECT_FALSE(loader.Load((root / "huge.png").string()));  // where colours.png loaded

  std::ofstream(root / "notes.png") << "not a picture";
  EXPECT_FALSE(loader.Load((root / "notes.png").string()));
  EXPECT_FALSE(loader.Load((root / "missing.png").string()));
}

}  // namespace
}  // namespace orvel
