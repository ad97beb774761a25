#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/linux/saver/gdk_input.h"
#include "platform/linux/saver/gdk_saver_host.h"
#include "platform/linux/system/linux_platform.h"
#include "saver_host_checks.h"

// After gtest: Xlib's macros (None, Bool) would break gtest's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>

namespace orvel {
namespace {

TEST(LinuxSaverHostInput, GivesTheWindowsKeyButtonAndShiftValues) {
  // The keypad's arrows without Num Lock (its 4 with it); a key without a code still ends it.
  const std::pair<unsigned, int> keys[] = {
      {0x61, 'A'},  {0x7A, 'Z'},   {0x5A, 'Z'},  {0x30, '0'},
      {0x39, '9'},  {0xFF51, 37},  {0xFF53, 39}, {0xFF96, 37},
      {0xFF98, 39}, {0xFFB4, 100}, {0xFF1B, 27}, {0xFF0D, 13},
      {0xFFE2, 16}, {0xFFE4, 17},  {0xFE03, 18}, {0x1008FF11, VirtualKey::Unknown}};
  for (const auto& [keyval, code] : keys) EXPECT_EQ(VirtualKeyFromKeyval(keyval), code) << keyval;
  // Shift and 1 types "!", still the key '1'; a key value with a code keeps it.
  EXPECT_EQ(VirtualKeyForPress(0x21, 0x31), '1');
  EXPECT_EQ(VirtualKeyForPress(0xFF96, 0xFFB4), VirtualKey::Left);

  EXPECT_EQ(MouseButtonValue(1), 1);
  EXPECT_EQ(MouseButtonValue(3), 2);
  EXPECT_EQ(MouseButtonValue(2), 4);
  EXPECT_EQ(MouseButtonValue(8), 0);  // a side button still clicks
  EXPECT_FALSE(MouseButtonValue(4));  // the wheel does not
  EXPECT_EQ(HeldButtons(1 << 8 | 1 << 9 | 1 << 0), 5);
  // Shift, Control, Alt; Caps Lock and Num Lock are no shift keys.
  EXPECT_EQ(ShiftValue(1 << 0 | 1 << 2 | 1 << 3 | 1 << 1 | 1 << 4), 7);
  EXPECT_EQ(ShiftValue(1 << 2), 2);
}

struct Recorder : InputHandler {
  int closes = 0;
  void MouseDown(int, int, float, float) override {}
  void MouseMove(int, int, float, float) override {}
  void KeyDown(int, int) override {}
  void CloseRequested() override { ++closes; }
};

constexpr const char* kTitle = "Orvelの窓";

// What the saver window shows, read back through the desktop snapshot.
class LinuxSaverHostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') GTEST_SKIP() << "no X display (DISPLAY unset)";
    host = GdkSaverHost::Create(clock, kTitle, [] { return false; });
    ASSERT_TRUE(host) << "the display " << display << " does not open";
    width = host->ScreenWidth();
    height = host->ScreenHeight();
    ASSERT_GT(width, 100);
    ASSERT_GT(height, 100);
  }

  // Dispatches events and takes snapshots until (x, y) shows `expected`.
  Image SnapshotShowing(int x, int y, std::uint32_t expected) {
    Recorder ignore;
    Image snapshot(width, height);
    for (int attempt = 0; attempt < 100 && snapshot.At(x, y) != expected; ++attempt) {
      host->ProcessInput(ignore);
      host->WaitUntil(clock.MonotonicMs() + 20);
      host->CaptureDesktop(snapshot);
    }
    return snapshot;
  }
  // Past the first exposure, which repaints the whole window.
  const ShownPixels shown = [this](int x, int y, std::uint32_t colour) {
    for (int settle = 0; settle < 4; ++settle) SnapshotShowing(x, y, colour);
    return SnapshotShowing(x, y, colour);
  };

  LinuxClock clock;
  std::unique_ptr<GdkSaverHost> host;
  int width = 0;
  int height = 0;
};

TEST_F(LinuxSaverHostWindow, PaintsOnlyThePresentedRectangles) {
  Image frame(width, height);
  ExpectPaintsOnlyThePresentedRectangles(*host, frame, shown);
  host->Close();
  EXPECT_FALSE(LinuxSystem().WindowExists(kTitle));
}

// Found past a window manager's list of windows (here only the root); WM close and SIGTERM.
TEST_F(LinuxSaverHostWindow, IsFoundBeforeItShowsAndHandsOverRequestsToClose) {
  EXPECT_TRUE(LinuxSystem().WindowExists(kTitle));
  ::Display* x = XOpenDisplay(nullptr);
  ASSERT_NE(x, nullptr);
  const Window root = DefaultRootWindow(x);
  const Atom clientList = XInternAtom(x, "_NET_CLIENT_LIST", False);
  XChangeProperty(x, root, clientList, XA_WINDOW, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&root), 1);
  XSync(x, False);
  EXPECT_TRUE(LinuxSystem().WindowExists(kTitle));
  XDeleteProperty(x, root, clientList);

  host->Show();
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = host->XWindow();
  close.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(x, close.xclient.window, False, NoEventMask, &close);
  XSync(x, False);
  XCloseDisplay(x);
  Recorder input;
  for (int request = 1; request <= 2; ++request) {
    const std::int64_t due = clock.MonotonicMs() + 20000;
    host->WaitUntil(due);
    EXPECT_LT(clock.MonotonicMs(), due) << request;
    host->ProcessInput(input);
    EXPECT_EQ(input.closes, request);
    if (request == 1) raise(SIGTERM);
  }
  host->Close();
}

TEST_F(LinuxSaverHostWindow, ASnapshotOfAPresentedFrameGivesItBackPixelForPixel) {
  ExpectASnapshotGivesThePresentedFrameBack(*host, shown);
}

// Painted with cairo alone: no OpenGL (50 MB of software renderer without a GPU).
TEST_F(LinuxSaverHostWindow, LoadsNoOpenGlLibraries) {
  host->Show();
  const Image frame(width, height, Rgb(0, 90, 0));
  const Rect whole = frame.Bounds();
  host->Present(frame, std::span(&whole, 1));
  SnapshotShowing(0, 0, Rgb(0, 90, 0));
  std::ifstream maps("/proc/self/maps");
  ASSERT_TRUE(maps);
  for (std::string line; std::getline(maps, line);) {
    for (const char* library : {"libGL", "libEGL", "_dri.so", "libLLVM"})
      EXPECT_EQ(line.find(library), std::string::npos) << line;
  }
  host->Close();
}

}  // namespace
}  // namespace orvel
