// One check for the picture loaders of both platforms: a photo larger than
// the pixel limit, shown at its own size, comes centred and cut evenly.
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

}  // namespace orvel
