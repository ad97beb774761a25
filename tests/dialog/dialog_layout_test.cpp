#include "dialog/dialog_layout.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

using C = DialogControl;

bool Inside(const Rect& inner, const Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

TEST(DialogLayout, EveryControlLiesOnItsPanelAndClickTargetsOrGroupsNeverOverlap) {
  // Two click targets, or two group panels, on top of each other would hide one of them.
  const auto group = [](const ControlEntry& e) {
    return e.role == ControlRole::Panel && e.id != C::Pic_C;
  };
  for (const ControlEntry& a : DialogControls()) {
    EXPECT_TRUE(Inside(ClientRect(a.id), ClientRect(a.parent))) << a.name;
    for (const ControlEntry& b : DialogControls()) {
      if (a.id < b.id && ((a.hand && b.hand) || (group(a) && group(b)))) {
        EXPECT_TRUE(Intersect(ClientRect(a.id), ClientRect(b.id)).Empty())
            << a.name << " " << b.name;
      }
    }
  }
}

TEST(DialogLayout, CaptionsTakeThePressesOverTheirButtonsAndMarksBesideThem) {
  // Each button caption lies on its face and takes a press there; the face's rim takes none.
  for (auto [caption, face] : {std::pair{C::lbl_Button_0, C::Img_Button_0},
                               {C::lbl_Button_1, C::Img_Button_1},
                               {C::lbl_Button_2, C::Img_Button_2},
                               {C::lbl_Button_3, C::Img_Button_3},
                               {C::lbl_Button_4, C::Img_Button_4}}) {
    const Rect c = ClientRect(caption);
    EXPECT_TRUE(Inside(c, ClientRect(face))) << EntryOf(caption).name;
    EXPECT_EQ(ClickTargetAt(c.x + c.w / 2.0, c.y + c.h / 2.0), caption);
  }
  const Rect face = ClientRect(C::Img_Button_0);
  EXPECT_EQ(ClickTargetAt(face.x + 1, face.y + 1), std::nullopt);
  // Marks stand level with their captions.
  const std::pair<C, C> marks[] = {{C::Img_SR_0, C::lbl_Rdm_Seq_0}, {C::Img_SR_1, C::lbl_Rdm_Seq_1},
                                   {C::Img_Size_0, C::lbl_Size_0},  {C::Img_Size_1, C::lbl_Size_1},
                                   {C::Img_Kind_0, C::lbl_Kind_0},  {C::Img_Kind_1, C::lbl_Kind_1},
                                   {C::Img_Kind_2, C::lbl_Kind_2},  {C::Img_Kind_3, C::lbl_Kind_3},
                                   {C::Img_BGM_0, C::lbl_BGM_0},    {C::Img_BGM_1, C::lbl_BGM_1},
                                   {C::Img_BGM_2, C::lbl_BGM_2}};
  for (auto [mark, caption] : marks) {
    EXPECT_EQ(ClientRect(mark).y, ClientRect(caption).y) << EntryOf(mark).name;
    EXPECT_TRUE(EntryOf(mark).hand && EntryOf(caption).hand) << EntryOf(mark).name;
  }
  // Native controls take their own presses.
  const Rect list = ClientRect(C::List_1);
  EXPECT_EQ(ClickTargetAt(list.x + 5, list.y + 5), std::nullopt);
  // Scaling moves the edges: at 1.5, (1, 1) to (2, 2) keeps its one pixel.
  EXPECT_EQ(ScaleRect(Rect{1, 1, 1, 1}, 1.5), (Rect{2, 2, 1, 1}));
}

}  // namespace
}  // namespace orvel
