#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/linux/gdk_input.h"
#include "platform/linux/gtk_saver_host.h"
#include "platform/linux/linux_platform.h"

namespace orvel {
namespace {

// X key symbols (the values GDK hands over as key values).
constexpr unsigned kKeyA = 0x61;
constexpr unsigned kKeyZ = 0x7A;
constexpr unsigned kKeyCapitalA = 0x41;
constexpr unsigned kKeyCapitalZ = 0x5A;
constexpr unsigned kKey0 = 0x30;
constexpr unsigned kKey9 = 0x39;
constexpr unsigned kKeyExclam = 0x21;
constexpr unsigned kKeySpace = 0x20;
constexpr unsigned kKeyLeft = 0xFF51;        // then Up, Right, Down
constexpr unsigned kKeyKeypadLeft = 0xFF96;  // then Up, Right, Down
constexpr unsigned kKeyKeypad4 = 0xFFB4;
constexpr unsigned kKeyReturn = 0xFF0D;
constexpr unsigned kKeyKeypadEnter = 0xFF8D;
constexpr unsigned kKeyEscape = 0xFF1B;
constexpr unsigned kKeyShiftLeft = 0xFFE1;
constexpr unsigned kKeyShiftRight = 0xFFE2;
constexpr unsigned kKeyControlLeft = 0xFFE3;
constexpr unsigned kKeyControlRight = 0xFFE4;
constexpr unsigned kKeyAltLeft = 0xFFE9;
constexpr unsigned kKeyAltRight = 0xFFEA;
constexpr unsigned kKeyAltGr = 0xFE03;
constexpr unsigned kKeyHenkan = 0xFF23;
constexpr unsigned kKeyVolumeDown = 0x1008FF11;
constexpr unsigned kKeyKatakanaA = 0x4B1;

// GDK modifier and button bits.
constexpr unsigned kShiftMask = 1 << 0;
constexpr unsigned kLockMask = 1 << 1;
constexpr unsigned kControlMask = 1 << 2;
constexpr unsigned kAltMask = 1 << 3;
constexpr unsigned kNumLockMask = 1 << 4;
constexpr unsigned kButton1Mask = 1 << 8;
constexpr unsigned kButton2Mask = 1 << 9;
constexpr unsigned kButton3Mask = 1 << 10;

bool IsArrow(int code) { return code >= VirtualKey::Left && code <= VirtualKey::Down; }

TEST(LinuxSaverHostKeys, GiveTheWindowsCodesTheSaverTellsApart) {
  for (unsigned i = 0; i < 26; ++i) {
    EXPECT_EQ(VirtualKeyFromKeyval(kKeyA + i), 'A' + static_cast<int>(i));
    EXPECT_EQ(VirtualKeyFromKeyval(kKeyCapitalA + i), 'A' + static_cast<int>(i));
  }
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyZ), 90);
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyCapitalZ), 90);
  for (unsigned i = 0; i < 10; ++i)
    EXPECT_EQ(VirtualKeyFromKeyval(kKey0 + i), 48 + static_cast<int>(i));
  EXPECT_EQ(VirtualKeyFromKeyval(kKey9), 57);

  // The arrows, also those of the keypad with Num Lock off: left and right
  // change the CD track.
  for (unsigned i = 0; i < 4; ++i) {
    EXPECT_EQ(VirtualKeyFromKeyval(kKeyLeft + i), 37 + static_cast<int>(i));
    EXPECT_EQ(VirtualKeyFromKeyval(kKeyKeypadLeft + i), 37 + static_cast<int>(i));
  }
  // With Num Lock on the keypad's 4 is a digit, not an arrow.
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyKeypad4), 100);

  EXPECT_EQ(VirtualKeyFromKeyval(kKeyEscape), 27);
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyReturn), 13);
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyKeypadEnter), 13);
  EXPECT_EQ(VirtualKeyFromKeyval(kKeySpace), 32);

  // Modifiers are keys of their own.
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyShiftLeft), 16);
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyShiftRight), 16);
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyControlLeft), 17);
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyControlRight), 17);
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyAltLeft), 18);
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyAltRight), 18);
  EXPECT_EQ(VirtualKeyFromKeyval(kKeyAltGr), 18);

  // Keys without a code of their own still end the saver: they give a code
  // that is no arrow (and not 0, which no key has).
  for (unsigned keyval : {kKeyHenkan, kKeyVolumeDown, kKeyKatakanaA, 0u}) {
    const int code = VirtualKeyFromKeyval(keyval);
    EXPECT_EQ(code, VirtualKey::Unknown) << keyval;
    EXPECT_FALSE(IsArrow(code));
  }
}

TEST(LinuxSaverHostKeys, FallBackToTheKeyWithoutModifiers) {
  // Shift and 1 types "!", still the key '1'.
  EXPECT_EQ(VirtualKeyForPress(kKeyExclam, kKey0 + 1), '1');
  // A key value with a code keeps it.
  EXPECT_EQ(VirtualKeyForPress(kKeyCapitalA, kKeyA), 'A');
  EXPECT_EQ(VirtualKeyForPress(kKeyKeypadLeft, kKeyKeypad4), VirtualKey::Left);
  EXPECT_EQ(VirtualKeyForPress(kKeyKeypad4, kKeyKeypadLeft), 100);
  EXPECT_EQ(VirtualKeyForPress(kKeyVolumeDown, kKeyVolumeDown), VirtualKey::Unknown);
}

TEST(LinuxSaverHostButtons, GiveTheWindowsButtonAndShiftValues) {
  EXPECT_EQ(MouseButtonValue(1), 1);  // left
  EXPECT_EQ(MouseButtonValue(3), 2);  // right
  EXPECT_EQ(MouseButtonValue(2), 4);  // middle
  EXPECT_EQ(MouseButtonValue(8), 0);  // back: still a click
  EXPECT_EQ(MouseButtonValue(9), 0);
  for (unsigned wheel = 4; wheel <= 7; ++wheel) EXPECT_FALSE(MouseButtonValue(wheel)) << wheel;

  EXPECT_EQ(HeldButtons(0), 0);
  EXPECT_EQ(HeldButtons(kButton1Mask), 1);
  EXPECT_EQ(HeldButtons(kButton3Mask), 2);
  EXPECT_EQ(HeldButtons(kButton2Mask), 4);
  EXPECT_EQ(HeldButtons(kButton1Mask | kButton2Mask | kButton3Mask | kShiftMask), 7);

  EXPECT_EQ(ShiftValue(kShiftMask), 1);
  EXPECT_EQ(ShiftValue(kControlMask), 2);
  EXPECT_EQ(ShiftValue(kAltMask), 4);
  EXPECT_EQ(ShiftValue(kShiftMask | kControlMask | kAltMask | kButton1Mask), 7);
  // Caps Lock and Num Lock are no shift keys.
  EXPECT_EQ(ShiftValue(kLockMask | kNumLockMask), 0);
}

// What the saver window shows, read back through the desktop snapshot (the
// root window holds the saver window's pixels).
class LinuxSaverHostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') GTEST_SKIP() << "no X display (DISPLAY unset)";
    host_ = GtkSaverHost::Create(clock_, [this] { return pointerHidden_; });
    ASSERT_TRUE(host_) << "the display " << display << " does not open";
  }

  // Dispatches events for a while, then takes a snapshot; tries again while
  // the screen does not yet show `expected` at (x, y) (a window manager may
  // take a moment to map the window).
  Image SnapshotShowing(int x, int y, std::uint32_t expected) {
    Image snapshot(host_->ScreenWidth(), host_->ScreenHeight());
    for (int attempt = 0; attempt < 100; ++attempt) {
      Drain();
      host_->WaitUntil(clock_.MonotonicMs() + 20);
      host_->CaptureDesktop(snapshot);
      if (snapshot.At(x, y) == expected) break;
    }
    return snapshot;
  }

  void Drain() {
    struct Ignore : InputHandler {
      void MouseDown(int, int, float, float) override {}
      void MouseMove(int, int, float, float) override {}
      void KeyDown(int, int) override {}
    } ignore;
    host_->ProcessInput(ignore);
  }

  LinuxClock clock_;
  bool pointerHidden_ = false;
  std::unique_ptr<GtkSaverHost> host_;
};

TEST_F(LinuxSaverHostWindow, PaintsOnlyTheChangedRectanglesAndIsFoundByTitle) {
  const int width = host_->ScreenWidth();
  const int height = host_->ScreenHeight();
  ASSERT_GT(width, 100);
  ASSERT_GT(height, 100);
  LinuxSystem system;

  const std::uint32_t kFirst = Rgb(10, 120, 200);
  const std::uint32_t kSecond = Rgb(250, 40, 5);
  Image frame(width, height, kFirst);
  host_->Show();
  host_->MakeTopMost();
  EXPECT_TRUE(system.WindowExists("Orvel_Main"));
  EXPECT_FALSE(system.WindowExists("Orvel_Mai"));
  const Rect whole = frame.Bounds();
  host_->Present(frame, std::span(&whole, 1));
  Image screen = SnapshotShowing(width / 2, height / 2, kFirst);
  EXPECT_EQ(screen.At(0, 0), kFirst);
  EXPECT_EQ(screen.At(width - 1, height - 1), kFirst);

  // The whole frame changes, but only two rectangles are presented.
  Fill(frame, kSecond);
  const std::vector<Rect> changed = {{10, 20, 30, 40}, {width - 50, height - 30, 50, 30}};
  host_->Present(frame, changed);
  screen = SnapshotShowing(10, 20, kSecond);
  EXPECT_EQ(screen.At(10, 20), kSecond);
  EXPECT_EQ(screen.At(39, 59), kSecond);
  EXPECT_EQ(screen.At(40, 59), kFirst);
  EXPECT_EQ(screen.At(39, 60), kFirst);
  EXPECT_EQ(screen.At(9, 20), kFirst);
  EXPECT_EQ(screen.At(width - 1, height - 1), kSecond);
  EXPECT_EQ(screen.At(width - 51, height - 1), kFirst);
  EXPECT_EQ(screen.At(width / 2, height / 2), kFirst);

  // A new image (new pixels elsewhere in memory) is shown, not the old one.
  const std::uint32_t kThird = Rgb(0, 255, 0);
  auto replacement = std::make_unique<Image>(width, height, kThird);
  frame = Image();
  host_->Present(*replacement, std::span(&whole, 1));
  screen = SnapshotShowing(width / 2, height / 2, kThird);
  EXPECT_EQ(screen.At(width / 2, height / 2), kThird);
  EXPECT_EQ(screen.At(10, 20), kThird);

  host_->Close();
  EXPECT_FALSE(system.WindowExists("Orvel_Main"));
}

}  // namespace
}  // namespace orvel
