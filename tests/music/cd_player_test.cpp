#include "music/cd_player.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "music/mci_channel.h"
#include "platform/headless/scripted_media.h"
#include "settings/saver_settings.h"

namespace orvel {
namespace {

using Commands = std::vector<std::string>;

const Commands kWatchQueries = {"status cdaudio current track", "status cdaudio number of tracks",
                                "status cdaudio mode"};

Commands WatchQueriesThen(const Commands& more) {
  Commands all = kWatchQueries;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

// A drive with an eight-track disc, already opened.
struct CdRig {
  CdRig() {
    cd.CdOpen();
    media.commands.clear();
  }
  // The commands sent since the last call.
  Commands Sent() {
    Commands sent = media.commands;
    media.commands.clear();
    return sent;
  }

  ScriptedMedia media;
  MciChannel channel{media};
  SaverSettings settings;
  CdPlayer cd{channel, settings};
};

TEST(CdPlayer, OpensWithTheTimeFormatTheDriveRefusesAndCloses) {
  ScriptedMedia media;
  MciChannel channel(media);
  SaverSettings settings;
  CdPlayer cd(channel, settings);
  cd.CdOpen();
  cd.CdClose();
  EXPECT_EQ(media.commands, (Commands{"open cdaudio", "set cdaudio time format tmst",
                                      "stop cdaudio", "close cdaudio"}));
  EXPECT_FALSE(media.cd.open);
}

TEST(CdPlayer, WatchingEndsWhenTheDriveDoesNotAnswer) {
  // No drive at all, and a drive without a disc: the first query fails.
  for (bool noDrive : {true, false}) {
    CdRig rig;
    if (noDrive) {
      rig.media.cd.present = false;
    } else {
      rig.media.cd.tracks = 0;
    }
    rig.cd.CdWatch();
    EXPECT_FALSE(rig.cd.CdWatchOk());
    EXPECT_EQ(rig.Sent(), Commands{"status cdaudio current track"});
  }

  // The track count fails.
  CdRig rig;
  rig.media.script["status cdaudio number of tracks"] = {276, ""};
  rig.cd.CdWatch();
  EXPECT_FALSE(rig.cd.CdWatchOk());
  EXPECT_EQ(rig.Sent(),
            (Commands{"status cdaudio current track", "status cdaudio number of tracks"}));

  // A reply that merely reads "err" in any case counts as a failure too.
  rig.media.script.clear();
  rig.media.script["status cdaudio current track"] = {0, "terrible"};
  rig.cd.CdWatch();
  EXPECT_FALSE(rig.cd.CdWatchOk());
  EXPECT_EQ(rig.Sent(), Commands{"status cdaudio current track"});

  // A later step that finds the drive answering again says so.
  rig.media.script.clear();
  rig.cd.CdWatch();
  EXPECT_TRUE(rig.cd.CdWatchOk());
}

TEST(CdPlayer, PlaysTheDiscOnWheneverItStops) {
  CdRig rig;
  rig.cd.CdWatch();
  EXPECT_TRUE(rig.cd.CdWatchOk());
  EXPECT_EQ(rig.Sent(), WatchQueriesThen({"play cdaudio"}));
  EXPECT_EQ(rig.media.cd.mode, "playing");

  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(), kWatchQueries);

  // The disc reaches its end.
  rig.media.cd.currentTrack = 8;
  rig.media.cd.mode = "stopped";
  rig.cd.CdWatch();
  EXPECT_TRUE(rig.cd.CdWatchOk());
  EXPECT_EQ(rig.Sent(), WatchQueriesThen({"play cdaudio"}));

  // Only exactly "stopped" in the first seven characters restarts it.
  for (const char* mode : {"paused", "Stopped", "stoppe", " stopped", "open", "not ready"}) {
    rig.media.script["status cdaudio mode"] = {0, mode};
    rig.cd.CdWatch();
    EXPECT_EQ(rig.Sent(), kWatchQueries) << mode;
  }
  rig.media.script["status cdaudio mode"] = {0, "stopped, really"};
  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(), WatchQueriesThen({"play cdaudio"}));

  // The current track need not read as a number when no track repeats.
  rig.media.script["status cdaudio current track"] = {0, "4a"};
  rig.cd.CdWatch();
  EXPECT_TRUE(rig.cd.CdWatchOk());
}

TEST(CdPlayer, BringsTheRepeatTrackBack) {
  CdRig rig;
  rig.settings.BgmRepeatTrack = 3;
  rig.media.cd.currentTrack = 5;
  rig.media.cd.mode = "playing";

  rig.cd.CdWatch();
  EXPECT_TRUE(rig.cd.CdWatchOk());
  EXPECT_EQ(rig.Sent(),
            WatchQueriesThen({"status cdaudio position track 3", "play cdaudio from 08:02:00"}));
  EXPECT_EQ(rig.media.cd.currentTrack, 3);

  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(), kWatchQueries);

  // Right arrow: on to track 4, and the next step brings track 3 back.
  rig.cd.CdNextTrack();
  EXPECT_EQ(rig.Sent(), (Commands{"status cdaudio current track", "status cdaudio position track 4",
                                  "play cdaudio from 12:02:00"}));
  EXPECT_EQ(rig.media.cd.currentTrack, 4);
  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(),
            WatchQueriesThen({"status cdaudio position track 3", "play cdaudio from 08:02:00"}));
  EXPECT_EQ(rig.media.cd.currentTrack, 3);

  // Stopped on the repeat track itself: from its start again.
  rig.media.cd.mode = "stopped";
  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(),
            WatchQueriesThen({"status cdaudio position track 3", "play cdaudio from 08:02:00"}));
  EXPECT_EQ(rig.media.cd.mode, "playing");

  // The track is compared as a number.
  rig.media.script["status cdaudio current track"] = {0, " 3 "};
  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(), kWatchQueries);

  // A track that does not read as a number ends the watching, even while
  // the disc is stopped.
  rig.media.script["status cdaudio current track"] = {0, "3a"};
  rig.media.cd.mode = "stopped";
  rig.cd.CdWatch();
  EXPECT_FALSE(rig.cd.CdWatchOk());
  EXPECT_EQ(rig.Sent(), kWatchQueries);
}

TEST(CdPlayer, RepeatTrackBeyondTheDiscKeepsFailingButWatchingGoesOn) {
  CdRig rig;
  rig.settings.BgmRepeatTrack = 12;
  for (int step = 0; step < 2; ++step) {
    rig.cd.CdWatch();
    EXPECT_TRUE(rig.cd.CdWatchOk());
    EXPECT_EQ(rig.Sent(), WatchQueriesThen(
                              {"status cdaudio position track 12", "play cdaudio from Error:282"}));
    EXPECT_EQ(rig.media.cd.mode, "stopped");
  }
}

TEST(CdPlayer, SkipsGoToTheNeighbouringTrackAndStopAtTheEnds) {
  CdRig rig;
  rig.media.cd.currentTrack = 5;
  rig.media.cd.mode = "playing";
  rig.cd.CdPreviousTrack();
  EXPECT_EQ(rig.Sent(), (Commands{"status cdaudio current track", "status cdaudio position track 4",
                                  "play cdaudio from 12:02:00"}));
  EXPECT_EQ(rig.media.cd.currentTrack, 4);

  // Left on track 1 and Right on the last track change nothing.
  rig.media.cd.currentTrack = 1;
  rig.cd.CdPreviousTrack();
  EXPECT_EQ(rig.Sent(), (Commands{"status cdaudio current track", "status cdaudio position track 0",
                                  "play cdaudio from Error:282"}));
  EXPECT_EQ(rig.media.cd.currentTrack, 1);
  rig.media.cd.currentTrack = 8;
  rig.cd.CdNextTrack();
  EXPECT_EQ(rig.Sent(), (Commands{"status cdaudio current track", "status cdaudio position track 9",
                                  "play cdaudio from Error:282"}));
  EXPECT_EQ(rig.media.cd.currentTrack, 8);
  EXPECT_EQ(rig.media.cd.mode, "playing");

  // The track is the leading number of the reply, ties to even; anything
  // else, a failed query included, counts as track 0.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {" 4.5 of 8", "5"}, {"5.5", "7"}, {"6abc", "7"}, {"abc", "1"}, {"70000", "1"}};
  for (const auto& [reply, asked] : cases) {
    rig.media.script["status cdaudio current track"] = {0, reply};
    rig.cd.CdNextTrack();
    EXPECT_EQ(rig.Sent().at(1), "status cdaudio position track " + asked) << reply;
  }
  rig.media.cd.present = false;
  rig.media.script.clear();
  rig.cd.CdPreviousTrack();
  EXPECT_EQ(rig.Sent(),
            (Commands{"status cdaudio current track", "status cdaudio position track -1",
                      "play cdaudio from Error:263"}));
}

}  // namespace
}  // namespace orvel
