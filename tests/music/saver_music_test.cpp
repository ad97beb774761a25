#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "music/mci_music.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_saver.h"
#include "platform/headless/scripted_media.h"
#include "saver/saver.h"

namespace orvel {
namespace {

using Commands = std::vector<std::string>;

constexpr int kEscape = 27;
constexpr int kRightArrow = 39;

const Commands kCdWatch = {"status cdaudio current track", "status cdaudio number of tracks",
                           "status cdaudio mode"};

// The real saver, started as a test run (no password, no system keys),
// with its music going to a scripted media device.
struct MusicSaverRig {
  MusicSaverRig(int bgmKind, const std::string& bgmFile = "") {
    state.settings.BgmKind = static_cast<std::int16_t>(bgmKind);
    state.settings.BgmFile = bgmFile;
    state.random.Seed(3);
  }

  void Start() { saver.Form_Load(); }

  // Frames as the saver paces them (frame k at k / 30 s), up to and
  // including `ms`, while the saver runs.
  void RunUntil(std::int64_t ms) {
    while (!saver.Ended()) {
      const std::int64_t at = frame_ * 1000 / kFrameRate;
      if (at > ms) break;
      platform.clock.now = at;
      saver.AnimationFrame();
      ++frame_;
    }
  }

  // The media commands sent since the last call.
  Commands Sent() {
    Commands sent = media.commands;
    media.commands.clear();
    return sent;
  }

  HeadlessPlatform platform;
  HeadlessSaverHost host{platform.clock, platform.log, 32, 24};
  MemoryPictureLoader pictures;
  ScriptedMedia media;
  RecordingSoundPlayer sound;
  AppState state;
  MciMusic music{state.settings, media, sound};
  Saver saver{state, SaverServices{host, pictures, music, platform.clock, platform.system}, ""};

 private:
  std::int64_t frame_ = 0;
};

TEST(SaverMusic, Mp3IsCheckedEverySecondAndClosedAtTheEnd) {
  const std::string file = "C:\\Music\\Night Walk.MP3";
  MusicSaverRig rig(2, file);
  rig.media.mp3.playableFiles.insert(file);

  rig.Start();
  EXPECT_EQ(rig.Sent(),
            (Commands{"open \"" + file + "\" type MPEGVideo Alias MP3Play", "play MP3Play"}));
  rig.RunUntil(999);
  EXPECT_TRUE(rig.Sent().empty());
  rig.RunUntil(1000);
  EXPECT_EQ(rig.Sent(), Commands{"status MP3Play mode"});
  rig.RunUntil(1999);
  EXPECT_TRUE(rig.Sent().empty());

  // The file ends.
  rig.media.mp3.mode = "stopped";
  rig.RunUntil(2000);
  EXPECT_EQ(rig.Sent(), (Commands{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
  EXPECT_EQ(rig.media.mp3.mode, "playing");

  rig.host.KeyDownAt(2500, 'A');
  rig.RunUntil(5000);
  EXPECT_TRUE(rig.saver.Ended());
  EXPECT_EQ(rig.Sent(), (Commands{"stop MP3Play", "close MP3Play"}));
  EXPECT_FALSE(rig.media.mp3.open);
  EXPECT_TRUE(rig.sound.calls.empty());
}

TEST(SaverMusic, WavLoopsUntilTheEndWithoutTheMediaDevice) {
  MusicSaverRig rig(2, "C:\\Sounds\\rain.wav");
  rig.Start();
  rig.RunUntil(3000);
  EXPECT_EQ(rig.sound.calls, std::vector<std::string>{"PlayLooping C:\\Sounds\\rain.wav"});
  rig.host.MouseDownAt(3100);
  rig.RunUntil(4000);
  EXPECT_TRUE(rig.saver.Ended());
  EXPECT_EQ(rig.sound.calls,
            (std::vector<std::string>{"PlayLooping C:\\Sounds\\rain.wav", "Stop"}));
  EXPECT_TRUE(rig.media.commands.empty());
}

TEST(SaverMusic, CdWatchEndsWithTheDriveAndLeavesItAloneAtTheEnd) {
  MusicSaverRig rig(1);
  rig.Start();
  EXPECT_EQ(rig.Sent(), (Commands{"open cdaudio", "set cdaudio time format tmst"}));

  rig.RunUntil(199);
  EXPECT_TRUE(rig.Sent().empty());
  rig.RunUntil(200);
  Commands firstStep = kCdWatch;
  firstStep.push_back("play cdaudio");
  EXPECT_EQ(rig.Sent(), firstStep);
  rig.RunUntil(400);
  EXPECT_EQ(rig.Sent(), kCdWatch);

  // The disc is taken out: the next step fails and the watching ends.
  rig.media.cd.tracks = 0;
  rig.RunUntil(600);
  EXPECT_EQ(rig.Sent(), Commands{"status cdaudio current track"});
  EXPECT_FALSE(rig.saver.Timer2.Enabled());
  rig.media.cd.tracks = 8;
  rig.RunUntil(2000);
  EXPECT_TRUE(rig.Sent().empty());

  rig.host.KeyDownAt(2100, kEscape);
  rig.RunUntil(3000);
  EXPECT_TRUE(rig.saver.Ended());
  EXPECT_TRUE(rig.Sent().empty());
}

TEST(SaverMusic, CdIsStoppedAndClosedWhileItIsWatched) {
  MusicSaverRig rig(1);
  rig.state.settings.BgmRepeatTrack = 2;
  rig.Start();
  rig.RunUntil(400);
  EXPECT_EQ(rig.media.cd.currentTrack, 2);
  rig.Sent();

  // The arrow skips a track and the saver runs on; the watch brings the
  // repeat track back.
  rig.host.KeyDownAt(500, kRightArrow);
  rig.RunUntil(500);
  EXPECT_EQ(rig.Sent(), (Commands{"status cdaudio current track", "status cdaudio position track 3",
                                  "play cdaudio from 08:02:00"}));
  EXPECT_FALSE(rig.saver.Ended());
  rig.RunUntil(600);
  Commands back = kCdWatch;
  back.insert(back.end(), {"status cdaudio position track 2", "play cdaudio from 04:02:00"});
  EXPECT_EQ(rig.Sent(), back);

  rig.host.KeyDownAt(700, kEscape);
  rig.RunUntil(1000);
  EXPECT_TRUE(rig.saver.Ended());
  EXPECT_EQ(rig.Sent(), (Commands{"stop cdaudio", "close cdaudio"}));
  EXPECT_FALSE(rig.saver.Timer2.Enabled());
  EXPECT_FALSE(rig.media.cd.open);
}

}  // namespace
}  // namespace orvel
