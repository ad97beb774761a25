#include "saver/picture_layout.h"

#include <cmath>

namespace orvel {
namespace {

// Nearest whole number, ties to the even one, whatever the floating-point
// rounding mode happens to be. Values here stay well inside the int range.
int RoundHalfEven(double value) {
  const double down = std::floor(value);
  const double rest = value - down;
  double result = down;
  if (rest > 0.5) {
    result = down + 1.0;
  } else if (rest == 0.5) {
    result = std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
  }
  return static_cast<int>(result);
}

}  // namespace

PicturePlacement PlacePicture(int screenW, int screenH, int pictureW, int pictureH,
                              int pictureSize) {
  if (pictureW <= 0 || pictureH <= 0) return PicturePlacement{};
  const double w = pictureW;
  const double h = pictureH;
  const double sw = screenW;
  const double sh = screenH;
  double dw = w;
  double dh = h;
  if (pictureSize != 0) {
    if (pictureW > pictureH) {
      dw = sw;
      dh = h * sw / w;
    } else {
      dw = w * sh / h;
      dh = sh;
    }
  }
  return PicturePlacement{RoundHalfEven((sw - dw) / 2.0), RoundHalfEven((sh - dh) / 2.0),
                          RoundHalfEven(dw), RoundHalfEven(dh)};
}

DrawnSize DrawnSizeOn(int screenW, int screenH, int pictureSize) {
  if (pictureSize == 0) return {};
  return [screenW, screenH, pictureSize](PixelSize own) {
    const PicturePlacement place =
        PlacePicture(screenW, screenH, own.width, own.height, pictureSize);
    return PixelSize{place.width, place.height};
  };
}

void ComposePicture(Image& master, const Picture* picture, int pictureSize) {
  Fill(master, Rgb(0, 0, 0));
  if (picture == nullptr || picture->pixels.Empty()) return;
  // Placed by the picture's own size, so that one decoded at a reduced size
  // lands exactly where the whole one would.
  const PicturePlacement place = PlacePicture(master.Width(), master.Height(), picture->size.width,
                                              picture->size.height, pictureSize);
  const Image& pixels = picture->pixels;
  if (pictureSize == 0 && pixels.Width() == place.width && pixels.Height() == place.height) {
    CopyImage(master, pixels, place.x, place.y);
  } else {
    StretchImage(master, pixels, place.x, place.y, place.width, place.height);
  }
}

}  // namespace orvel
