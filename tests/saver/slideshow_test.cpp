// The slideshow behind the orbs: when pictures change, in which order, what a
// failing file leaves, and the drift reversal that goes with every change.
#include <gtest/gtest.h>

#include <algorithm>

#include "saver/picture_layout.h"
#include "saver/saver.h"
#include "saver/saver_fixture.h"

namespace orvel {
namespace {

constexpr int kW = 97;
constexpr int kH = 61;

std::vector<PictureFile> ThreePictures() {
  return {{"a.bmp", NoiseImage(kW, kH, 1)},
          {"b.bmp", NoiseImage(kW, kH, 2)},
          {"c.bmp", NoiseImage(kW, kH, 3)}};
}

TEST(Slideshow, PictureChangesEveryChangeIntervalSecondsAndOneOrLessMeansEverySecond) {
  {
    SaverRig rig(kW, kH);
    rig.state.settings.ChangeInterval = 3;
    rig.UsePictures(ThreePictures());
    rig.Start();
    for (const auto& [at, seconds] :
         std::vector<std::pair<int, int>>{{999, 0}, {1000, 1}, {2000, 2}, {3000, 0}, {4000, 1}}) {
      rig.RunUntil(at);
      EXPECT_EQ(rig.saver.SecondsCount, seconds) << "at " << at;
    }
    rig.RunUntil(6500);
    EXPECT_EQ(rig.TimedCallsOf("Load"),
              (Calls{"Load a.bmp@0", "Load b.bmp@3000", "Load c.bmp@6000"}));
  }
  for (const std::int16_t interval : std::initializer_list<std::int16_t>{1, 0, -4}) {
    SaverRig rig(kW, kH);
    rig.state.settings.ChangeInterval = interval;
    rig.UsePictures(ThreePictures());
    rig.Start();
    rig.RunUntil(4500);
    EXPECT_EQ(rig.TimedCallsOf("Load"), (Calls{"Load a.bmp@0", "Load b.bmp@1000", "Load c.bmp@2000",
                                               "Load a.bmp@3000", "Load b.bmp@4000"}))
        << "ChangeInterval " << interval;
  }
}

TEST(Slideshow, EveryChangeReversesTheDriftAlsoWhenThePictureFailsToLoad) {
  SaverRig rig(kW, kH);
  rig.state.settings.ChangeInterval = 2;
  const Image first = NoiseImage(kW, kH, 1);
  const Image third = NoiseImage(kW, kH, 3);
  rig.UsePictures({{"a.bmp", first}, {"gone.bmp", std::nullopt}, {"c.bmp", third}});
  rig.Start();
  const int direction = rig.saver.Direction;

  for (int second = 1; second <= 8; ++second) {
    // It turns with the change and not a frame before.
    rig.RunUntil(second * 1000 - 1);
    EXPECT_EQ(rig.saver.Direction, direction ^ ((second - 1) / 2 % 2)) << "before " << second;
    rig.RunUntil(second * 1000);
    EXPECT_EQ(rig.saver.Direction, direction ^ (second / 2 % 2)) << "at " << second << " s";
    if (second == 2 || second == 3) {
      // The missing file leaves black behind the orbs until the next change.
      EXPECT_TRUE(AllBlack(rig.saver.Master)) << "at " << second << " s";
      EXPECT_TRUE(AllBlack(rig.saver.Pixels)) << "at " << second << " s";
    }
    if (second == 4 || second == 5) {
      EXPECT_EQ(rig.saver.Master, third);
    }
    if (second == 6) {
      EXPECT_EQ(rig.saver.Master, first);
    }
  }
  EXPECT_EQ(rig.TimedCallsOf("Load"),
            (Calls{"Load a.bmp@0", "Load gone.bmp@2000", "Load c.bmp@4000", "Load a.bmp@6000",
                   "Load gone.bmp@8000"}));
}

TEST(Slideshow, AfterTheLastPictureANewOrderIsBuiltAndCountingStartsAgain) {
  SaverRig rig(kW, kH);
  rig.state.settings.ChangeInterval = 1;
  rig.state.settings.PictureOrder = 1;
  rig.UsePictures({{"a.bmp", NoiseImage(kW, kH, 1)},
                   {"b.bmp", NoiseImage(kW, kH, 2)},
                   {"c.bmp", NoiseImage(kW, kH, 3)},
                   {"d.bmp", NoiseImage(kW, kH, 4)}});
  std::vector<std::vector<std::int16_t>> orders = {rig.state.catalogue.DisplayOrder};
  rig.Start();

  std::vector<int> positions = {rig.saver.SlidePosition};
  for (int second = 1; second <= 11; ++second) {
    rig.RunUntil(second * 1000);
    positions.push_back(rig.saver.SlidePosition);
    if (rig.saver.SlidePosition == 0) orders.push_back(rig.state.catalogue.DisplayOrder);
  }
  EXPECT_EQ(positions, (std::vector<int>{1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0}));

  // Each run of four loads walks the order that was in force for it.
  Calls expected;
  for (std::size_t block = 0; block < 3; ++block) {
    for (std::size_t position = 1; position <= 4; ++position) {
      const int file = orders[block][position];
      expected.push_back("Load " + rig.state.catalogue.ImageFiles[static_cast<std::size_t>(file)]);
    }
    std::vector<std::int16_t> sorted(orders[block].begin() + 1, orders[block].end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::int16_t>{1, 2, 3, 4})) << "order " << block;
  }
  Calls loads = rig.CallsMade();
  std::erase_if(loads, [](const std::string& call) { return call.rfind("Load", 0) != 0; });
  EXPECT_EQ(loads, expected);
  // The orders were drawn anew, not kept.
  EXPECT_TRUE(orders[0] != orders[1] || orders[1] != orders[2]);
}

TEST(Slideshow, OnePictureIsReloadedAtEveryChangeAndOnlyTheDriftChanges) {
  SaverRig rig(kW, kH);
  rig.state.settings.ChangeInterval = 1;
  rig.state.settings.PictureOrder = 1;
  const Image only = NoiseImage(40, 30, 8);
  rig.UsePictures({{"only.gif", only}});
  rig.Start();
  EXPECT_EQ(rig.saver.SlidePosition, 0);
  const Image master = rig.saver.Master;
  const int direction = rig.saver.Direction;

  for (int second = 1; second <= 3; ++second) {
    rig.RunUntil(second * 1000);
    EXPECT_EQ(rig.saver.SlidePosition, 0);
    EXPECT_EQ(rig.saver.Master, master);
    EXPECT_EQ(rig.saver.Direction, direction ^ (second % 2));
  }
  EXPECT_EQ(rig.TimedCallsOf("Load"), (Calls{"Load only.gif@0", "Load only.gif@1000",
                                             "Load only.gif@2000", "Load only.gif@3000"}));
}

TEST(Slideshow, WithoutPicturesTheDesktopStaysAndTheDriftNeverTurns) {
  SaverRig rig(kW, kH);
  rig.host.desktop = NoiseImage(kW, kH, 5);
  rig.state.settings.ChangeInterval = 1;
  rig.Start();
  const int direction = rig.saver.Direction;
  for (int second = 1; second <= 5; ++second) {
    rig.RunUntil(second * 1000);
    EXPECT_EQ(rig.saver.Direction, direction);
  }
  EXPECT_EQ(rig.saver.Master, *rig.host.desktop);
  EXPECT_EQ(rig.saver.Pixels, *rig.host.desktop);
  EXPECT_FALSE(rig.saver.Timer3.Enabled());
  EXPECT_TRUE(rig.TimedCallsOf("Load").empty());
}

TEST(Slideshow, PictureSizeZeroKeepsThePictureSizeAndAnyOtherFitsIt) {
  const Image small = NoiseImage(40, 30, 9);
  auto masterFor = [&](const Image& picture, std::int16_t pictureSize) {
    SaverRig rig(kW, kH);
    rig.state.settings.PictureSize = pictureSize;
    rig.UsePictures({{"p.jpg", picture}});
    rig.Start();
    return rig.saver.Master;
  };

  // Unscaled and centred: (97 - 40) / 2 = 28.5 goes to 28, (61 - 30) / 2 =
  // 15.5 to 16.
  const Image unscaled = masterFor(small, 0);
  EXPECT_EQ(unscaled.At(28, 16), small.At(0, 0));
  EXPECT_EQ(unscaled.At(67, 45), small.At(39, 29));
  EXPECT_EQ(unscaled.At(27, 16), 0u);
  EXPECT_EQ(unscaled.At(68, 45), 0u);
  EXPECT_EQ(unscaled.At(28, 15), 0u);
  EXPECT_EQ(unscaled.At(28, 46), 0u);

  // Wider than high: the full screen width, 30 * 97 / 40 = 72.75 rows.
  Image fitted(kW, kH);
  ComposePicture(fitted, small, 1);
  EXPECT_NE(fitted, unscaled);
  for (const std::int16_t size : std::initializer_list<std::int16_t>{1, 2, -1}) {
    EXPECT_EQ(masterFor(small, size), fitted) << size;
  }
  EXPECT_EQ(fitted.At(0, 31), small.At(0, 15));
  EXPECT_EQ(fitted.At(kW - 1, 31), small.At(39, 15));

  // A picture of the screen's size is the same either way.
  const Image screenSized = NoiseImage(kW, kH, 10);
  EXPECT_EQ(masterFor(screenSized, 0), screenSized);
  EXPECT_EQ(masterFor(screenSized, 1), screenSized);
}

TEST(Slideshow, AFailingFirstPictureStartsOnBlackAndTheNextOneShows) {
  SaverRig rig(kW, kH);
  rig.host.desktop = NoiseImage(kW, kH, 5);
  rig.state.settings.ChangeInterval = 1;
  const Image second = NoiseImage(kW, kH, 6);
  rig.UsePictures({{"gone.bmp", std::nullopt}, {"b.bmp", second}});
  rig.Start();
  EXPECT_TRUE(AllBlack(rig.saver.Master));
  EXPECT_TRUE(AllBlack(rig.saver.Pixels));
  EXPECT_EQ(rig.saver.SlidePosition, 1);
  EXPECT_TRUE(rig.saver.Timer3.Enabled());
  EXPECT_EQ(rig.CallsMade(), (Calls{"Load gone.bmp", "Show", "MakeTopMost"}));

  rig.RunUntil(1000);
  EXPECT_EQ(rig.saver.Master, second);
  EXPECT_EQ(rig.saver.Pixels, second);
}

TEST(Slideshow, ASlowFirstPictureStillGetsItsWholeInterval) {
  SaverRig rig(kW, kH);
  rig.state.settings.ChangeInterval = 1;
  rig.UsePictures(ThreePictures());
  rig.pictures.onLoad = [&](const std::string& path) {
    if (path == "a.bmp") rig.platform.clock.Advance(1500);
  };
  rig.Start();
  rig.RunUntil(2499);
  EXPECT_EQ(rig.TimedCallsOf("Load"), (Calls{"Load a.bmp@1500"}));
  rig.RunUntil(2500);
  EXPECT_EQ(rig.TimedCallsOf("Load"), (Calls{"Load a.bmp@1500", "Load b.bmp@2500"}));
}

}  // namespace
}  // namespace orvel
