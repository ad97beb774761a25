// Large pictures through GdkPixbuf: decoded no larger than they are drawn.
#include "platform/linux/pictures/pixbuf_pictures.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "big_photo_check.h"
#include "jpeg_bytes.h"
#include "saver/picture_layout.h"
#include "temp_folder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

using jpeg_bytes::GreyJpeg;

class LargePictures : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(root / name, std::ios::binary) << bytes;
    return (root / name).string();
  }

  TempFolder folder;
  const fs::path root = folder.path();
  PixbufPictureLoader loader;
  const std::function<std::string(const std::string&, const std::string&)> write =
      [this](const std::string& name, const std::string& bytes) { return Write(name, bytes); };
};

TEST_F(LargePictures, APhotoOverTheLimitShowsAtItsOwnSizeCutEvenly) {
  ExpectBigPhotoCutEvenly(loader, write);
}

TEST_F(LargePictures, AColourJpegKeepsItsColoursInPlace) {
  const std::string path = (root / "colour.jpg").string();
  GdkPixbuf* solid = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 64, 48);
  gdk_pixbuf_fill(solid, 0xC8280AFF);  // red 200, green 40, blue 10
  ASSERT_TRUE(gdk_pixbuf_save(solid, path.c_str(), "jpeg", nullptr, "quality", "100", nullptr));
  g_object_unref(solid);
  const std::optional<Picture> picture = loader.Decode(path, DrawnSizeOn(32, 32, 0));
  ASSERT_TRUE(picture);
  const std::uint32_t pixel = picture->pixels.At(16, 16);
  EXPECT_NEAR(RedOf(pixel), 200, 2);
  EXPECT_NEAR(GreenOf(pixel), 40, 2);
  EXPECT_NEAR(BlueOf(pixel), 10, 2);
}

TEST_F(LargePictures, TakesTheLargestScaleThatStillHoldsTheSizeDrawn) {
  // 36 megapixels, over the limit at its own size: on a 1920 x 1080 screen a
  // quarter (1500 x 1500) holds the 1080 x 1080 drawn, an eighth would not.
  std::optional<Picture> picture = ExpectFittedPhotoInPlace(loader, write);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels.Width(), 1500);
  const std::string photo = (root / "photo.jpg").string();
  // Drawn 2900 rows high, it takes a half.
  picture = loader.Decode(photo, DrawnSizeOn(16384, 2900, 1));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels.Height(), 3000);
  // Sides an eighth does not divide round up, as libjpeg does; drawn larger, it comes whole.
  const std::string odd = Write("odd.jpg", GreyJpeg(1001, 667));
  picture = loader.Decode(odd, DrawnSizeOn(100, 60, 1));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels.Width(), 126);
  EXPECT_EQ(picture->pixels.Height(), 84);
  picture = loader.Decode(odd, DrawnSizeOn(1920, 1080, 1));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels.Width(), 1001);
  EXPECT_EQ(picture->pixels.Height(), 667);

  // Other formats have no cheaper way to a smaller size: decoded whole.
  Image png(40, 20, Rgb(10, 20, 30));
  ASSERT_TRUE(SavePng(png, (root / "small.png").string()));
  picture = loader.Decode((root / "small.png").string(), DrawnSizeOn(8, 8, 1));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels, png);
  EXPECT_EQ(picture->size, (PixelSize{40, 20}));
}

TEST_F(LargePictures, RefusesAPictureOverAGigapixelFromItsHeaderWhateverTheScale) {
  EXPECT_FALSE(
      loader.Decode(Write("header.jpg", GreyJpeg(65535, 65535, 0)), DrawnSizeOn(1920, 1080, 1)));
  // A FIFO named like a picture is not read.
  const std::string fifo = (root / "fifo.jpg").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(loader.Decode(fifo, {}));
}

}  // namespace
}  // namespace orvel
