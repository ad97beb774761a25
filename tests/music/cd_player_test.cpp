#include "music/cd_player.h"

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

// The three queries of a watch step, then `more`.
Commands Watch(const Commands& more = {}) {
  Commands all = {"status cdaudio current track", "status cdaudio number of tracks",
                  "status cdaudio mode"};
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

// A drive with an eight-track disc (track n starts at 4(n-1) minutes plus a
// 2 s lead-in), opened and playing `track`.
struct CdRig {
  explicit CdRig(int track) {
    cd.CdOpen();
    media.cd.currentTrack = track;
    media.cd.mode = "playing";
    media.commands.clear();
  }
  // The commands sent since the last call.
  Commands Sent() { return std::exchange(media.commands, {}); }

  ScriptedMedia media;
  MciChannel channel{media};
  SaverSettings settings;
  CdPlayer cd{channel, settings};
};

TEST(CdPlayer, PlaysTheDiscAgainAtItsEndAndStopsWatchingWithoutADrive) {
  CdRig rig(8);
  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(), Watch());
  rig.media.cd.mode = "stopped";  // the end of the disc
  rig.cd.CdWatch();
  EXPECT_TRUE(rig.cd.CdWatchOk());
  EXPECT_EQ(rig.Sent(), Watch({"play cdaudio"}));

  rig.media.cd.present = false;
  rig.cd.CdWatch();
  EXPECT_FALSE(rig.cd.CdWatchOk());
  EXPECT_EQ(rig.Sent(), Commands{"status cdaudio current track"});
}

TEST(CdPlayer, RepeatTrackComesBackAfterASkipAndLeftOnTrackOneChangesNothing) {
  CdRig rig(5);
  rig.settings.BgmRepeatTrack = 3;
  const Commands back = Watch({"status cdaudio position track 3", "play cdaudio from 08:02:00"});
  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(), back);
  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(), Watch());

  rig.cd.CdNextTrack();  // Right arrow
  EXPECT_EQ(rig.Sent(), (Commands{"status cdaudio current track", "status cdaudio position track 4",
                                  "play cdaudio from 12:02:00"}));
  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(), back);

  // Left on track 1: the drive refuses track 0, and the play that carries
  // its refusal.
  rig.media.cd.currentTrack = 1;
  rig.cd.CdPreviousTrack();
  EXPECT_EQ(rig.Sent(), (Commands{"status cdaudio current track", "status cdaudio position track 0",
                                  "play cdaudio from Error:282"}));
}

TEST(MciChannel, EmptyCommandIsNotSent) {
  CdRig rig(1);
  std::string output;
  EXPECT_EQ(rig.channel.MciSend("", output), -1);
  EXPECT_EQ(output, "コマンド文字列が指定されていません");
  EXPECT_EQ(rig.channel.MciStatus(""), "Error:-1");
  EXPECT_TRUE(rig.Sent().empty());
}

}  // namespace
}  // namespace orvel
