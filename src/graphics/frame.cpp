#include "graphics/frame.h"

namespace orvel {

void Frame::Compose(const Rect& area, std::uint32_t* into, std::size_t stride) const {
  for (int y = area.y; y < area.Bottom(); ++y) {
    std::copy_n(picture_->Row(y) + area.x, area.w,
                into + static_cast<std::size_t>(y - area.y) * stride);
  }
  if (overlay_ != nullptr) overlay_->DrawOver(area, into, stride);
}

}  // namespace orvel
