// The pictures of the settings dialog's skin, drawn by code so that every
// face of the dialog shows the same pixels at any display scale. Sizes are
// given at 96 dpi; a function with a scale draws at round(size * scale)
// (scale 1 at 96 dpi, 2 on a doubled desktop, 1.25 or 1.5 in between).
#pragma once

#include "graphics/image.h"
#include "graphics/sprite.h"
#include "platform/platform.h"

namespace orvel {

// The template sizes at 96 dpi.
inline constexpr PixelSize kMarbleStripSize{560, 20};
inline constexpr PixelSize kHeadingBarSize{95, 22};
inline constexpr PixelSize kButtonFaceSize{95, 22};
inline constexpr int kOptionMarkSide = 13;
inline constexpr int kCheckMarkSide = 12;
inline constexpr int kCursorSide = 32;
inline constexpr int kWindowIconSide = 32;
inline constexpr PixelSize kPreviewStillSize{152, 112};

// The scales the skin is drawn at: a scale below or above these (or one that
// is not a number) is drawn at the nearest of them (at 1).
inline constexpr double kMinSkinScale = 0.5;
inline constexpr double kMaxSkinScale = 8;
double SkinScale(double scale);

// A length at 96 dpi drawn at the scale: round(length * SkinScale(scale)),
// 0 for a length of 0 or less.
int Scaled(int length, double scale);
PixelSize Scaled(PixelSize size, double scale);

// An opaque grey marble strip. The dialog tiles it down each panel at rows
// 0, 20, 40 ..., so its last row joins its first without a seam.
Image MarbleStrip(double scale);

// The grey rounded heading bar, at the heading's own size so that its
// corners stay round.
Sprite HeadingBar(PixelSize size, double scale);

// The rounded button face: medium blue at rest, lighter blue while pressed.
Sprite ButtonFace(bool pressed, PixelSize size, double scale);

// The round option mark (13 x 13); chosen, with a red dot inside.
Sprite OptionMark(bool chosen, double scale);

// The square check mark (12 x 12); on, with a filled blue centre.
Sprite CheckMark(bool on, double scale);

// The hand pointer of the clickable controls: a white pointing hand with a
// black outline, index finger up, dark blue cuff (32 x 32). The hot spot is
// the fingertip, (12, 1) at scale 1, scaled with the picture.
struct Cursor {
  Sprite picture;
  int hotX = 0;
  int hotY = 0;
};
Cursor HandCursor(double scale);

// The window icon: 32 x 32, light blue tones, at most kWindowIconColours
// distinct colours.
inline constexpr int kWindowIconColours = 256;
Image WindowIcon();

// The preview pane's still picture: the saver at work, soft tinted orbs over
// a green woodland (152 x 112, opaque).
Image PreviewStill();

}  // namespace orvel
