// A window timer of the saver: it ticks while enabled, once per interval,
// and only when the frame loop's event pass looks at it.
#pragma once

#include <cstdint>

namespace orvel {

class Timer {
 public:
  explicit Timer(int intervalMs) : interval_(intervalMs) {}

  bool Enabled() const { return enabled_; }

  // Enabling a disabled timer starts a fresh interval at `now`; enabling an
  // enabled one changes nothing.
  void SetEnabled(bool enabled, std::int64_t now) {
    if (enabled && !enabled_) due_ = now + interval_;
    enabled_ = enabled;
  }

  // Whether a tick is due at `now`; a tick that is reported is used up.
  // Ticks missed while the loop was busy collapse into one, as those of a
  // window timer do.
  bool TakeTick(std::int64_t now) {
    if (!enabled_ || now < due_) return false;
    due_ += interval_;
    if (due_ <= now) due_ = now + interval_;
    return true;
  }

 private:
  int interval_;
  bool enabled_ = false;
  std::int64_t due_ = 0;
};

}  // namespace orvel
