// The dialog's painted layer: the marble texture of every panel, the
// heading bars, button faces and marks, the display boxes' borders and the
// preview. Captions are drawn over it by the face, in its fonts; the native
// controls lie on top.
#pragma once

#include <map>
#include <tuple>

#include "dialog/dialog_state.h"
#include "graphics/image.h"
#include "graphics/sprite.h"

namespace orvel {

// Paints at one display scale (1 at 96 dpi), keeping the skin's pictures
// it has drawn once, so that painting again after a change is quick.
class DialogPainter {
 public:
  explicit DialogPainter(double scale);

  double Scale() const { return scale_; }

  // The client area: round(557 * scale) x round(489 * scale) pixels. The
  // image is the painter's own, painted over at the next call.
  const Image& Paint(const DialogState& state);

 private:
  // The picture a look shows on a control of `size` (96-dpi pixels).
  const Sprite& SpriteFor(Look look, PixelSize size);

  double scale_;
  Image strip_;
  std::map<std::tuple<Look, int, int>, Sprite> sprites_;
  Image canvas_;
};

// The same, once: for tools and tests.
Image PaintDialog(const DialogState& state, double scale);

}  // namespace orvel
