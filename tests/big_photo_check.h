// Checks for the picture loaders of both platforms: photos larger than the
// pixel limit, fitted to the screen or shown at their own size.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "jpeg_bytes.h"
#include "platform/platform.h"
#include "saver/picture_layout.h"

namespace orvel {

// `write` stores the bytes under the name and gives the path to load.
template <typename Write>
void ExpectBigPhotoCutEvenly(PictureLoader& loader, const Write& write) {
  // 40 megapixels, each 8 x 8 block its own shade, so that any shift shows.
  static_assert(8004LL * 5002 > (1LL << 25));
  auto shade = [](int bx, int by) { return (bx * 7 + by * 13) % 200 + 20; };
  const std::string path = write("photo.jpg", jpeg_bytes::ShadedJpeg(8004, 5002, shade));
  const std::optional<Picture> picture = loader.Decode(path, DrawnSizeOn(1920, 1080, 0));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels.Pixels().size(), 1920u * 1080u);  // no more than shows
  Image master(1920, 1080);
  ComposePicture(master, &*picture, 0);
  // 3042 columns cut on the left and on the right, 1961 rows at the top and
  // at the bottom.
  Image expected(1920, 1080);
  for (int y = 0; y < 1080; ++y) {
    for (int x = 0; x < 1920; ++x) {
      const int grey = shade((x + 3042) / 8, (y + 1961) / 8);
      expected.Set(x, y, Rgb(grey, grey, grey));
    }
  }
  EXPECT_EQ(master, expected);
}

// A 36-megapixel photo fitted to 1920 x 1080 is composed where the whole
// picture would be; refused are it at its own size, a header claiming over a
// gigapixel, and a size that would decode it whole. Gives the fitted picture.
template <typename Write>
std::optional<Picture> ExpectFittedPhotoInPlace(PictureLoader& loader, const Write& write) {
  static_assert(6000LL * 6000 > (1LL << 25));
  const std::string photo = write("photo.jpg", jpeg_bytes::GreyJpeg(6000, 6000));
  std::optional<Picture> picture = loader.Decode(photo, DrawnSizeOn(1920, 1080, 1));
  EXPECT_TRUE(picture);
  if (!picture) return picture;
  EXPECT_EQ(picture->size, (PixelSize{6000, 6000}));
  EXPECT_GE(picture->pixels.Height(), 1080);
  const int middle = picture->pixels.Width() / 2;
  EXPECT_NEAR(GreenOf(picture->pixels.At(middle, middle)), 128, 1);
  Image master(1920, 1080);
  ComposePicture(master, &*picture, 1);
  for (int y : {0, 1079}) {
    EXPECT_EQ(master.At(419, y), Rgb(0, 0, 0));
    EXPECT_NEAR(GreenOf(master.At(420, y)), 128, 1);
    EXPECT_NEAR(GreenOf(master.At(1499, y)), 128, 1);
    EXPECT_EQ(master.At(1500, y), Rgb(0, 0, 0));
  }
  EXPECT_FALSE(loader.Decode(photo, {}));
  EXPECT_FALSE(loader.Decode(photo, DrawnSizeOn(16384, 6000, 1)));
  EXPECT_FALSE(loader.Decode(write("claims.jpg", jpeg_bytes::GreyJpeg(40000, 30000, 100)),
                             DrawnSizeOn(1920, 1080, 1)));
  return picture;
}

}  // namespace orvel
