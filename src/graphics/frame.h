// A frame as the screen is to show it: a picture and, optionally, what is
// drawn over it (the saver's orbs). A host asks a frame for the pixels of
// just the parts it puts on the screen, straight into the memory they leave
// from, so that no screen-sized image is copied or patched for a frame.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/image.h"

namespace orvel {

class FrameOverlay {
 public:
  virtual ~FrameOverlay() = default;
  // Draws over `into`, which holds the picture's pixels of `area`: pixel
  // (area.x, area.y) first, rows `stride` pixels apart.
  virtual void DrawOver(const Rect& area, std::uint32_t* into, std::size_t stride) const = 0;
};

// Refers to its picture and overlay, which must outlive it (a host keeps a
// frame until the next one, to repaint from it). Cheap to copy.
class Frame {
 public:
  Frame() = default;
  // Any image is a frame as it stands.
  Frame(const Image& picture) : picture_(&picture) {}  // NOLINT(google-explicit-constructor)
  Frame(const Image& picture, const FrameOverlay& overlay)
      : picture_(&picture), overlay_(&overlay) {}

  bool Empty() const { return picture_ == nullptr || picture_->Empty(); }
  Rect Bounds() const { return picture_ != nullptr ? picture_->Bounds() : Rect{}; }

  // Writes the frame's pixels of `area`, which lies inside the frame, to
  // `into`: pixel (area.x, area.y) first, rows `stride` pixels apart.
  void Compose(const Rect& area, std::uint32_t* into, std::size_t stride) const;

  // The part of `area` inside the frame, composed a band of whole rows at
  // a time into `band` (at most `bandPixels` a band, one row at least) and
  // handed to `take(rows, pixels)`, the rows `rows.w` pixels apart.
  template <class Take>
  void ComposeInBands(const Rect& area, std::size_t bandPixels, std::vector<std::uint32_t>& band,
                      Take take) const {
    const Rect part = Intersect(area, Bounds());
    if (part.Empty()) return;
    const int bandRows =
        std::clamp(static_cast<int>(bandPixels / static_cast<std::size_t>(part.w)), 1, part.h);
    band.resize(static_cast<std::size_t>(part.w) * static_cast<std::size_t>(bandRows));
    for (int top = part.y; top < part.Bottom(); top += bandRows) {
      const Rect rows{part.x, top, part.w, std::min(bandRows, part.Bottom() - top)};
      Compose(rows, band.data(), static_cast<std::size_t>(rows.w));
      take(rows, band.data());
    }
  }

 private:
  const Image* picture_ = nullptr;
  const FrameOverlay* overlay_ = nullptr;
};

}  // namespace orvel
