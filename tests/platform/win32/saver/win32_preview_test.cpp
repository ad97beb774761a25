#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "dialog/skin.h"
#include "platform/win32/saver/gdi_pixels.h"
#include "platform/win32/saver/win32_preview.h"

namespace orvel {
namespace {

// A pane standing for the host's.
struct Pane {
  Pane(int width, int height)
      : window(CreateWindowExW(0, L"STATIC", L"pane", WS_POPUP | WS_VISIBLE, 40, 30, width, height,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~Pane() {
    if (IsWindow(window)) DestroyWindow(window);
  }
  std::int32_t Handle() const {
    return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(window));
  }
  HWND window = nullptr;
};

void DispatchWaiting() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return PostQuitMessage(static_cast<int>(message.wParam));
    DispatchMessageW(&message);
  }
}

Image Pixels(HWND window, int width, int height) {
  DispatchWaiting();
  Image pixels(width, height, Rgb(1, 2, 3));
  HDC dc = GetDC(window);
  EXPECT_TRUE(ReadDeviceArea(dc, Rect{0, 0, width, height}, pixels));
  ReleaseDC(window, dc);
  return pixels;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool timedOut = false;

void CALLBACK TimeOut(HWND, UINT, UINT_PTR, DWORD) {
  timedOut = true;
  PostQuitMessage(0);
}

bool RunEnds(Win32Preview& preview) {
  timedOut = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 5000, TimeOut);
  preview.Run();
  KillTimer(nullptr, timer);
  return !timedOut;
}

TEST(Win32Preview, CoversAPaneOfTheUsualSizeWithTheStillAndEndsWithIt) {
  Pane pane(152, 112);
  std::unique_ptr<Win32Preview> preview = Win32Preview::Show(pane.Handle());
  ASSERT_TRUE(preview);
  const HWND window = static_cast<HWND>(preview->WindowHandle());

  EXPECT_EQ(GetParent(window), pane.window);
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(window));
  wchar_t title[32] = {};
  GetWindowTextW(window, title, 32);
  EXPECT_STREQ(title, L"Preview Window");
  const RECT paneRect = WindowRect(pane.window), rect = WindowRect(window);
  EXPECT_TRUE(EqualRect(&rect, &paneRect));

  EXPECT_TRUE(Pixels(window, 152, 112) == PreviewStill());

  // The host takes its pane down: the preview and its loop go with it.
  DestroyWindow(pane.window);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(preview->WindowHandle(), nullptr);
  EXPECT_TRUE(RunEnds(*preview));
}

TEST(Win32Preview, ShowsTheStillAtItsOwnSizeInALargerPaneAndCutInASmallerOne) {
  Pane large(300, 200);
  std::unique_ptr<Win32Preview> preview = Win32Preview::Show(large.Handle());
  ASSERT_TRUE(preview);
  const HWND window = static_cast<HWND>(preview->WindowHandle());
  const RECT rect = WindowRect(window), paneRect = WindowRect(large.window);
  EXPECT_TRUE(EqualRect(&rect, &paneRect));
  const Image still = PreviewStill();
  Image expected(300, 200, Rgb(0, 0, 0));
  CopyImage(expected, still, 0, 0);
  EXPECT_TRUE(Pixels(window, 300, 200) == expected);
  preview.reset();

  Pane small(100, 80);
  preview = Win32Preview::Show(small.Handle());
  ASSERT_TRUE(preview);
  expected = Image(100, 80);
  CopyImage(expected, still, 0, 0);
  EXPECT_TRUE(Pixels(static_cast<HWND>(preview->WindowHandle()), 100, 80) == expected);
}

TEST(Win32Preview, AHandleThatNamesNoWindowGivesAZeroSizedPreviewThatEndsAtOnce) {
  for (const std::int32_t handle : {0, 0x7FFFFFF0}) {
    std::unique_ptr<Win32Preview> preview = Win32Preview::Show(handle);
    ASSERT_TRUE(preview) << handle;
    const HWND window = static_cast<HWND>(preview->WindowHandle());
    ASSERT_TRUE(IsWindow(window)) << handle;
    const RECT rect = WindowRect(window);
    EXPECT_TRUE(rect.right == rect.left && rect.bottom == rect.top) << handle;
    EXPECT_EQ(GetParent(window), nullptr) << handle;
    EXPECT_TRUE(RunEnds(*preview)) << handle;
  }
}

}  // namespace
}  // namespace orvel
