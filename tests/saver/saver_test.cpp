// The saver window as a whole: its start sequence, its frames against a
// full restore, its timers and the music it drives, on the headless platform.
#include "saver/saver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "saver/saver_fixture.h"

namespace orvel {
namespace {

constexpr int kW = 97;
constexpr int kH = 61;

// --- Start sequence -------------------------------------------------------

TEST(SaverStart, TakesTheDesktopBeforeShowingAndGoesTopMostLast) {
  SaverRig rig(kW, kH);
  rig.host.desktop = NoiseImage(kW, kH, 3);
  rig.state.settings.BgmKind = 1;
  rig.Start();

  EXPECT_EQ(rig.CallsMade(), (Calls{"CaptureDesktop", "CdOpen", "Show", "MakeTopMost"}));
  EXPECT_EQ(rig.saver.ScreenW, kW);
  EXPECT_EQ(rig.saver.ScreenH, kH);
  EXPECT_EQ(rig.saver.Master, *rig.host.desktop);
  EXPECT_EQ(rig.saver.Display, rig.saver.Master);
  EXPECT_EQ(rig.saver.Pixels, rig.saver.Master);
  EXPECT_EQ(rig.saver.SecondsCount, 0);
  EXPECT_EQ(rig.saver.SlidePosition, 0);
  EXPECT_FALSE(rig.saver.Timer3.Enabled());
  EXPECT_TRUE(rig.saver.Timer2.Enabled());
  EXPECT_FALSE(rig.saver.Timer1.Enabled());
  // Nothing is drawn before the first frame.
  EXPECT_EQ(rig.host.framesPresented, 0);
  EXPECT_TRUE(rig.host.shown);
}

TEST(SaverStart, PicturesTakeThePlaceOfTheDesktop) {
  SaverRig rig(kW, kH);
  rig.host.desktop = NoiseImage(kW, kH, 3);
  const Image first = NoiseImage(kW, kH, 4);
  rig.UsePictures({{"a.bmp", first}, {"b.bmp", NoiseImage(kW, kH, 5)}});
  rig.Start();

  EXPECT_EQ(rig.CallsMade(), (Calls{"Load a.bmp", "Show", "MakeTopMost"}));
  EXPECT_EQ(rig.saver.Master, first);
  EXPECT_EQ(rig.saver.Pixels, first);
  EXPECT_EQ(rig.saver.SlidePosition, 1);
  EXPECT_TRUE(rig.saver.Timer3.Enabled());
  EXPECT_FALSE(rig.saver.Timer2.Enabled());
}

TEST(SaverStart, NoSnapshotGivesABlackBackground) {
  SaverRig rig(kW, kH);
  rig.host.desktop.reset();
  rig.Start();
  EXPECT_TRUE(AllBlack(rig.saver.Master));
  EXPECT_TRUE(AllBlack(rig.saver.Pixels));

  // The orbs then float over black: every pixel outside their squares is
  // black, and inside them only the tint shows.
  rig.RunUntil(0);
  Image expected(kW, kH);
  DrawOrbs(expected, rig.saver.Orbs, kW, kH, rig.saver.Pixels);
  EXPECT_EQ(rig.host.screen, expected);
  EXPECT_FALSE(AllBlack(rig.host.screen));
}

TEST(SaverStart, MusicFollowsTheKindAndTheFileEnding) {
  struct Case {
    std::int16_t kind;
    std::string file;
    Calls calls;
    bool timer1;
    bool timer2;
  };
  const std::vector<Case> cases = {
      {1, "", {"CdOpen"}, false, true},
      {1, "song.mp3", {"CdOpen"}, false, true},
      {2, "C:\\Music\\song.mp3", {"Mp3Start"}, true, false},
      {2, "song.MP3", {"Mp3Start"}, true, false},
      {2, "song.mP3", {"Mp3Start"}, true, false},
      {2, "mp3", {"Mp3Start"}, true, false},
      {2, "bell.wav", {"WavStart"}, false, false},
      {2, "bell.WaV", {"WavStart"}, false, false},
      {2, "tune.mid", {}, false, false},
      {2, "song.mp3 ", {}, false, false},
      {2, "p3", {}, false, false},
      {2, "", {}, false, false},
      {0, "song.mp3", {}, false, false},
      {3, "song.mp3", {}, false, false},
      {-1, "bell.wav", {}, false, false},
  };
  for (const Case& c : cases) {
    SaverRig rig(kW, kH);
    rig.state.settings.BgmKind = c.kind;
    rig.state.settings.BgmFile = c.file;
    rig.Start();
    Calls music = rig.CallsMade();
    std::erase_if(music, [](const std::string& call) {
      return call == "CaptureDesktop" || call == "Show" || call == "MakeTopMost";
    });
    const std::string what = "BgmKind " + std::to_string(c.kind) + " file '" + c.file + "'";
    EXPECT_EQ(music, c.calls) << what;
    EXPECT_EQ(rig.saver.Timer1.Enabled(), c.timer1) << what;
    EXPECT_EQ(rig.saver.Timer2.Enabled(), c.timer2) << what;
    EXPECT_FALSE(rig.saver.Timer3.Enabled()) << what;
  }
}

TEST(SaverStart, DirectionAndOrbsComeFromTheSeededGenerator) {
  std::set<int> directions;
  for (std::uint64_t seed = 1; seed <= 8; ++seed) {
    SaverRig rig(kW, kH, "/s", seed);
    // The start sequence re-seeds from the clock, then takes one draw for
    // the drift and two per orb.
    Random twin(seed);
    twin.Reseed(rig.platform.clock.nextSeed);
    rig.Start();

    const int direction = twin.Below(2);
    EXPECT_EQ(rig.saver.Direction, direction) << "seed " << seed;
    directions.insert(rig.saver.Direction);
    Orbs expected{};
    InitOrbs(expected, kW, kH, twin);
    EXPECT_EQ(rig.saver.Orbs, expected) << "seed " << seed;
    for (std::size_t i = 0; i < kOrbCount; ++i) {
      EXPECT_EQ(rig.saver.Orbs[i].TintR, OrbTints[i].r);
      EXPECT_EQ(rig.saver.Orbs[i].TintG, OrbTints[i].g);
      EXPECT_EQ(rig.saver.Orbs[i].TintB, OrbTints[i].b);
    }

    // A frame moves the orbs first and draws them where they moved to.
    rig.RunUntil(0);
    MoveOrbs(expected, direction, kW, kH, twin);
    EXPECT_EQ(rig.saver.Orbs, expected) << "seed " << seed;
  }
  EXPECT_EQ(directions, (std::set<int>{0, 1}));
}

// --- Frames: restoring under the orbs only --------------------------------

struct FrameScenario {
  std::string name;
  int width;
  int height;
  std::int16_t pictureSize;
  std::int16_t changeInterval;
  std::int16_t pictureOrder;
  // Each file with the size of its picture; nullopt for one that fails.
  std::vector<std::pair<std::string, std::optional<std::pair<int, int>>>> files;
  int frames;
};

void SetUpScenario(SaverRig& rig, const FrameScenario& scenario) {
  rig.host.desktop = NoiseImage(scenario.width, scenario.height, 99);
  rig.state.settings.PictureSize = scenario.pictureSize;
  rig.state.settings.ChangeInterval = scenario.changeInterval;
  rig.state.settings.PictureOrder = scenario.pictureOrder;
  std::vector<PictureFile> files;
  std::uint64_t seed = 100;
  for (const auto& [path, size] : scenario.files) {
    std::optional<Image> image;
    if (size) image = NoiseImage(size->first, size->second, ++seed);
    files.emplace_back(path, image);
  }
  if (!files.empty()) rig.UsePictures(files);
}

TEST(SaverFrames, RestoringUnderTheOrbsGivesTheFramesOfAFullRestore) {
  const std::vector<FrameScenario> scenarios = {
      {"desktop 97x61", 97, 61, 0, 1, 0, {}, 400},
      {"fitted slideshow 97x61 with a missing file",
       97,
       61,
       1,
       1,
       1,
       {{"a.jpg", {{120, 50}}}, {"gone.jpg", {}}, {"c.gif", {{40, 90}}}, {"d.bmp", {{97, 61}}}},
       400},
      {"one picture 97x61", 97, 61, 0, 2, 1, {{"only.bmp", {{60, 40}}}}, 300},
      {"unscaled slideshow 320x200",
       320,
       200,
       0,
       1,
       0,
       {{"big.bmp", {{400, 300}}}, {"gone.bmp", {}}, {"small.bmp", {{100, 100}}}},
       300},
      {"desktop 23x17", 23, 17, 0, 1, 0, {}, 200},
  };

  for (const FrameScenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.name);
    const int w = scenario.width;
    const int h = scenario.height;
    SaverRig dirty(w, h, "/s", 2024);
    SaverRig full(w, h, "/s", 2024);
    full.saver.SetFullRestore(true);
    SetUpScenario(dirty, scenario);
    SetUpScenario(full, scenario);

    // At each present: the screen shows Display, and Display is the
    // background with the current orbs drawn afresh.
    int frame = 0;
    std::vector<int> wrongFrames;
    int partialPresents = 0;
    dirty.host.onPresent = [&](const Image& screen) {
      const Saver& s = dirty.saver;
      Image expected = s.Master;
      DrawOrbs(expected, s.Orbs, s.ScreenW, s.ScreenH, s.Pixels);
      if (s.Display != expected || screen != s.Display || s.Pixels != s.Master) {
        wrongFrames.push_back(frame);
      }
      if (dirty.host.lastChanged != std::vector<Rect>{Rect{0, 0, w, h}}) ++partialPresents;
    };

    dirty.Start();
    full.Start();
    std::vector<int> differingFrames;
    bool ranLeft = false, ranRight = false;
    bool wrappedLeft = false, wrappedRight = false, wrappedTop = false;
    int reversals = 0;
    for (frame = 0; frame < scenario.frames; ++frame) {
      const std::int16_t direction = dirty.saver.Direction;
      const std::int64_t at = frame * 1000 / kFrameRate;
      dirty.RunUntil(at);
      full.RunUntil(at);
      if (dirty.host.screen != full.host.screen || dirty.saver.Display != full.saver.Display ||
          dirty.saver.Orbs != full.saver.Orbs) {
        differingFrames.push_back(frame);
      }
      (direction != 0 ? ranRight : ranLeft) = true;
      if (dirty.saver.Direction != direction) ++reversals;
      for (const Orb& orb : dirty.saver.Orbs) {
        wrappedRight |= orb.X == -20;
        wrappedLeft |= orb.X == w;
        wrappedTop |= orb.Y == h;
      }
    }

    EXPECT_EQ(dirty.host.framesPresented, scenario.frames);
    EXPECT_TRUE(wrongFrames.empty()) << "first wrong frame " << wrongFrames.front();
    EXPECT_TRUE(differingFrames.empty()) << "first differing frame " << differingFrames.front();
    // The run did what it was meant to exercise.
    EXPECT_GT(partialPresents, scenario.frames / 2);
    EXPECT_TRUE(wrappedTop);
    if (ranLeft) {
      EXPECT_TRUE(wrappedLeft);
    }
    if (ranRight) {
      EXPECT_TRUE(wrappedRight);
    }
    if (!scenario.files.empty()) {
      EXPECT_GE(reversals, 4);
      EXPECT_TRUE(ranLeft && ranRight);
    }
    for (const auto& [path, size] : scenario.files) {
      if (!size) {
        const Calls calls = dirty.CallsMade();
        EXPECT_NE(std::find(calls.begin(), calls.end(), "Load " + path), calls.end());
      }
    }
  }
}

// --- Music timers and the order of the event pass -------------------------

TEST(SaverTimers, CdWatchRunsEvery200MsUntilTheDriveStopsAnswering) {
  SaverRig rig(kW, kH);
  rig.state.settings.BgmKind = 1;
  rig.Start();
  rig.RunUntil(1000);
  EXPECT_EQ(rig.TimedCallsOf("Cd"), (Calls{"CdOpen@0", "CdWatch@200", "CdWatch@400", "CdWatch@600",
                                           "CdWatch@800", "CdWatch@1000"}));

  // The first tick that finds the drive silent is the last.
  rig.music.cdAnswers = false;
  rig.ClearLog();
  rig.RunUntil(3000);
  EXPECT_EQ(rig.TimedCallsOf("Cd"), (Calls{"CdWatch@1200"}));
  EXPECT_FALSE(rig.saver.Timer2.Enabled());

  // The drive answering again later changes nothing: nobody watches it.
  rig.music.cdAnswers = true;
  rig.RunUntil(4000);
  EXPECT_EQ(rig.TimedCallsOf("Cd"), (Calls{"CdWatch@1200"}));
}

TEST(SaverTimers, Mp3IsKeptLoopingEverySecond) {
  SaverRig rig(kW, kH);
  rig.state.settings.BgmKind = 2;
  rig.state.settings.BgmFile = "Song.Mp3";
  rig.Start();
  rig.RunUntil(3500);
  EXPECT_EQ(rig.TimedCallsOf("Mp3"), (Calls{"Mp3Start@0", "Mp3KeepLooping@1000",
                                            "Mp3KeepLooping@2000", "Mp3KeepLooping@3000"}));
}

TEST(SaverTimers, EventPassTakesInputFirstThenTimer1Timer2Timer3) {
  const std::vector<PictureFile> pictures = {{"a.bmp", NoiseImage(kW, kH, 1)},
                                             {"b.bmp", NoiseImage(kW, kH, 2)}};
  auto callsAt1000 = [](const SaverRig& rig) {
    Calls calls;
    for (const std::string& call : rig.TimedCalls()) {
      if (call.ends_with("@1000")) calls.push_back(call);
    }
    return calls;
  };

  {
    SCOPED_TRACE("MP3 and slideshow");
    SaverRig rig(kW, kH);
    rig.state.settings.BgmKind = 2;
    rig.state.settings.BgmFile = "a.mp3";
    rig.state.settings.ChangeInterval = 1;
    rig.UsePictures(pictures);
    rig.Start();
    rig.RunUntil(1000);
    EXPECT_EQ(callsAt1000(rig), (Calls{"Mp3KeepLooping@1000", "Load b.bmp@1000"}));
  }
  {
    SCOPED_TRACE("CD and slideshow");
    SaverRig rig(kW, kH);
    rig.state.settings.BgmKind = 1;
    rig.state.settings.ChangeInterval = 1;
    rig.UsePictures(pictures);
    rig.Start();
    rig.RunUntil(1000);
    EXPECT_EQ(callsAt1000(rig), (Calls{"CdWatch@1000", "Load b.bmp@1000"}));
  }
  {
    SCOPED_TRACE("a key in the same pass as the ticks");
    SaverRig rig(kW, kH);
    rig.state.settings.BgmKind = 2;
    rig.state.settings.BgmFile = "a.mp3";
    rig.state.settings.ChangeInterval = 1;
    rig.UsePictures(pictures);
    rig.host.KeyDownAt(1000, 'A');
    rig.Start();
    rig.RunUntil(2000);
    EXPECT_EQ(callsAt1000(rig),
              (Calls{"QueryVersion@1000", "Mp3Stop@1000", "SystemParameter 97 0@1000",
                     "SystemParameter 17 1@1000", "Close@1000"}));
    EXPECT_TRUE(rig.saver.Ended());
  }
}

// --- Run ------------------------------------------------------------------

TEST(SaverRun, PacesThirtyFramesToTheSecondAndReturnsWhenTheSaverEnds) {
  SaverRig rig(kW, kH);
  rig.host.desktop = NoiseImage(kW, kH, 3);
  std::vector<std::int64_t> presentedAt;
  rig.host.onPresent = [&](const Image&) { presentedAt.push_back(rig.platform.clock.now); };
  rig.host.KeyDownAt(2000, ' ');
  rig.saver.Run();

  EXPECT_TRUE(rig.saver.Ended());
  ASSERT_EQ(presentedAt.size(), 61u);
  for (std::size_t k = 0; k < presentedAt.size(); ++k) {
    EXPECT_EQ(presentedAt[k], static_cast<std::int64_t>(k) * 1000 / kFrameRate) << "frame " << k;
  }
  EXPECT_EQ(presentedAt[30], 1000);
  // Nothing waits after the last frame.
  EXPECT_EQ(rig.platform.clock.now, 2000);
}

TEST(SaverRun, AfterAStallTheFramesDoNotBunchUp) {
  SaverRig rig(kW, kH);
  rig.state.settings.ChangeInterval = 1;
  rig.UsePictures({{"a.bmp", NoiseImage(kW, kH, 1)}, {"b.bmp", NoiseImage(kW, kH, 2)}});
  // The second picture takes half a second to read.
  rig.pictures.onLoad = [&](const std::string& path) {
    if (path == "b.bmp") rig.platform.clock.Advance(500);
  };
  std::vector<std::int64_t> presentedAt;
  rig.host.onPresent = [&](const Image&) { presentedAt.push_back(rig.platform.clock.now); };
  rig.host.KeyDownAt(1700, ' ');
  rig.saver.Run();

  ASSERT_EQ(presentedAt.size(), 38u);
  for (std::size_t k = 1; k < presentedAt.size(); ++k) {
    EXPECT_GE(presentedAt[k] - presentedAt[k - 1], 1000 / kFrameRate) << "frame " << k;
  }
  // The frame after the stall comes at once, the rest at the usual pace.
  EXPECT_EQ(presentedAt[31], 1500);
  EXPECT_EQ(presentedAt[32], 1533);
}

}  // namespace
}  // namespace orvel
