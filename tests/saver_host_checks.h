// Checks for the saver hosts of both platforms, each reading what its window
// shows back its own way.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "platform/platform.h"

namespace orvel {

// What the window shows, once (x, y) shows the colour or a while has passed.
using ShownPixels = std::function<Image(int x, int y, std::uint32_t colour)>;

inline const std::uint32_t kFirstColour = Rgb(10, 120, 200);

// `frame` (screen-sized) presented whole, then changed everywhere with two
// rectangles presented, one reaching beyond the window: only they change.
inline void ExpectPaintsOnlyThePresentedRectangles(SaverHost& host, Image& frame,
                                                   const ShownPixels& shown) {
  const int width = frame.Width(), height = frame.Height();
  const std::uint32_t kSecond = Rgb(250, 40, 5);
  Fill(frame, kFirstColour);
  host.Show();
  const Rect whole = frame.Bounds();
  host.Present(frame, std::span(&whole, 1));
  Image screen = shown(0, 0, kFirstColour);
  EXPECT_EQ(screen.At(0, 0), kFirstColour);
  EXPECT_EQ(screen.At(width - 1, height - 1), kFirstColour);

  Fill(frame, kSecond);
  const std::vector<Rect> changed = {{10, 20, 30, 40}, {width - 50, height - 30, 80, 60}};
  host.Present(frame, changed);
  screen = shown(10, 20, kSecond);
  for (const auto& [x, y, colour] : {std::tuple{10, 20, kSecond},
                                     {39, 59, kSecond},
                                     {40, 59, kFirstColour},
                                     {39, 60, kFirstColour},
                                     {9, 20, kFirstColour},
                                     {width - 1, height - 1, kSecond},
                                     {width - 51, height - 1, kFirstColour},
                                     {width / 2, height / 2, kFirstColour}}) {
    EXPECT_EQ(screen.At(x, y), colour) << x << "," << y;
  }
}

// A frame presented whole comes back from a desktop snapshot, also into a
// smaller snapshot; an empty one takes nothing.
inline void ExpectASnapshotGivesThePresentedFrameBack(SaverHost& host, const ShownPixels& shown) {
  const int width = host.ScreenWidth(), height = host.ScreenHeight();
  Image frame(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) frame.Set(x, y, Rgb(x * 7 + y, y * 5 + (x >> 8), x ^ y));
  }
  host.Show();
  host.MakeTopMost();
  const Rect whole = frame.Bounds();
  host.Present(frame, std::span(&whole, 1));
  shown(width - 1, height - 1, frame.At(width - 1, height - 1));
  Image snapshot(width, height, Rgb(1, 2, 3));
  ASSERT_TRUE(host.CaptureDesktop(snapshot));
  EXPECT_TRUE(snapshot == frame);

  Image corner(width / 3, height - 7, Rgb(1, 2, 3));
  ASSERT_TRUE(host.CaptureDesktop(corner));
  Image expected(width / 3, height - 7);
  CopyImage(expected, frame, 0, 0);
  EXPECT_TRUE(corner == expected);
  Image none;
  EXPECT_FALSE(host.CaptureDesktop(none));
  host.Close();
}

}  // namespace orvel
