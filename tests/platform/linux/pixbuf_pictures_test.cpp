// Large pictures through GdkPixbuf: decoded no larger than they are drawn.
#include "platform/linux/pixbuf_pictures.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "saver/picture_layout.h"
#include "temp_folder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

// A baseline JPEG, width x height, all of it mid grey, with only as many
// 8 x 8 blocks written as `blocks` says (all of them by default). Each table
// has one Huffman code of one bit, so a block (no change of its mean, end of
// block) is two zero bits and the scan is all zero bytes: a 100-megapixel
// picture takes 390 kB.
std::string GreyJpeg(int width, int height, long long blocks = -1) {
  auto be16 = [](int value) {
    return std::string{static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
  };
  std::string jpeg = "\xFF\xD8";
  jpeg += "\xFF\xDB" + be16(67) + '\0' + std::string(64, '\1');
  jpeg += "\xFF\xC0" + be16(11) + '\x08' + be16(height) + be16(width) + "\x01\x01\x11" + '\0';
  std::string oneCode(16, '\0');
  oneCode[0] = 1;
  jpeg += "\xFF\xC4" + be16(38) + '\0' + oneCode + '\0' + '\x10' + oneCode + '\0';
  jpeg += "\xFF\xDA" + be16(8) + "\x01\x01" + '\0' + '\0' + '\x3F' + '\0';
  if (blocks < 0) blocks = static_cast<long long>((width + 7) / 8) * ((height + 7) / 8);
  jpeg += std::string(static_cast<std::size_t>((2 * blocks + 7) / 8), '\0');
  return jpeg + "\xFF\xD9";
}

class LargePictures : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(root / name, std::ios::binary) << bytes;
    return (root / name).string();
  }

  TempFolder folder;
  const fs::path root = folder.path();
  PixbufPictureLoader loader;
};

TEST_F(LargePictures, AHundredMegapixelPhotoFittedToTheScreenIsDecodedAtAnEighth) {
  const std::string path = Write("photo.jpg", GreyJpeg(10000, 10000));
  // Fitted to a 1920 x 1080 screen, the square picture is drawn 1080 x 1080:
  // an eighth of it (1250 x 1250) still has every pixel drawn.
  const std::optional<Picture> picture = loader.Decode(path, DrawnSizeOn(1920, 1080, 1));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->size, (PixelSize{10000, 10000}));
  EXPECT_EQ(picture->pixels.Width(), 1250);
  EXPECT_EQ(picture->pixels.Height(), 1250);
  EXPECT_EQ(picture->pixels.At(625, 625), Rgb(128, 128, 128));
  // Composed where the whole picture would be: 1080 x 1080 from x = 420.
  Image master(1920, 1080);
  ComposePicture(master, &*picture, 1);
  for (int y : {0, 1079}) {
    EXPECT_EQ(master.At(419, y), Rgb(0, 0, 0));
    EXPECT_EQ(master.At(420, y), Rgb(128, 128, 128));
    EXPECT_EQ(master.At(1499, y), Rgb(128, 128, 128));
    EXPECT_EQ(master.At(1500, y), Rgb(0, 0, 0));
  }

  // At its own size it would be 100 million pixels: refused, as is any
  // picture that would decode to more than the limit.
  EXPECT_FALSE(loader.Decode(path, DrawnSizeOn(1920, 1080, 0)));
  EXPECT_FALSE(loader.Load(path));
  // On a screen so large that no scale holds the size drawn: whole, too many.
  EXPECT_FALSE(loader.Decode(path, DrawnSizeOn(16384, 6000, 1)));
}

TEST_F(LargePictures, TakesTheLargestScaleThatStillHoldsTheSizeDrawn) {
  // 36 megapixels, over the limit at its own size: on a 1920 x 1080 screen a
  // quarter (1500 x 1500) holds the 1080 x 1080 drawn, an eighth would not.
  const std::string photo = Write("photo.jpg", GreyJpeg(6000, 6000));
  std::optional<Picture> picture = loader.Decode(photo, DrawnSizeOn(1920, 1080, 1));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels.Width(), 1500);
  EXPECT_EQ(picture->size, (PixelSize{6000, 6000}));
  // Drawn 2900 rows high, it takes a half.
  picture = loader.Decode(photo, DrawnSizeOn(16384, 2900, 1));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels.Height(), 3000);
  // Sides that an eighth does not divide are rounded up, as libjpeg does; a
  // picture drawn larger than it is comes whole.
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
  // 40000 x 30000 is 1.2 gigapixels; an eighth would be few enough pixels,
  // but the header alone settles it (and nothing after it is read).
  const std::string path = Write("claims.jpg", GreyJpeg(40000, 30000, 100));
  EXPECT_FALSE(loader.Decode(path, DrawnSizeOn(1920, 1080, 1)));
  EXPECT_FALSE(
      loader.Decode(Write("header.jpg", GreyJpeg(65535, 65535, 0)), DrawnSizeOn(1920, 1080, 1)));
  // A FIFO named like a picture is not read (it would block for good).
  const std::string fifo = (root / "fifo.jpg").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(loader.Decode(fifo, {}));
}

}  // namespace
}  // namespace orvel
