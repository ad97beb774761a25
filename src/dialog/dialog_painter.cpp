#include "dialog/dialog_painter.h"

#include <algorithm>
#include <cmath>

#include "dialog/skin.h"
#include "settings/window_effects.h"

namespace orvel {
namespace {

using C = DialogControl;

// Fills the panel with copies of the strip from its own top-left corner,
// down each column and then in the next column, as far as the panel reaches.
void TilePanel(Image& canvas, const Rect& panel, const Image& strip) {
  if (panel.Empty() || strip.Empty()) return;
  Image tiled(panel.w, panel.h);
  for (int x = 0; x < panel.w; x += strip.Width()) {
    for (int y = 0; y < panel.h; y += strip.Height()) CopyImage(tiled, strip, x, y);
  }
  CopyImage(canvas, tiled, panel.x, panel.y);
}

// The preview box: the work picture scaled to the box, rows and columns
// dropped rather than blended, or white before the first preview; then its
// raised frame over the outermost pixels.
Image PreviewBox(const DialogState& state, PixelSize size, int ringWidth) {
  Image box(size.width, size.height, Rgb(255, 255, 255));
  if (box.Empty()) return box;
  if (state.previewShowsPicture) {
    StretchImage(box, state.workPicture, 0, 0, size.width, size.height);
  }
  DrawControlEdge(box, box.Bounds(), EdgeKind::Raised, ringWidth);
  return box;
}

}  // namespace

Image PaintDialog(const DialogState& state, double scale) {
  const Rect client = ScaleRect(ClientRect(C::Pic_C), scale);
  Image canvas(client.w, client.h);
  const Image strip = MarbleStrip(scale);
  const int ringWidth = std::max(1, static_cast<int>(std::lround(scale)));

  // Table order is drawing order: panels first, then what lies on them.
  for (const ControlSpec& spec : DialogControls()) {
    const Rect at = ScaleRect(ClientRect(spec.id), scale);
    const Look look = state[spec.id].look;
    const PixelSize size{spec.rect.w, spec.rect.h};
    switch (spec.role) {
      case ControlRole::Panel:
        TilePanel(canvas, at, strip);
        break;
      case ControlRole::Heading:
        if (look == Look::Heading) {
          DrawSprite(canvas, HeadingBar(spec.ownSize ? kHeadingBarSize : size, scale), at.x, at.y);
        }
        break;
      case ControlRole::ButtonFace:
        if (look == Look::ButtonResting || look == Look::ButtonPressed) {
          DrawSprite(canvas, ButtonFace(look == Look::ButtonPressed, size, scale), at.x, at.y);
        }
        break;
      case ControlRole::OptionMark:
        if (look == Look::OptionEmpty || look == Look::OptionChosen) {
          DrawSprite(canvas, OptionMark(look == Look::OptionChosen, scale), at.x, at.y);
        }
        break;
      case ControlRole::CheckMark:
        if (look == Look::CheckOff || look == Look::CheckOn) {
          DrawSprite(canvas, CheckMark(look == Look::CheckOn, scale), at.x, at.y);
        }
        break;
      case ControlRole::DisplayBox:
        DrawControlEdge(canvas, at, EdgeKind::SunkenOuter, ringWidth);
        break;
      case ControlRole::PreviewBox:
        CopyImage(canvas, PreviewBox(state, Scaled(state.previewSize, scale), ringWidth), at.x,
                  at.y);
        break;
      case ControlRole::Caption:
      case ControlRole::Link:
      case ControlRole::List:
      case ControlRole::ScrollBar:
      case ControlRole::RepeatBox:
        // Text and native controls: the face draws them over this layer.
        break;
    }
  }
  return canvas;
}

}  // namespace orvel
