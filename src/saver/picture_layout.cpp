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

Rect ShownPart(int screenW, int screenH, PixelSize own, int pictureSize) {
  const Rect whole{0, 0, own.width, own.height};
  if (pictureSize != 0) return whole;
  const PicturePlacement place = PlacePicture(screenW, screenH, own.width, own.height, 0);
  const Rect onScreen =
      Intersect(Rect{place.x, place.y, own.width, own.height}, Rect{0, 0, screenW, screenH});
  if (onScreen.Empty()) return Rect{};
  return Rect{onScreen.x - place.x, onScreen.y - place.y, onScreen.w, onScreen.h};
}

DrawnSize DrawnSizeOn(int screenW, int screenH, int pictureSize) {
  if (pictureSize == 0) {
    return DrawnSize(
        {}, [screenW, screenH](PixelSize own) { return ShownPart(screenW, screenH, own, 0); });
  }
  return [screenW, screenH, pictureSize](PixelSize own) {
    const PicturePlacement place =
        PlacePicture(screenW, screenH, own.width, own.height, pictureSize);
    return PixelSize{place.width, place.height};
  };
}

void ComposePicture(Image& master, const Picture* picture, int pictureSize) {
  Fill(master, Rgb(0, 0, 0));
  if (picture == nullptr || picture->pixels.Empty()) return;
  const PixelSize own = picture->size;
  if (own.width <= 0 || own.height <= 0) return;
  // Placed by the picture's own size, so that one decoded at a reduced size
  // or in part lands exactly where the whole one would.
  const PicturePlacement place =
      PlacePicture(master.Width(), master.Height(), own.width, own.height, pictureSize);
  const Rect part = picture->part.Empty() ? Rect{0, 0, own.width, own.height} : picture->part;
  // An edge of the part, `at` of `ownSize` pixels along, where it lands on the screen.
  auto land = [](int at, int placeAt, int placeSize, int ownSize) {
    return placeAt + static_cast<int>(static_cast<long long>(at) * placeSize / ownSize);
  };
  const int left = land(part.x, place.x, place.width, own.width);
  const int top = land(part.y, place.y, place.height, own.height);
  const int right = land(part.Right(), place.x, place.width, own.width);
  const int bottom = land(part.Bottom(), place.y, place.height, own.height);
  StretchImage(master, picture->pixels, left, top, right - left, bottom - top);
}

}  // namespace orvel
