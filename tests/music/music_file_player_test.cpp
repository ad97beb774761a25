#include "music/music_file_player.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "music/mci_channel.h"
#include "music/wav_player.h"
#include "platform/headless/scripted_media.h"
#include "settings/saver_settings.h"

namespace orvel {
namespace {

using Commands = std::vector<std::string>;

const Commands kRestart = {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"};

struct Mp3Rig {
  explicit Mp3Rig(const std::string& file, bool exists = true) {
    settings.BgmFile = file;
    if (exists) media.mp3.playableFiles.insert(file);
  }
  Commands Sent() {
    Commands sent = media.commands;
    media.commands.clear();
    return sent;
  }

  ScriptedMedia media;
  MciChannel channel{media};
  SaverSettings settings;
  MusicFilePlayer player{channel, settings};
};

TEST(MusicFilePlayer, PlaysTheFileAgainWheneverItIsNotPlaying) {
  Mp3Rig rig("C:\\Music\\song.mp3");
  rig.player.Mp3Start();
  EXPECT_EQ(rig.Sent(), (Commands{"open \"C:\\Music\\song.mp3\" type MPEGVideo Alias MP3Play",
                                  "play MP3Play"}));
  EXPECT_TRUE(rig.player.Mp3IsPlaying());
  rig.Sent();

  rig.player.Mp3KeepLooping();
  EXPECT_EQ(rig.Sent(), Commands{"status MP3Play mode"});

  // The file ends, or someone pauses it: from the beginning again.
  for (const char* mode : {"stopped", "paused"}) {
    rig.media.mp3.mode = mode;
    EXPECT_FALSE(rig.player.Mp3IsPlaying());
    rig.Sent();
    rig.player.Mp3KeepLooping();
    EXPECT_EQ(rig.Sent(), kRestart) << mode;
    EXPECT_EQ(rig.media.mp3.mode, "playing");
  }

  // Only "playing" in the first seven characters counts.
  for (const char* mode : {"Playing", "playin", "seeking"}) {
    rig.media.script["status MP3Play mode"] = {0, mode};
    rig.player.Mp3KeepLooping();
    EXPECT_EQ(rig.Sent(), kRestart) << mode;
  }
  rig.media.script["status MP3Play mode"] = {0, "playing back"};
  rig.player.Mp3KeepLooping();
  EXPECT_EQ(rig.Sent(), Commands{"status MP3Play mode"});

  rig.player.Mp3Stop();
  EXPECT_EQ(rig.Sent(), (Commands{"stop MP3Play", "close MP3Play"}));
  EXPECT_FALSE(rig.media.mp3.open);
}

TEST(MusicFilePlayer, QuotesTheWholePathHoweverLong) {
  const std::string folder = "C:\\Users\\Some One\\My Music\\";
  const std::string file = folder + std::string(240, 'x') + " (live).Mp3";
  Mp3Rig rig(file);
  rig.player.Mp3Start();
  const Commands sent = rig.Sent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], "open \"" + file + "\" type MPEGVideo Alias MP3Play");
  EXPECT_GT(sent[0].size(), 255u);
  EXPECT_EQ(sent[1], "play MP3Play");
  EXPECT_EQ(rig.media.mp3.file, file);
}

TEST(MusicFilePlayer, FileThatDoesNotOpenStaysSilent) {
  for (const std::string file : {"C:\\Music\\gone.mp3", ""}) {
    Mp3Rig rig(file, false);
    rig.player.Mp3Start();
    EXPECT_EQ(rig.Sent(), Commands{"open \"" + file + "\" type MPEGVideo Alias MP3Play"});
    // Every tick still tries, and fails, to play it again.
    for (int tick = 0; tick < 2; ++tick) {
      rig.player.Mp3KeepLooping();
      EXPECT_EQ(rig.Sent(), kRestart);
    }
    EXPECT_FALSE(rig.media.mp3.open);
  }

  // A name with a double quote cannot be put in the command at all.
  Mp3Rig quoted("/home/me/say \"hi\".mp3");
  quoted.player.Mp3Start();
  EXPECT_TRUE(quoted.Sent().empty());
  quoted.player.Mp3KeepLooping();
  EXPECT_EQ(quoted.Sent(), kRestart);
}

TEST(WavPlayer, LoopsTheFileOnlyWhereThereIsAnOutput) {
  SaverSettings settings;
  settings.BgmFile = "C:\\Sounds\\rain fall.WAV";
  for (int outputs : {0, -1}) {
    RecordingSoundPlayer sound;
    sound.outputs = outputs;
    WavPlayer wav(sound, settings);
    wav.WavStart();
    wav.WavStop();
    EXPECT_EQ(sound.calls, std::vector<std::string>{"Stop"}) << outputs;
  }

  RecordingSoundPlayer sound;
  sound.outputs = 2;
  WavPlayer wav(sound, settings);
  wav.WavStart();
  wav.WavStop();
  EXPECT_EQ(sound.calls,
            (std::vector<std::string>{"PlayLooping C:\\Sounds\\rain fall.WAV", "Stop"}));
}

}  // namespace
}  // namespace orvel
