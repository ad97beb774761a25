// gtest before Xlib, whose macros (None, Bool) would break gtest's names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/linux/saver/x11_frame_painter.h"
#include "platform/linux/saver/x11_snapshot.h"

#include <X11/Xutil.h>

namespace orvel {
namespace {

int xErrors = 0;
int CountError(::Display*, XErrorEvent*) {
  ++xErrors;
  return 0;
}

std::uint32_t Noise(int x, int y) { return Rgb(x * 7 + y, y * 3 + (x >> 5), x ^ (y * 5)); }

constexpr int kLeft = 31, kTop = 17, kW = 300, kH = 700;
const std::uint32_t kBackground = Rgb(1, 2, 3);

// A shown window away from the screen's corner, taller than one band; 0 without a 24-bit screen.
Window OwnWindow(::Display* display) {
  const int screen = DefaultScreen(display);
  if (DefaultDepth(display, screen) != 24 || DisplayHeight(display, screen) < kTop + kH) return 0;
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = kBackground;
  const Window window =
      XCreateWindow(display, RootWindow(display, screen), kLeft, kTop, kW, kH, 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
  XSelectInput(display, window, ExposureMask);
  XMapRaised(display, window);
  for (XEvent event{}; event.type != Expose;) XNextEvent(display, &event);
  return window;
}

// A display and a window of its own, or the test skipped.
class X11OwnWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0') GTEST_SKIP() << "no X display (DISPLAY unset)";
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    screen = DefaultScreen(display);
    window = OwnWindow(display);
    if (window == 0) GTEST_SKIP() << "needs a 24-bit screen at least " << kTop + kH << " high";
  }
  void TearDown() override {
    if (window != 0) XDestroyWindow(display, window);
    if (display != nullptr) XCloseDisplay(display);
  }

  ::Display* display = nullptr;
  int screen = 0;
  Window window = 0;
};

TEST_F(X11OwnWindow, SnapshotReadsAnyAreaOfAWindowAndRefusesOneBeyondIt) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) pixels.push_back(Noise(x, y) | 0xFF000000);
  XImage* image = XCreateImage(display, DefaultVisual(display, screen), 24, ZPixmap, 0,
                               reinterpret_cast<char*>(pixels.data()), kW, kH, 32, kW * 4);
  ASSERT_NE(image, nullptr);
  XPutImage(display, window, DefaultGC(display, screen), image, 0, 0, 0, 0, kW, kH);
  image->data = nullptr;  // the vector's
  XDestroyImage(image);
  XSync(display, False);

  // Into a larger image's top-left corner; 436 rows are two bands of this width exactly.
  for (const Rect& area : {Rect{9, 20, kW - 10, kH - 21}, Rect{0, 0, kW, 436}}) {
    Image into(kW, kH, kBackground);
    ASSERT_TRUE(CopyX11Area(display, window, area, into));
    int wrong = 0;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        const bool copied = x < area.w && y < area.h;
        wrong += into.At(x, y) != (copied ? Noise(x + area.x, y + area.y) : kBackground);
      }
    }
    EXPECT_EQ(wrong, 0) << area.h;
  }

  // An image too small for the area is left alone.
  Image small(20, 20, Rgb(4, 5, 6));
  EXPECT_FALSE(CopyX11Area(display, window, Rect{0, 0, 21, 20}, small));
  EXPECT_FALSE(CopyX11Area(display, window, Rect{0, 0, 20, 21}, small));
  EXPECT_TRUE(small == Image(20, 20, Rgb(4, 5, 6)));
  EXPECT_FALSE(CopyX11Area(display, window, Rect{0, 0, 0, 5}, small));

  // A pixmap has no visual to tell its colours by.
  const Pixmap pixmap = XCreatePixmap(display, window, 20, 20, 24);
  EXPECT_FALSE(CopyX11Area(display, pixmap, Rect{0, 0, 20, 20}, small));
  XFreePixmap(display, pixmap);

  // An area reaching beyond the window: the server refuses it.
  XErrorHandler previous = XSetErrorHandler(CountError);
  xErrors = 0;
  EXPECT_FALSE(CopyX11Area(display, window, Rect{kW - 5, 0, 10, 10}, small));
  XSync(display, False);
  EXPECT_GT(xErrors, 0);
  XSetErrorHandler(previous);
}

// Frames go straight to the server only in 24-bit true colour, red above green above blue.
TEST_F(X11OwnWindow, FramePainterTakesOnlyVisualsOfTheFramesOwnPixels) {
  const Visual* own = DefaultVisual(display, screen);
  EXPECT_TRUE(X11FramePainter::Suits(display, own, 24));
  EXPECT_FALSE(X11FramePainter::Suits(display, own, 32));  // an alpha channel
  EXPECT_FALSE(X11FramePainter::Suits(display, own, 16));
  Visual other = *own;
  std::swap(other.red_mask, other.blue_mask);
  EXPECT_FALSE(X11FramePainter::Suits(display, &other, 24));
  other = *own;
  other.green_mask = 0xff00ff00;
  EXPECT_FALSE(X11FramePainter::Suits(display, &other, 24));
  other = *own;
  other.c_class = DirectColor;
  EXPECT_FALSE(X11FramePainter::Suits(display, &other, 24));
}

// Two frames' squares, a rectangle too large for the shared area and squares beyond what a
// half of it has left: nothing else changes.
TEST_F(X11OwnWindow, FramePainterPutsEachFramesRectanglesAtTheirPlaces) {
  Image expected(kW, kH, kBackground);
  {
    X11FramePainter painter(display, window, 24);
    EXPECT_TRUE(painter.SharesMemory());
    const std::vector<std::vector<Rect>> frames = {
        {{0, 0, 41, 41}, {100, 50, 45, 43}, {0, 200, kW, 300}, {250, 600, 60, 100}},
        {{0, 300, kW, 210}, {10, 10, 41, 41}, {200, 100, 41, 41}, {101, 51, 45, 43}}};
    for (int shift = 0; shift < 2; ++shift) {
      Image frame(kW, kH);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) frame.Set(x, y, Noise(x + 9 * shift, y));
      painter.Put(frame, frames[static_cast<std::size_t>(shift)]);
      for (const Rect& rect : frames[static_cast<std::size_t>(shift)]) {
        const Rect part = Intersect(rect, frame.Bounds());
        Frame(frame).Compose(part, expected.Row(part.y) + part.x, kW);
      }
    }
  }
  XSync(display, False);
  Image shown(kW, kH);
  ASSERT_TRUE(CopyX11Area(display, window, Rect{0, 0, kW, kH}, shown));
  int wrong = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) wrong += shown.At(x, y) != expected.At(x, y);
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace orvel
