// gtest before Xlib, whose macros (None, Bool) would break gtest's names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/linux/saver/gdk_cover_windows.h"
#include "platform/linux/saver/x11_snapshot.h"
#include "platform/linux/system/x11_windows.h"

#include <gdk/gdkx.h>

namespace orvel {
namespace {

using Areas = std::vector<Rect>;

TEST(MonitorsToCover, CoversWhatTheSaverWindowDoesNotShowOnceEach) {
  const Rect saver{1920, 0, 1920, 1080};
  // One monitor: the saver's own.
  EXPECT_EQ(MonitorsToCover(Areas{saver}, saver), std::vector<int>{});
  // Left of it, and above it: both covered, in the display's order.
  const Rect left{0, 0, 1920, 1080};
  const Rect above{1920, -1200, 1600, 1200};
  EXPECT_EQ(MonitorsToCover(Areas{left, saver, above}, saver), (std::vector<int>{0, 2}));
  // Mirrors of the saver's monitor, also at a lower resolution, show it.
  const Rect smallerMirror{1920, 0, 1280, 720};
  EXPECT_EQ(MonitorsToCover(Areas{saver, saver, smallerMirror}, saver), std::vector<int>{});
  // One that shows part of the saver and part of the desktop is covered.
  const Rect straddling{1000, 500, 1920, 1080};
  EXPECT_EQ(MonitorsToCover(Areas{straddling, saver}, saver), std::vector<int>{0});
  // Mirrors share one cover; a monitor switched off (no area) gets none.
  const Rect off{3840, 0, 0, 0};
  EXPECT_EQ(MonitorsToCover(Areas{off, left, saver, left}, saver), std::vector<int>{1});
}

// The cover of a real display's one monitor, the saver given part of it.
class GdkCoverWindowsOnDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0') GTEST_SKIP() << "no X display (DISPLAY unset)";
    gdk_set_allowed_backends("x11");
    g_setenv("GDK_GL", "disable", FALSE);
    ASSERT_TRUE(gdk_init_check(nullptr, nullptr)) << "the display " << name << " does not open";
    display = gdk_display_get_default();
    ASSERT_EQ(gdk_display_get_n_monitors(display), 1) << "a display of one monitor";
    GdkRectangle geometry{};
    gdk_monitor_get_geometry(gdk_display_get_monitor(display, 0), &geometry);
    monitor = {geometry.x, geometry.y, geometry.width, geometry.height};
    blank = gdk_cursor_new_for_display(display, GDK_BLANK_CURSOR);
  }
  void TearDown() override {
    if (blank != nullptr) g_object_unref(blank);
    // The root window's own background again, for the tests that follow.
    if (display != nullptr) {
      XSetWindowBackgroundPixmap(GDK_DISPLAY_XDISPLAY(display), GDK_ROOT_WINDOW(), None);
      XClearWindow(GDK_DISPLAY_XDISPLAY(display), GDK_ROOT_WINDOW());
      gdk_display_sync(display);
    }
  }

  // Dispatches events until the root window shows `expected` at (x, y).
  std::uint32_t PixelShowing(int x, int y, std::uint32_t expected) {
    Image pixel(1, 1, Rgb(1, 2, 3));
    for (int attempt = 0; attempt < 100; ++attempt) {
      while (g_main_context_iteration(nullptr, FALSE)) continue;
      gdk_display_sync(display);
      CopyX11Area(GDK_DISPLAY_XDISPLAY(display), GDK_ROOT_WINDOW(), Rect{x, y, 1, 1}, pixel);
      if (pixel.At(0, 0) == expected) break;
      g_usleep(20 * 1000);
    }
    return pixel.At(0, 0);
  }

  GdkDisplay* display = nullptr;
  Rect monitor;
  GdkCursor* blank = nullptr;
};

TEST_F(GdkCoverWindowsOnDisplay, CoversTheMonitorInBlackUntilDestroyed) {
  const std::uint32_t kDesktop = Rgb(40, 160, 90);
  XSetWindowBackground(GDK_DISPLAY_XDISPLAY(display), GDK_ROOT_WINDOW(), kDesktop);
  XClearWindow(GDK_DISPLAY_XDISPLAY(display), GDK_ROOT_WINDOW());
  const int x = monitor.x + monitor.w - 5;
  const int y = monitor.y + monitor.h - 5;
  ASSERT_EQ(PixelShowing(x, y, kDesktop), kDesktop);

  {
    const Rect saver{monitor.x, monitor.y, monitor.w / 2, monitor.h / 2};
    GdkCoverWindows covers(display, saver, blank);
    EXPECT_EQ(covers.Areas(), Areas{monitor});
    EXPECT_FALSE(covers.Update());  // nothing changed: no second cover
    EXPECT_EQ(covers.Areas(), Areas{monitor});

    covers.SetPointerHidden(true);
    covers.KeepAbove();
    covers.Show();
    EXPECT_EQ(PixelShowing(x, y, Rgb(0, 0, 0)), Rgb(0, 0, 0));
    EXPECT_TRUE(X11WindowExists("Orvel_Cover"));
    EXPECT_FALSE(X11WindowExists("Orvel_Main"));
  }
  EXPECT_EQ(PixelShowing(x, y, kDesktop), kDesktop);
  EXPECT_FALSE(X11WindowExists("Orvel_Cover"));
}

}  // namespace
}  // namespace orvel
