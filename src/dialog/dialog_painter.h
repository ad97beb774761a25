// The dialog's painted layer: the marble texture of every panel, the
// heading bars, button faces and marks, the display boxes' borders and the
// preview. Captions are drawn over it by the face, in its fonts; the native
// controls lie on top.
#pragma once

#include "dialog/dialog_state.h"
#include "graphics/image.h"

namespace orvel {

// The client area at `scale` (1 at 96 dpi): round(557 * scale) x
// round(489 * scale) pixels.
Image PaintDialog(const DialogState& state, double scale);

}  // namespace orvel
