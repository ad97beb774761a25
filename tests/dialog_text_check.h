// One check for the dialog's text on both faces: which controls carry text,
// where the text stands in its rectangle, greyed text and the link. Each
// face draws a control's text on a light grey (204) client area and hands
// the pixels (0xRRGGBB) to InkOf.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

#include "dialog/dialog_layout.h"

namespace orvel {

// What a caption left: the box around the pixels it changed, and which
// colours it used.
struct Ink {
  Rect box;
  bool black = false, grey = false, white = false, blue = false;
  int widestBlueRow = 0;
};

inline Ink InkOf(const std::function<std::uint32_t(int x, int y)>& pixel, int w, int h) {
  Ink ink;
  int left = w, top = h, right = -1, bottom = -1;
  for (int y = 0; y < h; ++y) {
    int blueRun = 0;
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = pixel(x, y) & 0xFFFFFF;
      const int r = RedOf(p), g = GreenOf(p), b = BlueOf(p);
      const bool blue = b - std::max(r, g) > 40;
      blueRun = blue ? blueRun + 1 : 0;
      if (p == Rgb(204, 204, 204)) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
      ink.black |= r < 60 && g < 60 && b < 60;
      ink.grey |= r == g && g == b && r >= 110 && r <= 150;
      ink.white |= r > 240 && g > 240 && b > 240;
      ink.blue |= blue;
      ink.widestBlueRow = std::max(ink.widestBlueRow, blueRun);
    }
  }
  if (right >= 0) ink.box = Rect{left, top, right - left + 1, bottom - top + 1};
  return ink;
}

inline bool InsideRect(const Rect& inner, const Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

using DrawTextFn = std::function<Ink(DialogControl, const std::string& text, bool enabled)>;

// `drawsText` is the face's own choice of the controls it writes on.
inline void ExpectTextOnCaptionsDisplayBoxesAndTheLinkOnly(bool (*drawsText)(ControlRole)) {
  int written = 0;
  for (const ControlEntry& entry : DialogControls()) {
    const bool text = entry.role == ControlRole::Caption || entry.role == ControlRole::DisplayBox ||
                      entry.role == ControlRole::Link;
    EXPECT_EQ(drawsText(entry.role), text) << entry.name;
    written += text;
  }
  EXPECT_GT(written, 0);
}

// `path` is a long path in the face's own spelling; the face may narrow it
// to within `pathSlack` of the right edge, and centre within `centreSlack`.
inline void ExpectTextStandsAsAligned(const DrawTextFn& draw, const std::string& path,
                                      int pathSlack, double centreSlack) {
  using C = DialogControl;
  // A number in a display box: right-aligned inside the border.
  const Rect kei = ClientRect(C::lbl_Kei);
  const Ink count = draw(C::lbl_Kei, "12", true);
  EXPECT_TRUE(count.black);
  EXPECT_TRUE(InsideRect(count.box, Rect{kei.x + 2, kei.y + 2, kei.w - 4, kei.h - 4}));
  EXPECT_GE(count.box.Right(), kei.Right() - 4);
  EXPECT_GE(count.box.x, kei.x + 14);

  // A heading's caption: centred, on the 13-pixel line from its top.
  const Rect heading = ClientRect(C::lbl_13);
  const Ink centred = draw(C::lbl_13, "画像ﾁｪﾝｼﾞ", true);
  EXPECT_TRUE(InsideRect(centred.box, Rect{heading.x, heading.y, heading.w, 13}));
  EXPECT_NEAR(centred.box.x + centred.box.w / 2.0, heading.x + heading.w / 2.0, centreSlack);

  // A left-aligned caption starts at its left edge.
  const Rect order = ClientRect(C::lbl_Rdm_Seq_1);
  const Ink left = draw(C::lbl_Rdm_Seq_1, "ﾗﾝﾀﾞﾑ", true);
  EXPECT_TRUE(InsideRect(left.box, order));
  EXPECT_LE(left.box.x, order.x + 1);

  // Text far wider than its rectangle stays inside it and fills it.
  const Rect box = ClientRect(C::Folder_Path);
  const Ink narrowed = draw(C::Folder_Path, path, true);
  EXPECT_TRUE(InsideRect(narrowed.box, box));
  EXPECT_GE(narrowed.box.Right(), box.Right() - pathSlack);

  EXPECT_EQ(draw(C::lbl_Kei, "", true).box, Rect{});
}

inline void ExpectGreyedTextAndABlueUnderlinedLink(const DrawTextFn& draw) {
  const Ink greyed = draw(DialogControl::lbl_Button_4, "ﾌｧｲﾙ名", false);
  EXPECT_TRUE(greyed.grey);
  EXPECT_TRUE(greyed.white);
  EXPECT_FALSE(greyed.black);
  const Ink enabled = draw(DialogControl::lbl_Button_4, "ﾌｧｲﾙ名", true);
  EXPECT_TRUE(enabled.black);
  EXPECT_FALSE(enabled.white);

  const Ink link = draw(DialogControl::lbl_URL, "https://orvel.example.org/", true);
  EXPECT_TRUE(link.blue);
  EXPECT_FALSE(link.black);
  // The underline runs under the whole address.
  EXPECT_GE(link.widestBlueRow, link.box.w - 2);
}

}  // namespace orvel
