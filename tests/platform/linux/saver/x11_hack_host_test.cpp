// gtest before Xlib, whose macros (None, Bool) would break gtest's names.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/linux/saver/x11_hack_host.h"
#include "platform/linux/system/linux_platform.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace orvel {
namespace {

struct Recorder : InputHandler {
  int closes = 0, other = 0;
  void MouseDown(int, int, float, float) override { ++other; }
  void MouseMove(int, int, float, float) override { ++other; }
  void KeyDown(int, int) override { ++other; }
  void CloseRequested() override { ++closes; }
};

// A host's window on the test's own connection, as a screen-saver host makes one.
class X11HackHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0') GTEST_SKIP() << "no X display (DISPLAY unset)";
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr);
    if (DefaultDepth(display_, DefaultScreen(display_)) != 24) GTEST_SKIP() << "needs 24 bits";
  }
  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
  }

  Window MakeWindow(int x, int y, int width, int height) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = 0x123456;
    const Window window =
        XCreateWindow(display_, DefaultRootWindow(display_), x, y, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(display_, window);
    XSync(display_, False);
    return window;
  }

  // A screenshot saved on the window as the host does: a colour in each quarter.
  Pixmap SaveScreenshot(Window window, const unsigned long (&quarters)[4]) {
    const int screen = DefaultScreen(display_);
    const int width = DisplayWidth(display_, screen);
    const int height = DisplayHeight(display_, screen);
    const Pixmap pixmap =
        XCreatePixmap(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height),
                      static_cast<unsigned>(DefaultDepth(display_, screen)));
    GC gc = XCreateGC(display_, pixmap, 0, nullptr);
    for (int i = 0; i < 4; ++i) {
      XSetForeground(display_, gc, quarters[i]);
      XFillRectangle(display_, pixmap, gc, i % 2 * (width / 2), i / 2 * (height / 2),
                     static_cast<unsigned>(width - width / 2),
                     static_cast<unsigned>(height - height / 2));
    }
    XFreeGC(display_, gc);
    const Atom property = XInternAtom(display_, "_SCREENSAVER_SCREENSHOT", False);
    XChangeProperty(display_, window, property, XA_PIXMAP, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(const_cast<Pixmap*>(&pixmap)), 1);
    XSync(display_, False);
    return pixmap;
  }

  std::uint32_t PixelAt(Window window, int x, int y) {
    XImage* image = XGetImage(display_, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return 0xFFFFFFFF;
    const auto pixel = static_cast<std::uint32_t>(XGetPixel(image, 0, 0) & 0xFFFFFF);
    XDestroyImage(image);
    return pixel;
  }

  // How many top-level windows have that title.
  int WindowsTitled(const std::string& title) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0)
      return 0;
    int found = 0;
    for (unsigned i = 0; i < count; ++i) {
      char* name = nullptr;
      if (XFetchName(display_, children[i], &name) != 0 && name != nullptr) {
        found += title == name;
        XFree(name);
      }
    }
    if (children != nullptr) XFree(children);
    return found;
  }

  ::Display* display_ = nullptr;
  LinuxClock clock_;
};

TEST_F(X11HackHostTest, DrawsAtTheWindowsSizeAndTakesTheHostsScreenshotUnderIt) {
  const int screen = DefaultScreen(display_);
  const int centreX = DisplayWidth(display_, screen) / 2;
  const int centreY = DisplayHeight(display_, screen) / 2;
  // The corner of the screenshot's quarters 100 pixels into the window.
  const Window window = MakeWindow(centreX - 100, centreY - 100, 400, 300);
  std::unique_ptr<X11HackHost> host =
      X11HackHost::Create({HackTarget::Kind::Window, window}, clock_);
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->ScreenWidth(), 400);
  EXPECT_EQ(host->ScreenHeight(), 300);

  Image desktop(400, 300);  // no screenshot: nothing to show but black
  EXPECT_FALSE(host->CaptureDesktop(desktop));

  const Pixmap screenshot = SaveScreenshot(window, {0xAA0000, 0x00BB00, 0x0000CC, 0x405060});
  ASSERT_TRUE(host->CaptureDesktop(desktop));
  EXPECT_EQ(desktop.At(0, 0), Rgb(0xAA, 0, 0));
  EXPECT_EQ(desktop.At(99, 99), Rgb(0xAA, 0, 0));
  EXPECT_EQ(desktop.At(100, 99), Rgb(0, 0xBB, 0));
  EXPECT_EQ(desktop.At(99, 100), Rgb(0, 0, 0xCC));
  EXPECT_EQ(desktop.At(399, 299), Rgb(0x40, 0x50, 0x60));

  // A screenshot the host has freed counts as none.
  XFreePixmap(display_, screenshot);
  XSync(display_, False);
  EXPECT_FALSE(host->CaptureDesktop(desktop));

  // Only the changed rectangle reaches the window.
  Image frame(400, 300, Rgb(1, 2, 3));
  const Rect changed[] = {Rect{10, 20, 30, 40}};
  host->Present(frame, changed);
  // Drawn over the host's own connection, unsynchronised: up to a second.
  for (int i = 0; i < 100 && PixelAt(window, 10, 20) != 0x010203u; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(PixelAt(window, 10, 20), 0x010203u);
  EXPECT_EQ(PixelAt(window, 39, 59), 0x010203u);
  EXPECT_EQ(PixelAt(window, 40, 60), 0x123456u);

  // The host's window is the host's: the saver's end leaves it there.
  host->Close();
  host.reset();
  XWindowAttributes attributes{};
  EXPECT_NE(XGetWindowAttributes(display_, window, &attributes), 0);
}

TEST_F(X11HackHostTest, AWindowPartlyOffTheScreenGetsTheScreenshotOfThePartOnIt) {
  const int height = DisplayHeight(display_, DefaultScreen(display_));
  const Window window = MakeWindow(0, height - 100, 400, 300);
  std::unique_ptr<X11HackHost> host =
      X11HackHost::Create({HackTarget::Kind::Window, window}, clock_);
  ASSERT_NE(host, nullptr);
  SaveScreenshot(window, {0x111111, 0x222222, 0x333333, 0x444444});
  Image desktop(400, 300, Rgb(9, 9, 9));
  ASSERT_TRUE(host->CaptureDesktop(desktop));
  EXPECT_EQ(desktop.At(0, 99), Rgb(0x33, 0x33, 0x33));
  EXPECT_EQ(desktop.At(0, 100), Rgb(9, 9, 9));
}

TEST_F(X11HackHostTest, TheWindowsEndAsksTheSaverOnceToCloseAndItsIdIsThenRefused) {
  const Window window = MakeWindow(0, 0, 320, 240);
  std::unique_ptr<X11HackHost> host =
      X11HackHost::Create({HackTarget::Kind::Window, window}, clock_);
  ASSERT_NE(host, nullptr);
  Recorder input;
  host->ProcessInput(input);
  EXPECT_EQ(input.closes, 0);

  XDestroyWindow(display_, window);
  XSync(display_, False);
  EXPECT_EQ(X11HackHost::Create({HackTarget::Kind::Window, window}, clock_), nullptr);
  // Drawing into the window that went is harmless; waiting ends at once.
  Image frame(320, 240);
  const Rect all[] = {frame.Bounds()};
  host->Present(frame, all);
  host->WaitUntil(clock_.MonotonicMs() + 60000);
  host->ProcessInput(input);
  host->ProcessInput(input);
  EXPECT_EQ(input.closes, 1);
  EXPECT_EQ(input.other, 0);
}

TEST_F(X11HackHostTest, ASignalWakesTheWaitAndEndsTheSaver) {
  EndHackOnSignals();
  std::unique_ptr<X11HackHost> host = X11HackHost::Create({HackTarget::Kind::OwnWindow, 0}, clock_);
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(WindowsTitled("Orvel"), 1);
  EXPECT_EQ(host->ScreenWidth(), 640);
  EXPECT_EQ(host->ScreenHeight(), 480);
  // The signal comes from another thread while the host sleeps: the wait ends early.
  std::thread signaller([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    raise(SIGTERM);
  });
  host->WaitUntil(clock_.MonotonicMs() + 60000);
  signaller.join();
  Recorder input;
  host->ProcessInput(input);
  EXPECT_EQ(input.closes, 1);
  // Its own window goes with the saver's end, before the host does; a
  // second close is harmless.
  host->Close();
  EXPECT_EQ(WindowsTitled("Orvel"), 0);
  host->Close();
}

}  // namespace
}  // namespace orvel
