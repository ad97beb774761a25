#include "dialog/dialog_painter.h"

#include <gtest/gtest.h>

#include "dialog/skin.h"

namespace orvel {
namespace {

using C = DialogControl;

constexpr std::uint32_t kRed = Rgb(220, 0, 0), kGreen = Rgb(0, 200, 0);

// The centre pixel of a control as painted.
std::uint32_t Centre(const Image& painted, C control) {
  const Rect r = ClientRect(control);
  return painted.At(r.x + r.w / 2, r.y + r.h / 2);
}

TEST(DialogPainter, EveryPanelShowsTheStripFromItsOwnCorner) {
  const Image strip = MarbleStrip(1);
  DialogPainter painter(1);
  const Image& painted = painter.Paint(DialogState::Designed());
  ASSERT_EQ(painted.Width(), 557);
  ASSERT_EQ(painted.Height(), 489);
  struct Point {
    C panel;
    int dx, dy;
  };  // a point that no control covers, from the panel's corner
  for (Point p :
       {Point{C::Pic_C, 3, 5}, Point{C::Pic_C, 550, 480}, Point{C::Pic_1_0, 3, 5},
        Point{C::Pic_1_0, 150, 140}, Point{C::Pic_1_1, 300, 330}, Point{C::Pic_1_2, 180, 70},
        Point{C::Pic_1_3, 400, 25}, Point{C::Pic_1_3, 520, 100}}) {
    const Rect panel = ClientRect(p.panel);
    EXPECT_EQ(painted.At(panel.x + p.dx, panel.y + p.dy), strip.At(p.dx % 560, p.dy % 20))
        << EntryOf(p.panel).name << " +" << p.dx << "," << p.dy;
  }
}

TEST(DialogPainter, ControlsShowTheLooksOfTheirOwnKindAndThePreviewBox) {
  DialogState state = DialogState::Designed();
  DialogPainter painter(1);
  const Image blank = painter.Paint(state);
  state[C::Img_SR_0].look = Look::OptionChosen;
  state[C::Img_SR_1].look = Look::OptionEmpty;
  state[C::Img_Kind_0].look = Look::CheckOn;
  state[C::Img_Kind_1].look = Look::CheckOff;
  state[C::Img_Size_0].look = Look::CheckOn;  // not a look an option mark has
  state[C::Img_H_1].look = Look::Heading;
  state[C::Img_Button_2].look = Look::ButtonResting;
  state[C::Img_Button_3].look = Look::ButtonPressed;
  const Image& painted = painter.Paint(state);

  // A pressed face is the lighter one.
  auto brightness = [](std::uint32_t p) { return RedOf(p) + GreenOf(p) + BlueOf(p); };
  EXPECT_GT(brightness(Centre(painted, C::Img_Button_3)),
            brightness(Centre(painted, C::Img_Button_2)) + 30);

  const std::uint32_t dot = Centre(painted, C::Img_SR_0);
  EXPECT_GT(RedOf(dot), GreenOf(dot) + 60);
  const std::uint32_t empty = Centre(painted, C::Img_SR_1);
  EXPECT_GT(GreenOf(empty), 200);
  const std::uint32_t on = Centre(painted, C::Img_Kind_0);
  EXPECT_GT(BlueOf(on), RedOf(on) + 60);
  EXPECT_NE(Centre(painted, C::Img_Kind_1), on);
  EXPECT_EQ(Centre(painted, C::Img_Size_0), Centre(blank, C::Img_Size_0));
  EXPECT_NE(Centre(painted, C::Img_H_1), Centre(blank, C::Img_H_1));
  // At twice the scale, the chosen mark sits at twice its place.
  const Image two = PaintDialog(state, 2);
  EXPECT_EQ(std::pair(two.Width(), two.Height()), std::pair(1114, 978));
  const Rect mark = ClientRect(C::Img_SR_0);
  EXPECT_NE(two.At(2 * mark.x + 13, 2 * mark.y + 13), two.At(2 * mark.x + 13, 2 * mark.y - 20));

  // White before the first preview; then the work picture scaled into the box from its corner.
  EXPECT_EQ(Centre(painted, C::Pic_K), Rgb(255, 255, 255));
  const Rect box = ClientRect(C::Pic_K);
  state.previewShowsPicture = true;
  state.workPicture = Image(2, 1);
  state.workPicture.Set(0, 0, kRed);
  state.workPicture.Set(1, 0, kGreen);
  state.previewSize = PixelSize{100, 50};
  const Image& wide = painter.Paint(state);
  EXPECT_EQ(wide.At(box.x + 49, box.y + 25), kRed);
  EXPECT_EQ(wide.At(box.x + 50, box.y + 25), kGreen);
  EXPECT_NE(wide.At(box.x + 50, box.y + 60), kGreen);  // below the box: the panel again
  state.workPicture = Image(1, 2);
  state.workPicture.Set(0, 0, kRed);
  state.workPicture.Set(0, 1, kGreen);
  state.previewSize = PixelSize{50, 100};
  const Image& tall = painter.Paint(state);
  EXPECT_EQ(tall.At(box.x + 25, box.y + 49), kRed);
  EXPECT_EQ(tall.At(box.x + 25, box.y + 50), kGreen);
}

}  // namespace
}  // namespace orvel
