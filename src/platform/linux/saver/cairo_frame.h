// A frame's pixels as cairo sees them, for the saver's windows to paint
// from: wrapped where they lie, not copied.
#pragma once

#include <cairo.h>

#include <functional>

#include "graphics/image.h"

namespace orvel {

class CairoFrame {
 public:
  CairoFrame() = default;
  ~CairoFrame() { Drop(); }
  CairoFrame(const CairoFrame&) = delete;
  CairoFrame& operator=(const CairoFrame&) = delete;

  // Wraps the image's pixels (rows of 32-bit values 0x00RRGGBB, which is
  // cairo's RGB24); wrapped again only when the image has moved or changed
  // size, otherwise marked as changed behind cairo's back. The image must
  // stay alive until the next Wrap or Drop.
  void Wrap(const Image& image);
  void Drop();

  bool Empty() const { return surface_ == nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Paints `area` of the frame at the same place through `cr`, in bands of
  // rows with `betweenBands` (a sync with the server) after each but the
  // last. cairo hands the pixels over through X shared memory as large as
  // the part painted at once, and takes it back only once the server is
  // done with it: a whole screen in one piece would keep a screen's worth
  // of shared memory with the program. Needs a frame.
  void Paint(cairo_t* cr, const Rect& area, const std::function<void()>& betweenBands) const;

 private:
  cairo_surface_t* surface_ = nullptr;
  const void* data_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace orvel
