// gtest before Xlib, whose macros (None, Bool) would break gtest's names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/linux/dialog/x11_zoom.h"
#include "platform/linux/saver/x11_snapshot.h"

namespace orvel {
namespace {

TEST(X11Zoom, StepsMoveEvenlyFromOneRectangleToTheOther) {
  const Rect point{100, 50, 0, 0};
  const Rect window{300, 250, 565, 516};
  const std::vector<Rect> growing = ZoomSteps(point, window, 8);
  ASSERT_EQ(growing.size(), 8u);
  EXPECT_EQ(growing.back(), window);
  EXPECT_EQ(growing.front(), (Rect{125, 75, 71, 65}));  // an eighth of the way
  for (std::size_t i = 1; i < growing.size(); ++i) {
    EXPECT_GT(growing[i].w, growing[i - 1].w) << i;
    EXPECT_GT(growing[i].x, growing[i - 1].x) << i;
  }
  const std::vector<Rect> shrinking = ZoomSteps(window, point, 8);
  EXPECT_EQ(shrinking.back(), point);
  // Halfway is halfway from either end, to the pixel.
  const Rect there = ZoomSteps(point, window, 2)[0];
  const Rect back = ZoomSteps(window, point, 2)[0];
  EXPECT_NEAR(there.x, back.x, 1);
  EXPECT_NEAR(there.y, back.y, 1);
  EXPECT_NEAR(there.Right(), back.Right(), 1);
  EXPECT_NEAR(there.Bottom(), back.Bottom(), 1);
  EXPECT_TRUE(ZoomSteps(point, window, 0).empty());
}

TEST(X11Zoom, LeavesTheScreenAsItWas) {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || name[0] == '\0') GTEST_SKIP() << "no X display (DISPLAY unset)";
  ::Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  const int screen = DefaultScreen(display);
  const Rect area{0, 0, std::min(DisplayWidth(display, screen), 400),
                  std::min(DisplayHeight(display, screen), 300)};
  // Something on the root window that is not one colour.
  GC gc = XCreateGC(display, RootWindow(display, screen), 0, nullptr);
  for (int i = 0; i < 20; ++i) {
    XSetForeground(display, gc, static_cast<unsigned long>(0x102030 * i + 0x0A0B0C));
    XFillRectangle(display, RootWindow(display, screen), gc, i * 20, i * 15, 40, 30);
  }
  XFreeGC(display, gc);
  XSync(display, False);
  Image before(area.w, area.h), after(area.w, area.h);
  ASSERT_TRUE(CopyX11Area(display, RootWindow(display, screen), area, before));

  // Lines of one and three pixels, rectangles crossing each other and the screen's edge.
  AnimateX11Zoom(display, ZoomSteps(Rect{200, 150, 0, 0}, Rect{-20, 10, 300, 250}, 8), 1, 1);
  AnimateX11Zoom(display, ZoomSteps(Rect{10, 10, 380, 280}, Rect{50, 60, 0, 0}, 5), 3, 1);
  ASSERT_TRUE(CopyX11Area(display, RootWindow(display, screen), area, after));
  int differing = 0;
  for (int y = 0; y < area.h; ++y)
    for (int x = 0; x < area.w; ++x) differing += before.At(x, y) != after.At(x, y);
  EXPECT_EQ(differing, 0);
  XCloseDisplay(display);
}

}  // namespace
}  // namespace orvel
