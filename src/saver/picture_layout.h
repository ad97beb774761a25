// Composing a slideshow picture onto the black background of the screen:
// unscaled, or fitted by the picture's own orientation, always centred.
#pragma once

#include "graphics/image.h"
#include "platform/platform.h"

namespace orvel {

// Where a picture lands on the screen and at what size.
struct PicturePlacement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  friend bool operator==(const PicturePlacement&, const PicturePlacement&) = default;
};

// The placement of a pictureW x pictureH picture on a screenW x screenH
// screen. pictureSize 0: its own size, centred. Any other value: fitted by
// its own orientation, not by the screen's shape: wider than high gets the
// screen width (height h * screenW / w), square or upright gets the screen
// height (width w * screenH / h); centred. Worked in double precision and
// each value then rounded half to even (0.5 to 0, 1.5 to 2, -25.6 to -26).
// A picture without pixels gets a size of 0 x 0.
PicturePlacement PlacePicture(int screenW, int screenH, int pictureW, int pictureH,
                              int pictureSize);

// The rectangle of a picture's own pixels that shows on the screen. At its
// own size (pictureSize 0), the part of the centred picture that falls on
// the screen: a picture larger than the screen is cut evenly on its
// overhanging sides. Fitted, the whole picture (a loader decodes it at a
// reduced size instead).
Rect ShownPart(int screenW, int screenH, PixelSize own, int pictureSize);

// How PlacePicture draws pictures on the screen, for the loader, which need
// decode no more pixels than that: the size each is drawn at, and for
// pictureSize 0 the part of it that shows.
DrawnSize DrawnSizeOn(int screenW, int screenH, int pictureSize);

// Clears master to black and draws the picture at the placement of its own
// size, the part that the loader decoded where it lands in the whole (nearest
// neighbour when its pixels are fewer or it is fitted: rows and columns are
// dropped or repeated, never blended). A picture that failed to load
// (nullptr) or has no pixels leaves master all black.
void ComposePicture(Image& master, const Picture* picture, int pictureSize);

}  // namespace orvel
