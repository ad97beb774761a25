#include "settings/window_effects.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/headless/headless_dialog_view.h"

namespace orvel {
namespace {

constexpr std::uint32_t kBlue = Rgb(0, 0, 255);

// The image as rows of letters, one per colour: '.' for the untouched blue.
std::vector<std::string> Letters(const Image& image, const std::map<std::uint32_t, char>& names) {
  std::vector<std::string> rows(static_cast<std::size_t>(image.Height()));
  for (std::size_t i = 0; i < image.Pixels().size(); ++i) {
    const auto name = names.find(image.Pixels()[i]);
    rows[i / static_cast<std::size_t>(image.Width())] += name == names.end() ? '?' : name->second;
  }
  return rows;
}

// The classic three-dimensional colours.
const std::map<std::uint32_t, char> kNames = {{kBlue, '.'},
                                              {Rgb(0xE3, 0xE3, 0xE3), 'L'},   // light
                                              {Rgb(0xFF, 0xFF, 0xFF), 'H'},   // highlight
                                              {Rgb(0xA0, 0xA0, 0xA0), 'S'},   // shadow
                                              {Rgb(0x69, 0x69, 0x69), 'D'}};  // dark shadow

TEST(WindowEffects, EdgesLightTheirTopLeftAndShadeTheirBottomRightInTwoRings) {
  Image raised(8, 7, kBlue);
  DrawControlEdge(raised, Rect{1, 1, 6, 5}, EdgeKind::Raised);
  EXPECT_EQ(Letters(raised, kNames),
            (std::vector<std::string>{"........", ".LLLLLD.", ".LHHHSD.", ".LH..SD.", ".LSSSSD.",
                                      ".DDDDDD.", "........"}));
  Image sunken(6, 6, kBlue);
  DrawControlEdge(sunken, sunken.Bounds(), EdgeKind::SunkenOuter | EdgeKind::SunkenInner);
  EXPECT_EQ(Letters(sunken, kNames),
            (std::vector<std::string>{"SSSSSH", "SDDDLH", "SD..LH", "SD..LH", "SLLLLH", "HHHHHH"}));
  // At twice the scale each ring is two pixels wide.
  Image doubled(10, 10, kBlue);
  DrawControlEdge(doubled, doubled.Bounds(), EdgeKind::Raised, 2);
  EXPECT_EQ(Letters(doubled, kNames),
            (std::vector<std::string>{"LLLLLLLLDD", "LLLLLLLLDD", "LLHHHHSSDD", "LLHHHHSSDD",
                                      "LLHH..SSDD", "LLHH..SSDD", "LLSSSSSSDD", "LLSSSSSSDD",
                                      "DDDDDDDDDD", "DDDDDDDDDD"}));
  // Only what lies inside the image is drawn.
  Image clipped(4, 3, kBlue);
  DrawControlEdge(clipped, Rect{-2, 1, 5, 5}, EdgeKind::Raised);
  EXPECT_EQ(Letters(clipped, kNames), (std::vector<std::string>{"....", "LLD.", "HSD."}));
}

TEST(WindowEffects, TheZoomStartsAtThePointerWhereItsOriginCanHoldItAndElseAtTheCorner) {
  CallLog log;
  HeadlessDialogView view(log);
  const std::pair<ScreenPoint, std::pair<int, int>> cases[] = {{{-5, 32767}, {-5, 32767}},
                                                               {{-32768, 5}, {-32768, 5}},
                                                               {{40000, 5}, {0, 0}},
                                                               {{5, -32769}, {0, 0}}};
  for (const auto& [pointer, origin] : cases) {
    view.pointer = pointer;
    const ZoomOrigin zoom = ZoomOriginFromPointer(view);
    EXPECT_EQ(std::make_pair(int{zoom.x}, int{zoom.y}), origin) << pointer.x << "," << pointer.y;
  }
}

}  // namespace
}  // namespace orvel
