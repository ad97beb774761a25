#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
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

// The real saver, its music going to a scripted media device and a recording sound player.
struct MusicSaverRig {
  explicit MusicSaverRig(int bgmKind, const std::string& bgmFile = "") {
    state.settings.BgmKind = static_cast<std::int16_t>(bgmKind);
    state.settings.BgmFile = bgmFile;
  }
  Commands Sent() { return std::exchange(media.commands, {}); }

  HeadlessPlatform platform;
  HeadlessSaverHost host{platform.clock, platform.log, 32, 24};
  MemoryPictureLoader pictures;
  ScriptedMedia media;
  RecordingSoundPlayer sound;
  AppState state;
  MciMusic music{state.settings, media, sound};
  Saver saver{state, SaverServices{host, pictures, music, platform.clock, platform.system}, ""};
};

TEST(SaverMusic, Mp3IsPlayedAgainAtItsEndAndClosedByEndSaverUnlessItFailedToOpen) {
  MusicSaverRig rig(2, "C:\\My Music\\Night Walk.MP3");
  rig.media.mp3.playableFiles.insert(rig.state.settings.BgmFile);
  rig.saver.Form_Load();
  EXPECT_EQ(rig.Sent(),
            (Commands{"open \"C:\\My Music\\Night Walk.MP3\" type MPEGVideo Alias MP3Play",
                      "play MP3Play"}));
  rig.media.mp3.mode = "stopped";  // the file ends
  rig.saver.Timer1_Timer();
  EXPECT_EQ(rig.Sent(), (Commands{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
  rig.saver.EndSaver();
  EXPECT_EQ(rig.Sent(), (Commands{"stop MP3Play", "close MP3Play"}));

  // A file that does not open is not played.
  MusicSaverRig gone(2, "C:\\Music\\gone.mp3");
  gone.saver.Form_Load();
  EXPECT_EQ(gone.Sent(), Commands{"open \"C:\\Music\\gone.mp3\" type MPEGVideo Alias MP3Play"});
}

TEST(SaverMusic, WavLoopsOnlyWhereThereIsAnOutput) {
  for (int outputs : {-1, 0, 1, 2}) {
    MusicSaverRig rig(2, "C:\\Sounds\\rain fall.WAV");
    rig.sound.outputs = outputs;
    rig.saver.Form_Load();
    rig.saver.EndSaver();
    const Commands played = {"PlayLooping C:\\Sounds\\rain fall.WAV", "Stop"};
    EXPECT_EQ(rig.sound.calls, outputs > 0 ? played : Commands{"Stop"}) << outputs;
  }
}

TEST(SaverMusic, EndSaverStopsAndClosesTheCdOnlyWhileItIsWatched) {
  for (bool discTakenOut : {false, true}) {
    MusicSaverRig rig(1);
    rig.saver.Form_Load();
    EXPECT_EQ(rig.Sent(), (Commands{"open cdaudio", "set cdaudio time format tmst"}));
    if (discTakenOut) rig.media.cd.tracks = 0;
    rig.saver.Timer2_Timer();
    EXPECT_EQ(rig.saver.Timer2.Enabled(), !discTakenOut);
    rig.Sent();
    rig.saver.EndSaver();
    EXPECT_EQ(rig.Sent(), discTakenOut ? Commands{} : (Commands{"stop cdaudio", "close cdaudio"}))
        << discTakenOut;
  }
}

}  // namespace
}  // namespace orvel
