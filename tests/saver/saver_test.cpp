// The saver as a whole: start, frames against a full restore, timers, slideshow, Run's pacing.
#include "saver/saver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "saver/saver_fixture.h"

namespace orvel {
namespace {

TEST(SaverStart, DesktopBeforeShowTopMostLastAndMusicByFileKind) {
  // BgmKind, BgmFile and the music call made between the snapshot and Show.
  for (const auto& [kind, file, music] : std::vector<std::tuple<int, std::string, std::string>>{
           {1, "song.mp3", "CdOpen, "},
           {2, "C:\\Music\\song.mP3", "Mp3Start, "},
           {2, "bell.WaV", "WavStart, "},
           {2, "song.mp3 ", ""},
           {2, "p3", ""},
           {0, "song.mp3", ""}}) {
    SaverRig rig;
    rig.host.desktop = NoiseImage(97, 61, 3);
    rig.state.settings.BgmKind = static_cast<std::int16_t>(kind);
    rig.state.settings.BgmFile = file;
    rig.saver.Form_Load();
    EXPECT_EQ(rig.CallsMade(), "CaptureDesktop, " + music + "Show, MakeTopMost");
    EXPECT_EQ(rig.saver.Timer1.Enabled(), music == "Mp3Start, ") << file;
    EXPECT_EQ(rig.saver.Master, *rig.host.desktop);
  }
}

TEST(SaverFrames, ComposingTheOrbsSquaresGivesTheFramesOfTheWholeScreen) {
  SaverRig dirty, full;
  full.saver.SetPresentWholeScreen(true);
  for (SaverRig* rig : {&dirty, &full}) {
    rig->state.settings.PictureSize = 1;
    rig->UsePictures({{"a", NoiseImage(120, 50, 1)}, {"gone", {}}, {"c", NoiseImage(40, 90, 2)}});
    rig->saver.Form_Load();
  }
  // Each present shows the background with the orbs drawn afresh; most copy only rectangles.
  int wrong = 0, partial = 0;
  dirty.host.onPresent = [&](const Image& screen) {
    const Saver& d = dirty.saver;
    Image expected = d.Background();
    DrawOrbs(expected, d.Orbs, 97, 61, d.Background());
    wrong += screen != expected;
    partial += dirty.host.lastChanged != std::vector<Rect>{d.Master.Bounds()};
  };
  int wrapped = 0;  // bits: at x = -20, at x = 97 (so both drifts ran), at y = 61
  for (int frame = 0; frame < 400; ++frame) {
    dirty.RunUntil(frame * 1000 / kFrameRate);
    full.RunUntil(frame * 1000 / kFrameRate);
    ASSERT_TRUE(dirty.host.screen == full.host.screen && dirty.saver.Master == full.saver.Master)
        << "frame " << frame;
    for (const Orb& orb : dirty.saver.Orbs)
      wrapped |= (orb.X == -20) | (orb.X == 97) << 1 | (orb.Y == 61) << 2;
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(partial, 300);
  EXPECT_EQ(wrapped, 7);
}

TEST(SaverTimers, CdWatchEvery200MsUntilTheDriveFailsMp3LoopEachSecondBeforeThePicture) {
  SaverRig cd;
  cd.state.settings.BgmKind = 1;
  cd.saver.Form_Load();
  cd.RunUntil(600);
  cd.music.cdAnswers = false;
  cd.RunUntil(1500);
  cd.music.cdAnswers = true;  // nobody watches any more
  cd.RunUntil(2000);
  EXPECT_EQ(cd.CallsMade("Cd", true),
            "CdOpen@0, CdWatch@200, CdWatch@400, CdWatch@600, CdWatch@800");

  SaverRig mp3;
  mp3.state.settings.BgmKind = 2;
  mp3.state.settings.BgmFile = "a.mp3";
  mp3.UsePictures({{"a", NoiseImage(97, 61, 1)}, {"b", NoiseImage(97, 61, 2)}});
  mp3.saver.Form_Load();
  EXPECT_EQ(mp3.saver.Master, mp3.pictures.pictures.at("a"));
  mp3.RunUntil(2000);
  EXPECT_EQ(mp3.CallsMade("", true),
            "Load a@0, Mp3Start@0, Show@0, MakeTopMost@0, Mp3KeepLooping@1000, Load b@1000, "
            "Mp3KeepLooping@2000, Load a@2000");
}

TEST(SaverSlideshow, ChangesEachIntervalAndReversesTheDriftAlsoWhenALoadFails) {
  for (const int interval : {3, 1, 0, -4}) {
    SaverRig rig;
    rig.state.settings.ChangeInterval = static_cast<std::int16_t>(interval);
    rig.UsePictures({{"a", NoiseImage(97, 61, 1)}, {"gone", {}}, {"c", NoiseImage(97, 61, 3)}});
    rig.saver.Form_Load();
    const int step = std::max<int>(interval, 1) * 1000;
    const int direction = rig.saver.Direction;
    for (int change = 1; change <= 2; ++change) {
      rig.RunUntil(change * step - 1);
      EXPECT_EQ(rig.saver.Direction, direction ^ (change - 1) % 2) << interval;
      rig.RunUntil(change * step);
      EXPECT_EQ(rig.saver.Direction, direction ^ change % 2) << interval;
      // The missing file leaves black behind the orbs.
      EXPECT_EQ(rig.saver.Background() == Image(97, 61), change == 1) << interval;
    }
    EXPECT_EQ(rig.CallsMade("Load", true), "Load a@0, Load gone@" + std::to_string(step) +
                                               ", Load c@" + std::to_string(2 * step));
  }
}

TEST(SaverRun, PacesThirtyFramesToTheSecondAndReturnsWhenTheSaverEnds) {
  SaverRig rig;
  std::vector<std::int64_t> presentedAt;
  rig.host.onPresent = [&](const Image&) { presentedAt.push_back(rig.platform.clock.now); };
  rig.host.KeyDownAt(2000, ' ');
  rig.saver.Run();
  ASSERT_EQ(presentedAt.size(), 61u);
  for (std::size_t k = 0; k < presentedAt.size(); ++k)
    EXPECT_EQ(presentedAt[k], static_cast<std::int64_t>(k) * 1000 / kFrameRate);
  EXPECT_EQ(rig.platform.clock.now, 2000);
}

}  // namespace
}  // namespace orvel
