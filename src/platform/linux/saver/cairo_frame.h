// A frame painted through cairo, for windows whose visual the frame painter
// does not take and for repainting what was exposed of them.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "graphics/frame.h"

namespace orvel {

class CairoFrame {
 public:
  // Paints the part of `area` inside the frame at the same place through
  // `cr`, composed a band of rows at a time, with `betweenBands` (a sync
  // with the server) before each but the first. cairo hands the pixels over
  // through X shared memory as large as the part painted at once, and takes
  // it back only once the server is done with it: a whole screen in one
  // piece would keep a screen's worth of shared memory with the program.
  void Paint(cairo_t* cr, const Frame& frame, const Rect& area,
             const std::function<void()>& betweenBands);

 private:
  std::vector<std::uint32_t> band_;
};

}  // namespace orvel
