#include "platform/linux/dialog/x11_zoom.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace orvel {
namespace {

int Between(int a, int b, int step, int steps) {
  return a + static_cast<int>(std::lround(static_cast<double>(b - a) * step / steps));
}

}  // namespace

std::vector<Rect> ZoomSteps(const Rect& from, const Rect& to, int steps) {
  std::vector<Rect> rects;
  for (int i = 1; i <= steps; ++i) {
    // Both corners move evenly, so the rectangle grows or shrinks around the
    // line between the two.
    const int left = Between(from.x, to.x, i, steps);
    const int top = Between(from.y, to.y, i, steps);
    const int right = Between(from.Right(), to.Right(), i, steps);
    const int bottom = Between(from.Bottom(), to.Bottom(), i, steps);
    rects.push_back(Rect{left, top, right - left, bottom - top});
  }
  return rects;
}

void AnimateX11Zoom(_XDisplay* display, const std::vector<Rect>& steps, int lineWidth, int stepMs) {
  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);
  XGCValues values{};
  values.function = GXxor;
  values.foreground = WhitePixel(display, screen) ^ BlackPixel(display, screen);
  values.subwindow_mode = IncludeInferiors;
  values.line_width = std::max(lineWidth, 1);
  GC gc =
      XCreateGC(display, root, GCFunction | GCForeground | GCSubwindowMode | GCLineWidth, &values);
  // A wide line straddles the rectangle's edge: inset it by half its width
  // so the outline stays inside the rectangle.
  const int inset = values.line_width / 2;
  auto outline = [&](const Rect& r) {
    XDrawRectangle(display, root, gc, r.x + inset, r.y + inset,
                   static_cast<unsigned>(std::max(r.w - 1 - 2 * inset, 0)),
                   static_cast<unsigned>(std::max(r.h - 1 - 2 * inset, 0)));
  };
  XGrabServer(display);
  for (const Rect& rect : steps) {
    outline(rect);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
    outline(rect);
  }
  XUngrabServer(display);
  XFreeGC(display, gc);
  XSync(display, False);
}

}  // namespace orvel
