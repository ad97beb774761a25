#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <tuple>
#include <vector>

#include "platform/win32/saver/gdi_pixels.h"
#include "platform/win32/saver/win32_input.h"
#include "platform/win32/saver/win32_saver_host.h"
#include "platform/win32/system/win32_platform.h"
#include "saver_host_checks.h"

namespace orvel {
namespace {

std::uint32_t Noise(int x, int y) { return Rgb(x * 7 + y, y * 3 + (x >> 5), x ^ (y * 5)); }

TEST(Win32SaverHostInput, GivesTheButtonShiftAndKeyValues) {
  using E = InputEvent;
  const auto fields = [](const E& e) {
    return std::tuple(e.kind, e.button, e.shift, e.x, e.y, e.key);
  };
  // Buttons 1 left, 2 right, 4 middle, 0 side; shift 1 Shift, 2 Control, 4 Alt; signed places.
  const LPARAM off = MAKELPARAM(-5, -7);
  const std::tuple<unsigned, WPARAM, LPARAM, ModifierKeys, E> cases[] = {
      {WM_LBUTTONDOWN, 0, MAKELPARAM(12, 34), {}, {E::MouseDown, 1, 0, 12, 34}},
      {WM_RBUTTONDOWN, 0, MAKELPARAM(12, 34), {}, {E::MouseDown, 2, 0, 12, 34}},
      {WM_MBUTTONDOWN, 0, MAKELPARAM(12, 34), {}, {E::MouseDown, 4, 0, 12, 34}},
      {WM_XBUTTONDOWN, 0, MAKELPARAM(12, 34), {}, {E::MouseDown, 0, 0, 12, 34}},
      {WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON | MK_SHIFT, off, {}, {E::MouseMove, 5, 0, -5, -7}},
      {WM_LBUTTONDOWN, 0, 0, {false, true, false}, {E::MouseDown, 1, 2}},
      {WM_KEYDOWN, VK_RIGHT, 0, {true, false, true}, {E::KeyDown, 0, 5, 0, 0, VirtualKey::Right}},
      {WM_SYSKEYDOWN, VK_MENU, 0, {false, true, true}, {E::KeyDown, 0, 6, 0, 0, VirtualKey::Alt}},
  };
  for (const auto& [message, wParam, lParam, keys, want] : cases) {
    const std::optional<E> event = InputOfMessage(message, wParam, lParam, keys);
    ASSERT_TRUE(event) << message;
    EXPECT_EQ(fields(*event), fields(want)) << message;
  }
  for (unsigned message : {WM_MOUSEWHEEL, WM_LBUTTONUP, WM_KEYUP, WM_CHAR}) {
    EXPECT_FALSE(InputOfMessage(message, 'A', 0, {})) << message;
  }
}

struct Recorder : InputHandler {
  struct Call {
    char what;  // 'd' down, 'm' move, 'k' key
    int value;  // button or key
    int shift;
    float x, y;
    bool operator==(const Call&) const = default;
  };
  std::vector<Call> calls;
  void MouseDown(int button, int shift, float x, float y) override {
    calls.push_back({'d', button, shift, x, y});
  }
  void MouseMove(int button, int shift, float x, float y) override {
    calls.push_back({'m', button, shift, x, y});
  }
  void KeyDown(int key, int shift) override { calls.push_back({'k', key, shift, 0, 0}); }
  void CloseRequested() override { calls.push_back({'c', 0, 0, 0, 0}); }
};

constexpr const char* kTitle = "Orvelの窓";

class Win32SaverHostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    host = Win32SaverHost::Create(clock, kTitle);
    ASSERT_TRUE(host);
    window = static_cast<HWND>(host->WindowHandle());
    width = host->ScreenWidth();
    height = host->ScreenHeight();
  }

  Image WindowPixels() {
    Recorder ignore;
    host->ProcessInput(ignore);  // repaints first
    Image pixels(width, height);
    HDC dc = GetDC(window);
    EXPECT_TRUE(ReadDeviceArea(dc, Rect{0, 0, width, height}, pixels));
    ReleaseDC(window, dc);
    return pixels;
  }

  std::uint32_t WindowPixel(int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return Rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
  }

  const ShownPixels shown = [this](int, int, std::uint32_t) { return WindowPixels(); };
  Win32Clock clock;
  std::unique_ptr<Win32SaverHost> host;
  HWND window = nullptr;
  int width = 0;
  int height = 0;
};

TEST_F(Win32SaverHostWindow, IsABorderlessTopMostWindowOverThePrimaryMonitor) {
  EXPECT_EQ(width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(height, GetSystemMetrics(SM_CYSCREEN));
  // Found by its Japanese title before it shows: a second copy started meanwhile ends at once.
  EXPECT_TRUE(Win32System().WindowExists(kTitle));
  EXPECT_FALSE(IsWindowVisible(window));
  host->Show();
  EXPECT_TRUE(IsWindowVisible(window));
  host->MakeTopMost();

  RECT rect{}, client{};
  ASSERT_TRUE(GetWindowRect(window, &rect) && GetClientRect(window, &client));
  const RECT screen{0, 0, width, height};
  EXPECT_TRUE(EqualRect(&rect, &screen));
  EXPECT_TRUE(EqualRect(&client, &screen));  // no frame around it
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

  host->Close();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(Win32System().WindowExists(kTitle));
  host->Show();
  EXPECT_FALSE(Win32System().WindowExists(kTitle));
}

TEST_F(Win32SaverHostWindow, PaintsOnlyThePresentedRectanglesAndRepaintsFromTheLastFrame) {
  Image frame(width, height);
  ExpectPaintsOnlyThePresentedRectangles(*host, frame, shown);
  EXPECT_EQ(WindowPixel(39, 59), frame.At(39, 59));  // GetPixel agrees
  EXPECT_EQ(WindowPixel(40, 59), kFirstColour);

  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) frame.Set(x, y, Noise(x, y));
  }
  const Rect part{width / 3, height / 2, width / 2, height / 3};
  host->Present(frame, std::span(&part, 1));
  const Image screen = WindowPixels();
  for (int y = part.y; y < part.Bottom(); y += 7) {
    for (int x = part.x; x < part.Right(); x += 5) {
      ASSERT_EQ(screen.At(x, y), Noise(x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(screen.At(part.x - 1, part.y), kFirstColour);
  EXPECT_EQ(WindowPixel(part.x + 3, part.y + 2), Noise(part.x + 3, part.y + 2));

  // Uncovered, repainted from the last frame; beyond a smaller frame, black.
  InvalidateRect(window, nullptr, TRUE);
  EXPECT_TRUE(WindowPixels() == frame);

  Image small(width / 2, height / 2, kFirstColour);
  host->Present(small, {});
  InvalidateRect(window, nullptr, TRUE);
  Image expected(width, height, Rgb(0, 0, 0));
  CopyImage(expected, small, 0, 0);
  EXPECT_TRUE(WindowPixels() == expected);
  host->Close();
}

TEST_F(Win32SaverHostWindow, CapturesWhatTheScreenShows) {
  ExpectASnapshotGivesThePresentedFrameBack(*host, shown);
}

TEST_F(Win32SaverHostWindow, HandsPostedInputToTheHandlerInOrder) {
  host->Show();
  Recorder recorder;
  host->ProcessInput(recorder);
  recorder.calls.clear();  // whatever showing the window brought

  PostMessageW(window, WM_KEYDOWN, 'Q', 0);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
  PostMessageW(window, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(300, 200));
  PostMessageW(window, WM_SYSKEYDOWN, VK_MENU, 0);
  PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 2));
  PostMessageW(window, WM_MOUSEWHEEL, 0, 0);
  // Input that arrives during the wait for the next frame is kept for the next pass.
  host->WaitUntil(clock.MonotonicMs() + 30);
  // A pass after a wait that saw nothing asks for no messages: later input waits for the next.
  PostMessageW(window, WM_KEYDOWN, VK_LEFT, 0);
  host->ProcessInput(recorder);
  EXPECT_EQ(recorder.calls.size(), 5u);
  host->WaitUntil(clock.MonotonicMs() + 30);
  host->ProcessInput(recorder);

  EXPECT_EQ(recorder.calls, (std::vector<Recorder::Call>{{'k', 'Q', 0, 0, 0},
                                                         {'d', 1, 0, 10, 20},
                                                         {'m', 2, 0, 300, 200},
                                                         {'k', VirtualKey::Alt, 0, 0, 0},
                                                         {'d', 2, 0, 1, 2},
                                                         {'k', VirtualKey::Left, 0, 0, 0}}));

  struct Ender : Recorder {
    Win32SaverHost* host = nullptr;
    void KeyDown(int key, int shift) override {
      Recorder::KeyDown(key, shift);
      host->Close();
    }
  } ender;
  ender.host = host.get();
  PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  host->ProcessInput(ender);
  ASSERT_EQ(ender.calls.size(), 1u);
  EXPECT_EQ(ender.calls[0].value, VirtualKey::Escape);
  host->ProcessInput(ender);
  EXPECT_EQ(ender.calls.size(), 1u);
}

// Another program's WM_CLOSE ends the wait and reaches the handler; so does the session's end.
TEST_F(Win32SaverHostWindow, HandsOverAnotherProgramsCloseAndTheSessionsEnd) {
  host->Show();
  Recorder recorder;
  host->ProcessInput(recorder);
  recorder.calls.clear();
  PostMessageW(window, WM_CLOSE, 0, 0);
  const std::int64_t due = clock.MonotonicMs() + 10000;
  host->WaitUntil(due);
  EXPECT_LT(clock.MonotonicMs(), due);
  EXPECT_TRUE(IsWindow(window));
  host->ProcessInput(recorder);
  ASSERT_EQ(recorder.calls.size(), 1u);
  EXPECT_EQ(recorder.calls[0].what, 'c');

  EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageW(window, WM_ENDSESSION, TRUE, 0);
  ASSERT_EQ(recorder.calls.size(), 2u);
  EXPECT_EQ(recorder.calls[1].what, 'c');
  host->Close();
}

TEST_F(Win32SaverHostWindow, WaitsUntilTheFrameTimeAndAsksNoPasswordOnTheNtFamily) {
  const std::int64_t due = clock.MonotonicMs() + 40;
  PostMessageW(window, WM_NULL, 0, 0);
  host->WaitUntil(due);
  EXPECT_GE(clock.MonotonicMs(), due);
  EXPECT_EQ(host->VerifyPassword(), std::nullopt);
}

}  // namespace
}  // namespace orvel
