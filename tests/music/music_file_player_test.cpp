#include "music/music_file_player.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "music/mci_channel.h"
#include "platform/headless/scripted_media.h"
#include "settings/saver_settings.h"

namespace orvel {
namespace {

using Commands = std::vector<std::string>;

TEST(MusicFilePlayer, OnlyAModeThatBeginsWithPlayingInThisCaseKeepsTheFileGoing) {
  ScriptedMedia media;
  MciChannel channel(media);
  SaverSettings settings;
  settings.BgmFile = "/music/song.mp3";
  MusicFilePlayer player(channel, settings);
  media.mp3.playableFiles.insert(settings.BgmFile);
  player.Mp3Start();
  media.commands.clear();

  const Commands again = {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"};
  // Only the first seven characters count.
  const std::pair<const char*, bool> modes[] = {
      {"playing", false}, {"playing forward", false}, {"Playing", true}, {"PLAYING", true},
      {"playin", true},   {"paused", true},           {"stopped", true}};
  for (const auto& [mode, restarted] : modes) {
    media.script["status MP3Play mode"] = {0, mode};
    player.Mp3KeepLooping();
    EXPECT_EQ(std::exchange(media.commands, {}), restarted ? again : Commands{again.front()})
        << mode;
  }
}

}  // namespace
}  // namespace orvel
