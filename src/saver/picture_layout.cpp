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

void ComposePicture(Image& master, const Image* picture, int pictureSize) {
  Fill(master, Rgb(0, 0, 0));
  if (picture == nullptr || picture->Empty()) return;
  const PicturePlacement place = PlacePicture(master.Width(), master.Height(), picture->Width(),
                                              picture->Height(), pictureSize);
  if (pictureSize == 0) {
    CopyImage(master, *picture, place.x, place.y);
  } else {
    StretchImage(master, *picture, place.x, place.y, place.width, place.height);
  }
}

void ComposePicture(Image& master, const Image& picture, int pictureSize) {
  ComposePicture(master, &picture, pictureSize);
}

}  // namespace orvel
