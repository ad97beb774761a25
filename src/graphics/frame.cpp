#include "graphics/frame.h"

namespace orvel {

void Frame::Compose(const Rect& area, std::uint32_t* into, std::size_t stride) const {
  for (int y = area.y; y < area.Bottom(); ++y) {
    const char* row = reinterpret_cast<const char*>(picture_->Row(y) + area.x);
    for (int at = 0; at < area.w * 4; at += 64) __builtin_prefetch(row + at);
  }
  for (int y = area.y; y < area.Bottom(); ++y) {
    std::copy_n(picture_->Row(y) + area.x, area.w,
                into + static_cast<std::size_t>(y - area.y) * stride);
  }
  if (overlay_ != nullptr) overlay_->DrawOver(area, into, stride);
}

}  // namespace orvel
