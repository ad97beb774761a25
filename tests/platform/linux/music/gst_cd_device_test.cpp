// The "cdaudio" device on disc images, also ones that change under it.
#include "platform/linux/music/gst_cd_device.h"

#include <gtest/gtest.h>

#include <array>

#include "music/cd_player.h"
#include "music/mci_channel.h"
#include "platform/linux/music/gst_media_fixture.h"
#include "platform/linux/music/mci_command.h"
#include "settings/saver_settings.h"

namespace orvel {
namespace {

TEST_F(GstMediaControlTest, CdPlaysFromTheTrackPositionsItReplies) {
  Device(MakeDisc());
  ASSERT_EQ(Code("open cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "5");
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Ask("status cdaudio position track 3"), "00:06:00");

  EXPECT_EQ(Code("set cdaudio time format tmst"), MciError::BadTimeFormat);
  EXPECT_EQ(Ask("status cdaudio position track 3"), "00:06:00");

  for (const char* format : {"msf", "tmsf", "milliseconds"}) {
    Ask(std::string("set cdaudio time format ") + format);
    for (const char* track : {"4", "2"}) {
      ASSERT_EQ(PlayTrack(track), 0);
      EXPECT_EQ(Ask("status cdaudio current track"), track) << format;
      EXPECT_EQ(Ask("status cdaudio mode"), "playing") << format;
    }
  }
  EXPECT_EQ(Code("stop cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Code("set cdaudio time format msf"), 0);
  EXPECT_EQ(Code("play cdaudio from 99:00:00"), MciError::OutOfRange);
  EXPECT_EQ(Code("status cdaudio position track 6"), MciError::OutOfRange);
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
}

TEST_F(GstMediaControlTest, CdPlaysTheLastTrackToTheEndOfTheDiscAndThenFromTheFirst) {
  Device(MakeDisc(), true);
  ASSERT_EQ(Code("open cdaudio"), 0);
  ASSERT_EQ(PlayTrack("5"), 0);
  ASSERT_TRUE(WaitFor([&] { return Ask("status cdaudio mode") == "stopped"; }));
  EXPECT_EQ(Ask("status cdaudio current track"), "5");
  const std::size_t ended = HeardSamples(Heard());

  ASSERT_EQ(Code("play cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio current track"), "1");
  ASSERT_TRUE(WaitFor([&] { return HeardSamples(Heard()) > ended + kSecond / 2; }));
  ASSERT_EQ(Code("close cdaudio"), 0);

  std::vector<std::int16_t> left = ReadLeft(Heard());
  EXPECT_NEAR(Seconds(ended), 2, 0.02);
  const double tone = ToneOfTrack(5);
  for (std::size_t first : {std::size_t{0}, ended / 2, ended - 4410}) {
    EXPECT_NEAR(ToneHz(left, first), tone, 0.03 * tone) << first;
  }
  EXPECT_NEAR(ToneHz(left, ended + 441), ToneOfTrack(1), 0.03 * ToneOfTrack(1));
}

TEST_F(GstMediaControlTest, CdStoppedGoesOnWhereItStoppedOrOnAnotherDiscWithItsPositions) {
  Device(MakeDisc(), true);
  ASSERT_EQ(Code("open cdaudio"), 0);
  ASSERT_EQ(PlayTrack("2"), 0);
  ASSERT_TRUE(WaitFor([&] { return HeardSamples(Heard()) > kSecond; }));
  ASSERT_EQ(Code("stop cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Ask("status cdaudio current track"), "2");
  const std::size_t stopped = HeardSamples(Heard());
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(HeardSamples(Heard()), stopped);

  ASSERT_EQ(Code("play cdaudio"), 0);
  ASSERT_TRUE(WaitFor([&] { return Ask("status cdaudio current track") == "3"; }));
  ASSERT_TRUE(WaitFor([&] { return HeardSamples(Heard()) > 5 * kSecond / 2; }));
  ASSERT_EQ(Code("stop cdaudio"), 0);
  const std::size_t changed = HeardSamples(Heard());

  ChangeDisc({{true, 1, 2000}, {true, 1, 2500}, {true, 1, 3000}});
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "3");
  EXPECT_EQ(Ask("status cdaudio current track"), "1");  // a new disc starts at its beginning
  EXPECT_EQ(Ask("status cdaudio position track 3"), "00:04:00");
  ASSERT_EQ(PlayTrack("2"), 0);
  EXPECT_EQ(Ask("status cdaudio current track"), "2");
  ASSERT_TRUE(WaitFor([&] { return Ask("status cdaudio mode") == "stopped"; }));
  ASSERT_EQ(Code("close cdaudio"), 0);

  // Track 2's two seconds in all, across the stop; then the other disc's last two.
  std::vector<std::int16_t> left = ReadLeft(Heard());
  EXPECT_NEAR(FirstOfTone(left, ToneOfTrack(3)), 2, 0.1);
  EXPECT_NEAR(ToneHz(left, stopped + 441), ToneOfTrack(2), 0.03 * ToneOfTrack(2));
  EXPECT_NEAR(Seconds(left.size() - changed), 2, 0.05);
  EXPECT_NEAR(ToneHz(left, changed + 441), 2500, 75);
  EXPECT_NEAR(ToneHz(left, left.size() - 4410), 3000, 90);
}

TEST_F(GstMediaControlTest, CdPlaysToTheGivenEnd) {
  Device(MakeDisc(), true);
  ASSERT_EQ(Code("open cdaudio"), 0);
  EXPECT_EQ(Code("play cdaudio from 00:06:00 to 00:06:00"), MciError::OutOfRange);
  EXPECT_EQ(Code("play cdaudio from 00:06:00 to 00:04:00"), MciError::OutOfRange);
  ASSERT_EQ(Code("play cdaudio from 00:06:00 to 00:06:37"), 0);
  EXPECT_EQ(Ask("status cdaudio current track"), "3");
  ASSERT_TRUE(WaitFor([&] { return Ask("status cdaudio mode") == "stopped"; }));
  EXPECT_EQ(Ask("status cdaudio current track"), "3");
  ASSERT_EQ(Code("close cdaudio"), 0);
  std::vector<std::int16_t> left = ReadLeft(Heard());
  EXPECT_NEAR(Seconds(left.size()), 37 / 75.0, 0.02);
  EXPECT_NEAR(ToneHz(left, 0), ToneOfTrack(3), 0.03 * ToneOfTrack(3));
}

TEST_F(GstMediaControlTest, CdMixedModeDiscPlaysOnlyItsAudioTracks) {
  // Data tracks first, as on discs with programs, and between the audio ones.
  Device(MakeDisc({{false, 1}, {true, 1, 700}, {false, 1}, {true, 1, 1100}}), true);
  ASSERT_EQ(Code("open cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "4");
  EXPECT_EQ(Ask("status cdaudio position track 2"), "00:03:00");
  for (const char* data : {"1", "3"}) EXPECT_EQ(PlayTrack(data), MciError::OutOfRange);
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");

  ASSERT_EQ(Code("play cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio current track"), "2");
  ASSERT_TRUE(WaitFor([&] { return Ask("status cdaudio mode") == "stopped"; }));
  const std::size_t first = HeardSamples(Heard());
  ASSERT_EQ(Code("play cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio current track"), "4");
  ASSERT_TRUE(WaitFor([&] { return Ask("status cdaudio mode") == "stopped"; }));
  ASSERT_EQ(Code("close cdaudio"), 0);
  std::vector<std::int16_t> left = ReadLeft(Heard());
  EXPECT_NEAR(Seconds(first), 1, 0.02);
  EXPECT_NEAR(Seconds(left.size()), 2, 0.04);
  EXPECT_NEAR(ToneHz(left, 0), 700, 21);
  EXPECT_NEAR(ToneHz(left, first - 4410), 700, 21);
  EXPECT_NEAR(ToneHz(left, first), 1100, 33);
  EXPECT_NEAR(ToneHz(left, left.size() - 4410), 1100, 33);
}

// Taking the disc out of a stopped drive ends the saver's watch.
TEST_F(GstMediaControlTest, CdWatchEndsWhenTheDiscIsTakenOutWhileStopped) {
  for (bool imageKept : {true, false}) {
    const std::string cue = MakeDisc();
    GstMediaControl media(GstMediaControl::Options{GstAudioOutput::RealTimeDiscard(), cue});
    MciChannel channel(media);
    SaverSettings settings;
    CdPlayer cd(channel, settings);
    cd.CdOpen();
    cd.CdWatch();
    ASSERT_TRUE(cd.CdWatchOk());
    std::string reply;
    ASSERT_EQ(media.Send("status cdaudio mode", reply), 0);
    EXPECT_EQ(reply, "playing");
    ASSERT_EQ(media.Send("stop cdaudio", reply), 0);

    fs::remove(root_ / "disc.bin");
    if (!imageKept) fs::remove(cue);
    int steps = 0;
    for (; steps < 5 && cd.CdWatchOk(); ++steps) cd.CdWatch();
    EXPECT_FALSE(cd.CdWatchOk()) << imageKept;
    EXPECT_LE(steps, 2) << imageKept;
    ASSERT_EQ(media.Send("status cdaudio mode", reply), 0);
    EXPECT_EQ(reply, "not ready") << imageKept;
    EXPECT_EQ(media.Send("status cdaudio current track", reply), MciError::DeviceNotReady);
  }
}

TEST_F(GstMediaControlTest, CdReadErrorMakesTheDeviceReadTheDiscAgain) {
  Device(MakeDisc());
  ASSERT_EQ(Code("open cdaudio"), 0);
  ASSERT_EQ(Code("play cdaudio"), 0);
  fs::resize_file(root_ / "disc.bin", 0);
  ASSERT_TRUE(WaitFor([&] { return Ask("status cdaudio mode") != "playing"; }));
  EXPECT_EQ(Ask("status cdaudio mode"), "not ready");
  EXPECT_EQ(Code("status cdaudio number of tracks"), MciError::DeviceNotReady);
}

// A drive whose tray may be open, counting the reads of its table of contents.
struct CountingDrive : CdDrive {
  CountingDrive(std::string path, bool trayOpen, int& reads)
      : CdDrive(std::move(path)), trayOpen_(trayOpen), reads_(reads) {}
  std::optional<CdToc> ReadToc() override {
    ++reads_;
    return CdDrive::ReadToc();
  }
  bool TrayOpen() override { return trayOpen_ || CdDrive::TrayOpen(); }
  bool trayOpen_;
  int& reads_;
};

TEST_F(GstMediaControlTest, CdDriveIsReadAgainOnlyWhenItHasAnotherDisc) {
  const std::string cue = MakeDisc();
  fs::resize_file(root_ / "disc.bin", 0);
  int reads = 0;
  GstCdDevice cd(std::make_unique<CountingDrive>(cue, false, reads),
                 GstAudioOutput::RealTimeDiscard());
  const auto watch = [&](const char* mode) {
    std::string reply;
    const std::array<std::string, 1> words = {"mode"};
    for (int step = 0; step < 50; ++step) {
      ASSERT_EQ(cd.Command("status", words, reply), 0);
      ASSERT_EQ(reply, mode);
    }
  };
  watch("not ready");
  EXPECT_EQ(reads, 1);

  ChangeDisc(FiveTrackDisc());
  watch("stopped");
  EXPECT_EQ(reads, 2);
}

// Without a disc, "not ready" unless the tray is open.
TEST_F(GstMediaControlTest, CdModeWithTheTrayOpenIsOpen) {
  int reads = 0;
  GstCdDevice cd(std::make_unique<CountingDrive>((root_ / "none.cue").string(), true, reads),
                 GstAudioOutput::RealTimeDiscard());
  std::string reply;
  const std::array<std::string, 1> mode = {"mode"};
  ASSERT_EQ(cd.Command("status", mode, reply), 0);
  EXPECT_EQ(reply, "open");
  const std::array<std::string, 2> current = {"current", "track"};
  EXPECT_EQ(cd.Command("status", current, reply), MciError::DeviceNotReady);
  EXPECT_EQ(cd.Command("play", {}, reply), MciError::DeviceNotReady);
}

}  // namespace
}  // namespace orvel
