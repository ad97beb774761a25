#include "dialog/skin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>
#include <tuple>
#include <utility>

namespace orvel {
namespace {

double Luminance(std::uint32_t p) {
  return 0.299 * RedOf(p) + 0.587 * GreenOf(p) + 0.114 * BlueOf(p);
}
int Spread(std::uint32_t p) {
  return std::max({RedOf(p), GreenOf(p), BlueOf(p)}) - std::min({RedOf(p), GreenOf(p), BlueOf(p)});
}
// The sums of the red, green and blue of every pixel.
std::tuple<double, double, double> ChannelSums(const Image& image) {
  double red = 0, green = 0, blue = 0;
  for (std::uint32_t p : image.Pixels()) red += RedOf(p), green += GreenOf(p), blue += BlueOf(p);
  return {red, green, blue};
}

std::pair<int, int> SizeOf(const Image& image) { return {image.Width(), image.Height()}; }
std::pair<int, int> SizeOf(const Sprite& sprite) {
  EXPECT_EQ(sprite.alpha.size(), static_cast<std::size_t>(sprite.Width() * sprite.Height()));
  return {sprite.Width(), sprite.Height()};
}

// The mean of |a - b| over the three channels of two rows.
double RowDifference(const Image& image, int a, int b) {
  double sum = 0;
  for (int x = 0; x < image.Width(); ++x) {
    const std::uint32_t p = image.At(x, a), q = image.At(x, b);
    sum += std::abs(RedOf(p) - RedOf(q)) + std::abs(GreenOf(p) - GreenOf(q)) +
           std::abs(BlueOf(p) - BlueOf(q));
  }
  return sum / (3.0 * image.Width());
}

TEST(Skin, EveryPictureHasItsSizeTimesTheScale) {
  for (double scale : {1.0, 2.0, 1.5, 1.25}) {
    SCOPED_TRACE(scale);
    const auto px = [scale](int w, int h) {
      return std::pair(static_cast<int>(std::lround(w * scale)),
                       static_cast<int>(std::lround(h * scale)));
    };
    EXPECT_EQ(SizeOf(MarbleStrip(scale)), px(560, 20));
    EXPECT_EQ(SizeOf(HeadingBar({95, 22}, scale)), px(95, 22));
    EXPECT_EQ(SizeOf(ButtonFace(true, {109, 22}, scale)), px(109, 22));
    EXPECT_EQ(SizeOf(OptionMark(true, scale)), px(13, 13));
    EXPECT_EQ(SizeOf(CheckMark(false, scale)), px(12, 12));
    EXPECT_EQ(SizeOf(HandCursor(scale).picture), px(32, 32));
  }
  EXPECT_EQ(SizeOf(WindowIcon()), std::pair(32, 32));
  EXPECT_EQ(SizeOf(PreviewStill()), std::pair(152, 112));
  // A scale that is no number draws at 1, one out of range at the nearest bound; no size, nothing.
  EXPECT_EQ(SizeOf(OptionMark(true, std::numeric_limits<double>::quiet_NaN())), std::pair(13, 13));
  EXPECT_EQ(SizeOf(CheckMark(true, 1e9)), std::pair(12 * 8, 12 * 8));
  EXPECT_EQ(SizeOf(CheckMark(true, -2)), std::pair(6, 6));
  EXPECT_EQ(SizeOf(HeadingBar({0, 22}, 1)), std::pair(0, 0));
}

TEST(Skin, TheMarbleStripJoinsItselfTopToBottomAndIsLightAndCalm) {
  for (double scale : {1.0, 2.0, 1.5}) {
    SCOPED_TRACE(scale);
    const Image strip = MarbleStrip(scale);
    const int h = strip.Height();
    // The seam to the next copy is no larger than the steps between the strip's own rows.
    double largestStep = 0, stepSum = 0;
    for (int y = 0; y + 1 < h; ++y) {
      const double step = RowDifference(strip, y, y + 1);
      largestStep = std::max(largestStep, step);
      stepSum += step;
    }
    EXPECT_LE(RowDifference(strip, h - 1, 0), stepSum / (h - 1) * 1.5);
    EXPECT_LE(largestStep, 6.0);
    // Light grey for black captions; a texture, not a flat fill; no row that would show as a band.
    double sum = 0, squares = 0, darkestRow = 255, lightestRow = 0;
    for (int y = 0; y < h; ++y) {
      double row = 0;
      for (int x = 0; x < strip.Width(); ++x) {
        const std::uint32_t p = strip.At(x, y);
        const double l = Luminance(p);
        row += l;
        squares += l * l;
        EXPECT_LE(Spread(p), 16) << x << "," << y;
      }
      row /= strip.Width();
      sum += row;
      darkestRow = std::min(darkestRow, row);
      lightestRow = std::max(lightestRow, row);
    }
    const double mean = sum / h;
    const double deviation = std::sqrt(squares / (h * strip.Width()) - mean * mean);
    EXPECT_GE(mean, 195);
    EXPECT_LE(mean, 240);
    EXPECT_GE(deviation, 2);
    EXPECT_LE(lightestRow - darkestRow, 4);
  }
}

TEST(Skin, BarsAndButtonsAreRoundedAtAnySizeGreyOrBlue) {
  for (double scale : {1.0, 2.0, 1.5}) {
    for (PixelSize size : {PixelSize{95, 22}, PixelSize{109, 22}, PixelSize{101, 22}}) {
      SCOPED_TRACE(testing::Message() << scale << " " << size.width);
      const Sprite bar = HeadingBar(size, scale);
      const Sprite resting = ButtonFace(false, size, scale);
      const Sprite pressed = ButtonFace(true, size, scale);
      const int w = bar.Width(), h = bar.Height();
      for (const Sprite* face : {&bar, &resting, &pressed}) {
        // Rounded: the corners are open, the middle of each side is closed.
        for (auto [x, y] :
             {std::pair(0, 0), std::pair(w - 1, 0), std::pair(0, h - 1), std::pair(w - 1, h - 1)})
          EXPECT_LE(face->AlphaAt(x, y), 40) << x << "," << y;
        for (auto [x, y] : {std::pair(w / 2, 0), std::pair(w / 2, h - 1), std::pair(0, h / 2),
                            std::pair(w - 1, h / 2), std::pair(w / 2, h / 2)})
          EXPECT_GE(face->AlphaAt(x, y), 200) << x << "," << y;
      }
      // Under the caption: grey on the bar, blue on the buttons, light enough for black text.
      for (int y = h / 4; y < h * 3 / 4; ++y) {
        const std::uint32_t g = bar.colour.At(w / 2, y);
        EXPECT_LE(Spread(g), 20);
        EXPECT_GE(Luminance(g), 150);
        for (const Sprite* button : {&resting, &pressed}) {
          const std::uint32_t b = button->colour.At(w / 2, y);
          EXPECT_GE(BlueOf(b), RedOf(b) + 40);
          EXPECT_GE(Luminance(b), 110);
        }
      }
    }
  }
}

// Pixels at least `rim` (a fraction of the side) from the centre are the same in both pictures.
void ExpectSameRim(const Sprite& a, const Sprite& b, double rim) {
  ASSERT_EQ(SizeOf(a), SizeOf(b));
  const double c = a.Width() / 2.0;
  int compared = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (std::max(std::abs(x + 0.5 - c), std::abs(y + 0.5 - c)) < rim * a.Width()) continue;
      ++compared;
      EXPECT_EQ(a.AlphaAt(x, y), b.AlphaAt(x, y)) << x << "," << y;
      EXPECT_EQ(a.colour.At(x, y), b.colour.At(x, y)) << x << "," << y;
    }
  }
  EXPECT_GT(compared, a.Width() * 2);
}

TEST(Skin, MarkedMarksDifferFromEmptyOnesInTheCentreOnly) {
  for (double scale : {1.0, 2.0, 1.5}) {
    SCOPED_TRACE(scale);
    const Sprite empty = OptionMark(false, scale);
    const Sprite chosen = OptionMark(true, scale);
    const int m = empty.Width() / 2;
    // The chosen mark shows a red dot; the empty one a light well.
    const std::uint32_t dot = chosen.colour.At(m, m);
    EXPECT_GE(RedOf(dot), 150);
    EXPECT_GE(RedOf(dot), std::max(GreenOf(dot), BlueOf(dot)) + 80);
    EXPECT_GE(Luminance(empty.colour.At(m, m)), 200);
    EXPECT_EQ(chosen.AlphaAt(m, m), 255);
    EXPECT_EQ(empty.AlphaAt(m, m), 255);
    ExpectSameRim(empty, chosen, 0.35);
    // Round: the corners are open, the middle of each side is not; uncovered pixels are 0.
    EXPECT_EQ(empty.AlphaAt(0, 0), 0);
    EXPECT_EQ(empty.colour.At(0, 0), 0u);
    EXPECT_EQ(chosen.colour.At(chosen.Width() - 1, 0), 0u);
    EXPECT_EQ(empty.AlphaAt(empty.Width() - 1, empty.Height() - 1), 0);
    const int edge = static_cast<int>(std::lround(scale));
    EXPECT_GE(empty.AlphaAt(edge, m), 200);
    EXPECT_GE(empty.AlphaAt(m, empty.Height() - 1 - edge), 200);
    EXPECT_EQ(empty.AlphaAt(edge, edge), 0);

    const Sprite off = CheckMark(false, scale);
    const Sprite on = CheckMark(true, scale);
    const int c = off.Width() / 2;
    const std::uint32_t centre = on.colour.At(c, c);
    EXPECT_GE(BlueOf(centre), RedOf(centre) + 60);
    EXPECT_GE(BlueOf(centre), GreenOf(centre) + 30);
    EXPECT_GE(Luminance(off.colour.At(c, c)), 200);
    ExpectSameRim(off, on, 0.3);
    // Square: its sides reach out almost to the corners.
    EXPECT_GE(off.AlphaAt(edge, edge), 200);
    EXPECT_GE(off.AlphaAt(off.Width() - 1 - edge, off.Height() - 1 - edge), 200);
  }
}

TEST(Skin, TheHandCursorPointsItsFingertipAtTheHotSpot) {
  for (auto [scale, hotX, hotY] : {std::tuple(1.0, 12, 1), std::tuple(2.0, 24, 2),
                                   std::tuple(1.5, 18, 2), std::tuple(1.25, 15, 1)}) {
    SCOPED_TRACE(scale);
    const Cursor cursor = HandCursor(scale);
    const Sprite& hand = cursor.picture;
    EXPECT_EQ(std::pair(cursor.hotX, cursor.hotY), std::pair(hotX, hotY));
    // The fingertip's black outline covers the hot spot; above it, only that outline's soft edge.
    EXPECT_GE(hand.AlphaAt(hotX, hotY), 128);
    EXPECT_LE(Luminance(hand.colour.At(hotX, hotY)), 60);
    for (int y = 0; y < hotY; ++y) {
      for (int x = 0; x < hand.Width(); ++x)
        EXPECT_LE(hand.AlphaAt(x, y), y + 1 == hotY ? 127 : 0) << x << "," << y;
    }
    // Below the tip, the finger is white; at the foot, the cuff dark blue.
    const int s = static_cast<int>(std::lround(scale * 4));
    const std::uint32_t finger = hand.colour.At(hotX, hotY + s);
    EXPECT_EQ(hand.AlphaAt(hotX, hotY + s), 255);
    EXPECT_GE(std::min({RedOf(finger), GreenOf(finger), BlueOf(finger)}), 235);
    const int cuffY = static_cast<int>(std::lround(scale * 28));
    const std::uint32_t cuff = hand.colour.At(hand.Width() / 2, cuffY);
    EXPECT_EQ(hand.AlphaAt(hand.Width() / 2, cuffY), 255);
    EXPECT_GE(BlueOf(cuff), RedOf(cuff) + 40);
    EXPECT_LE(Luminance(cuff), 110);
    // The rest of the picture is clear: the corners show what lies below.
    for (auto [x, y] : {std::pair(0, 0), std::pair(hand.Width() - 1, 0),
                        std::pair(hand.Width() - 1, hand.Height() - 1)})
      EXPECT_EQ(hand.AlphaAt(x, y), 0) << x << "," << y;
  }
}

TEST(Skin, TheWindowIconIsLightBlueInAtMost256Colours) {
  const Image icon = WindowIcon();
  const std::set<std::uint32_t> colours(icon.Pixels().begin(), icon.Pixels().end());
  EXPECT_LE(colours.size(), 256u);
  EXPECT_GE(colours.size(), 40u);          // still shaded, not a handful of flat colours
  for (std::uint32_t p : icon.Pixels()) {  // light blue tones: none redder than blue, none dark
    EXPECT_GE(BlueOf(p), std::max(RedOf(p), GreenOf(p)));
    EXPECT_GE(Luminance(p), 90);
  }
  const auto [red, green, blue] = ChannelSums(icon);
  const double n = static_cast<double>(icon.Pixels().size());
  EXPECT_GE(blue / n, red / n + 30);
  EXPECT_GE(blue / n, green / n + 10);
  EXPECT_GE((red + green + blue) / (3 * n), 160);
}

TEST(Skin, ThePreviewStillShowsTintedOrbsOverAGreenWoodland) {
  const Image still = PreviewStill();
  const auto [red, green, blue] = ChannelSums(still);  // a woodland: green outweighs the rest
  EXPECT_GE(green, red * 1.1);
  EXPECT_GE(green, blue * 1.3);
  // The orbs: bright where their centres lie.
  const auto orbs =
      std::ranges::count_if(still.Pixels(), [](auto p) { return Luminance(p) > 215; });
  EXPECT_GE(orbs, 5 * 40);
}

}  // namespace
}  // namespace orvel
