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

// An eight-track disc (track n at 4(n-1) minutes and a 2 s lead-in), opened and playing `track`.
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

  // Left on track 1: the drive refuses track 0, and the play that carries its refusal.
  rig.media.cd.currentTrack = 1;
  rig.cd.CdPreviousTrack();
  EXPECT_EQ(rig.Sent(), (Commands{"status cdaudio current track", "status cdaudio position track 0",
                                  "play cdaudio from Error:282"}));
}

TEST(CdPlayer, OnlyAReplyOfExactlyStoppedPlaysTheDiscAgain) {
  CdRig rig(2);
  // Only the first seven characters count.
  for (const char* mode :
       {"STOPPED", "Stopped", "stoppe", "paused", "seeking", "open", "stopped at the end"}) {
    rig.media.cd.mode = mode;
    rig.cd.CdWatch();
    EXPECT_TRUE(rig.cd.CdWatchOk()) << mode;
    EXPECT_EQ(rig.Sent(),
              std::string_view(mode) == "stopped at the end" ? Watch({"play cdaudio"}) : Watch())
        << mode;
  }

  rig.settings.BgmRepeatTrack = 2;
  rig.media.cd.mode = "Stopped";
  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(), Watch());
  rig.media.cd.mode = "stopped";
  rig.cd.CdWatch();
  EXPECT_EQ(rig.Sent(), Watch({"status cdaudio position track 2", "play cdaudio from 04:02:00"}));
}

TEST(CdPlayer, WatchingEndsWithoutADriveWhenTheCountFailsOrTheTrackIsNoNumber) {
  CdRig none(8);
  none.media.cd.present = false;
  none.cd.CdWatch();
  EXPECT_FALSE(none.cd.CdWatchOk());
  EXPECT_EQ(none.Sent(), Commands{"status cdaudio current track"});
  // The track count fails: nothing more is asked.
  CdRig count(3);
  count.media.script["status cdaudio number of tracks"] = {ScriptedError::NotReady, ""};
  count.cd.CdWatch();
  EXPECT_FALSE(count.cd.CdWatchOk());
  EXPECT_EQ(count.Sent(),
            (Commands{"status cdaudio current track", "status cdaudio number of tracks"}));

  // A current track that is no number ends the watch of a repeated track, not of the disc.
  for (const char* reply : {"three", "", "3 of 8"}) {
    CdRig rig(3);
    rig.media.script["status cdaudio current track"] = {0, reply};
    rig.media.cd.mode = "stopped";
    rig.cd.CdWatch();
    EXPECT_TRUE(rig.cd.CdWatchOk()) << reply;
    EXPECT_EQ(rig.Sent(), Watch({"play cdaudio"})) << reply;
    rig.settings.BgmRepeatTrack = 3;
    rig.cd.CdWatch();
    EXPECT_FALSE(rig.cd.CdWatchOk()) << reply;
    EXPECT_EQ(rig.Sent(), Watch()) << reply;
  }
  // A number in another spelling is still the repeat track.
  CdRig spelled(3);
  spelled.settings.BgmRepeatTrack = 3;
  spelled.media.script["status cdaudio current track"] = {0, " 3.0 "};
  spelled.cd.CdWatch();
  EXPECT_TRUE(spelled.cd.CdWatchOk());
  EXPECT_EQ(spelled.Sent(), Watch());
}

TEST(CdPlayer, ARepeatTrackBeyondTheDiscFailsEveryStepButKeepsWatching) {
  CdRig rig(2);
  rig.settings.BgmRepeatTrack = 12;
  for (int step = 0; step < 2; ++step) {
    rig.cd.CdWatch();
    EXPECT_TRUE(rig.cd.CdWatchOk());
    EXPECT_EQ(rig.Sent(),
              Watch({"status cdaudio position track 12", "play cdaudio from Error:282"}));
  }
}

TEST(CdPlayer, SkipsReadTheLeadingNumberOfTheTrackAsSixteenBits) {
  // The reply, and the track the skip asks for (4.5 ties to even; 32768 is beyond 16 bits: 0).
  const std::pair<const char*, const char*> cases[] = {
      {"5", "6"},           {" 4.5 of 8", "5"}, {"5.5", "7"},   {"32766", "32767"},
      {"32767.4", "32768"}, {"32767.5", "1"},   {"40000", "1"}, {"-32768", "-32767"},
      {"-32769", "1"},      {"none", "1"},      {"", "1"}};
  for (const auto& [reply, next] : cases) {
    CdRig rig(1);
    rig.media.script["status cdaudio current track"] = {0, reply};
    rig.cd.CdNextTrack();
    EXPECT_EQ(rig.Sent().at(1), std::string("status cdaudio position track ") + next) << reply;
  }
}

TEST(MciChannel, AnEmptyCommandIsNotSentAndFailuresKeepTheirCodeWithTheText) {
  CdRig rig(1);
  std::string output;
  EXPECT_EQ(rig.channel.MciSend("", output), -1);
  EXPECT_EQ(output, "コマンド文字列が指定されていません");
  EXPECT_EQ(rig.channel.MciStatus(""), "Error:-1");
  EXPECT_TRUE(rig.Sent().empty());
  // Failures keep their code, with the platform's text or, for a code it has none for, the
  // fallback.
  EXPECT_EQ(rig.channel.MciSend("play nothing", output), ScriptedError::NoDevice);
  EXPECT_EQ(output, "no such device, or it is not open");
  rig.media.script["status cdaudio length"] = {4711, "ignored"};
  EXPECT_EQ(rig.channel.MciSend("status cdaudio length", output), 4711);
  EXPECT_EQ(output, "Error (文字列が取れません)");
  EXPECT_EQ(rig.channel.MciStatus("status cdaudio length"), "Error:4711");
  EXPECT_EQ(rig.channel.MciPlay("cdaudio", "", "00:02:00"), ScriptedError::UnknownCommand);
  // An error text longer than its buffer keeps 255 characters.
  rig.media.errorTexts[4711] = std::string(300, 'e');
  rig.channel.MciSend("status cdaudio length", output);
  EXPECT_EQ(output, std::string(255, 'e'));
}

TEST(MciChannel, RepliesEndAtTheirFirstNulAndKeepAtMost511Characters) {
  CdRig rig(1);
  std::string output;
  const std::string kana = "あ";  // one character, three bytes
  const std::pair<std::string, std::string> cases[] = {
      {std::string(600, 'x'), std::string(511, 'x')},
      {std::string(511, 'y'), std::string(511, 'y')},
      {std::string(510, 'z') + kana + "z", std::string(510, 'z') + kana},
      {std::string("12\0 34", 6), "12"},
  };
  for (const auto& [reply, kept] : cases) {
    rig.media.script["status cdaudio media identity"] = {0, reply};
    EXPECT_EQ(rig.channel.MciSend("status cdaudio media identity", output), 0);
    EXPECT_EQ(output, kept);
    EXPECT_EQ(rig.channel.MciStatus("status cdaudio media identity"), kept);
  }
  // A query sent directly keeps what its own buffer holds.
  EXPECT_EQ(rig.channel.QueryDirect("status cdaudio media identity", 4), "12");
  rig.media.script["status cdaudio media identity"] = {0, "abcdef"};
  EXPECT_EQ(rig.channel.QueryDirect("status cdaudio media identity", 4), "abc");
  EXPECT_EQ(rig.channel.QueryDirect("status cdaudio media identity", 0), "");
}

}  // namespace
}  // namespace orvel
