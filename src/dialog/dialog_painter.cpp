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
  const Rect area = Intersect(panel, canvas.Bounds());
  if (area.Empty() || strip.Empty()) return;
  for (int y = area.y; y < area.Bottom(); ++y) {
    const std::uint32_t* from = strip.Row((y - panel.y) % strip.Height());
    std::uint32_t* to = canvas.Row(y);
    for (int x = area.x; x < area.Right();) {
      const int column = (x - panel.x) % strip.Width();
      const int run = std::min(strip.Width() - column, area.Right() - x);
      std::copy_n(from + column, run, to + x);
      x += run;
    }
  }
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

// The client area's image at the scale, still black.
Image BlankClientArea(double scale) {
  const Rect client = ScaleRect(ClientRect(C::Pic_C), scale);
  return Image(client.w, client.h);
}

// The kind of control a look belongs to.
ControlRole RoleOf(Look look) {
  switch (look) {
    case Look::Heading:
      return ControlRole::Heading;
    case Look::ButtonResting:
    case Look::ButtonPressed:
      return ControlRole::ButtonFace;
    case Look::OptionEmpty:
    case Look::OptionChosen:
      return ControlRole::OptionMark;
    case Look::CheckOff:
    case Look::CheckOn:
      return ControlRole::CheckMark;
    case Look::None:
      break;
  }
  return ControlRole::Caption;
}

}  // namespace

DialogPainter::DialogPainter(double scale)
    : scale_(scale), strip_(MarbleStrip(scale)), canvas_(BlankClientArea(scale)) {}

const Sprite& DialogPainter::SpriteFor(Look look, PixelSize size) {
  auto [at, added] = sprites_.try_emplace({look, size.width, size.height});
  if (!added) return at->second;
  Sprite& sprite = at->second;
  switch (look) {
    case Look::Heading:
      sprite = HeadingBar(size, scale_);
      break;
    case Look::ButtonResting:
    case Look::ButtonPressed:
      sprite = ButtonFace(look == Look::ButtonPressed, size, scale_);
      break;
    case Look::OptionEmpty:
    case Look::OptionChosen:
      sprite = OptionMark(look == Look::OptionChosen, scale_);
      break;
    case Look::CheckOff:
    case Look::CheckOn:
      sprite = CheckMark(look == Look::CheckOn, scale_);
      break;
    case Look::None:
      break;
  }
  return sprite;
}

const Image& DialogPainter::Paint(const DialogState& state) {
  // Every pixel is painted again below: the content panel covers them all.
  Image& canvas = canvas_;
  const int ringWidth = std::max(1, static_cast<int>(std::lround(scale_)));

  // Table order is drawing order: panels first, then what lies on them.
  for (const ControlEntry& entry : DialogControls()) {
    const Rect at = ScaleRect(ClientRect(entry.id), scale_);
    const Look look = state[entry.id].look;
    switch (entry.role) {
      case ControlRole::Panel:
        TilePanel(canvas, at, strip_);
        break;
      case ControlRole::Heading:
      case ControlRole::ButtonFace:
      case ControlRole::OptionMark:
      case ControlRole::CheckMark:
        // A control shows only the looks of its own kind; None shows nothing.
        if (RoleOf(look) == entry.role) {
          const PixelSize size =
              entry.ownSize ? kHeadingBarSize : PixelSize{entry.rect.w, entry.rect.h};
          DrawSprite(canvas, SpriteFor(look, size), at.x, at.y);
        }
        break;
      case ControlRole::DisplayBox:
        DrawControlEdge(canvas, at, EdgeKind::SunkenOuter, ringWidth);
        break;
      case ControlRole::PreviewBox:
        CopyImage(canvas, PreviewBox(state, Scaled(state.previewSize, scale_), ringWidth), at.x,
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
  return canvas_;
}

Image PaintDialog(const DialogState& state, double scale) {
  return DialogPainter(scale).Paint(state);
}

}  // namespace orvel
