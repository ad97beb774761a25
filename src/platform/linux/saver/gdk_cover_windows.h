// Black windows over the monitors that the saver window does not show, so
// that nothing of the desktop stays visible on them while the saver runs.
#pragma once

#include <gdk/gdk.h>

#include <span>
#include <vector>

#include "graphics/image.h"

namespace orvel {

// Which of the monitors (their areas in root-window pixels) need a cover
// beside the saver window's area: every one the saver window does not show
// whole, once for each area (mirrored monitors share one cover). A monitor
// that mirrors the saver's own gets none: a cover there would hide it.
std::vector<int> MonitorsToCover(std::span<const Rect> monitors, const Rect& saverArea);

// Puts `cursor` (nullptr: the parent's) on the window at once. GDK alone
// puts a window's cursor on the X window only once the pointer enters it,
// and the pointer does not enter a window of the program while the saver's
// grab holds it: the X server then shows the grab window's cursor over all
// of them, which would stay the desktop's arrow when the pointer never was
// over the saver window.
void SetCursorNow(GdkWindow* window, GdkCursor* cursor);

// A borderless top-level window titled `title` (UTF-8) over `area`, made
// full-screen on monitor `monitorIndex` where a window manager sizes
// windows, and black wherever nothing is painted; it hands over keys,
// presses and pointer movement. Not shown yet.
GdkWindow* MakeScreenWindow(GdkDisplay* display, const Rect& area, int monitorIndex,
                            const char* title);

class GdkCoverWindows {
 public:
  // Covers for the monitors of `display` beside `saverArea`. The windows
  // stay hidden until Show.
  GdkCoverWindows(GdkDisplay* display, const Rect& saverArea, GdkCursor* blankCursor);
  ~GdkCoverWindows();
  GdkCoverWindows(const GdkCoverWindows&) = delete;
  GdkCoverWindows& operator=(const GdkCoverWindows&) = delete;

  // Follows the display's monitors as they are now: a cover for each new
  // monitor, none left over a monitor that is gone, each on its monitor's
  // area. True when a cover was added (it may then stand above the saver
  // window).
  bool Update();
  void Show();
  void KeepAbove();
  void SetPointerHidden(bool hidden);

  // The areas covered, in root-window pixels.
  std::vector<Rect> Areas() const;
  // Whether `window` is one of the covers.
  bool Holds(const GdkWindow* window) const;

 private:
  struct Cover {
    GdkWindow* window = nullptr;
    Rect area;
  };

  GdkWindow* Make(const Rect& area, int monitorIndex);

  GdkDisplay* display_;
  Rect saverArea_;
  GdkCursor* blankCursor_;
  std::vector<Cover> covers_;
  bool shown_ = false;
  bool keptAbove_ = false;
  bool pointerHidden_ = false;
};

}  // namespace orvel
