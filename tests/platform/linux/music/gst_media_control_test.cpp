#include "platform/linux/music/gst_media_control.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/linux/music/cd_positions.h"
#include "platform/linux/music/cdio_disc.h"
#include "platform/linux/music/gst_media_fixture.h"
#include "platform/linux/music/mci_command.h"

namespace orvel {
namespace {

TEST(GstMediaControlCdPositions, EveryFormatReadsBackTheSectorItWroteAndRefusesOffTheDisc) {
  CdToc toc{{{1, 0, 1000, true}, {2, 1000, 2500, true}, {3, 2500, 5000, false}}};
  EXPECT_EQ(FormatCdPosition(toc, 1000, CdTimeFormat::Msf), "00:15:25");
  EXPECT_EQ(FormatCdPosition(toc, 1075, CdTimeFormat::Tmsf), "02:00:01:00");
  for (CdTimeFormat format : {CdTimeFormat::Msf, CdTimeFormat::Tmsf, CdTimeFormat::Milliseconds})
    for (long sector = 0; sector <= toc.End(); sector += 7) {
      std::string text = FormatCdPosition(toc, sector, format);
      EXPECT_EQ(ParseCdPosition(toc, text, format).sector, sector) << text;
    }
  EXPECT_EQ(ParseCdPosition(toc, "4", CdTimeFormat::Tmsf).error, MciError::OutOfRange);
  EXPECT_EQ(ParseCdPosition(toc, "00:10:75", CdTimeFormat::Msf).error, MciError::OutOfRange);
  EXPECT_EQ(ParseCdPosition(toc, "99:00:00", CdTimeFormat::Msf).error, MciError::OutOfRange);
  EXPECT_EQ(ParseCdPosition(toc, "1:2:3:4", CdTimeFormat::Msf).error, MciError::BadInteger);
  EXPECT_EQ(ParseCdPosition(toc, "00:60:00", CdTimeFormat::Msf).error, MciError::OutOfRange);
  EXPECT_EQ(ParseCdPosition(toc, "00:59:74", CdTimeFormat::Msf).sector, 59 * 75 + 74 - 150);
  // The end of the disc is a position (where a play may stop); one sector more is not.
  for (CdTimeFormat format : {CdTimeFormat::Msf, CdTimeFormat::Tmsf, CdTimeFormat::Milliseconds})
    EXPECT_EQ(ParseCdPosition(toc, FormatCdPosition(toc, toc.End(), format), format).error, 0);
  EXPECT_EQ(ParseCdPosition(toc, "01:08:51", CdTimeFormat::Msf).error, MciError::OutOfRange);
}

TEST_F(GstMediaControlTest, FailuresGiveTheirCodeAndAText) {
  const std::string missing = (root_ / "missing.mp3").string();
  const std::string text = (root_ / "not music.mp3").string();
  std::ofstream(text) << "this is no music at all\n";
  Device((root_ / "no-disc.cue").string());
  ASSERT_EQ(Code("open cdaudio"), 0);  // a drive without a disc opens, but answers nothing
  EXPECT_EQ(Ask("status cdaudio mode"), "not ready");
  const std::pair<std::string, int> cases[] = {
      {"status cdaudio number of tracks", MciError::DeviceNotReady},
      {"status cdaudio current track", MciError::DeviceNotReady},
      {"play cdaudio", MciError::DeviceNotReady},
      {"open " + missing + " type MPEGVideo Alias MP3Play", MciError::FileNotFound},
      {"open \"" + text + "\" type MPEGVideo Alias MP3Play", MciError::InvalidFile},
      {"status MP3Play mode", MciError::InvalidDeviceName},  // failed opens leave no alias
      {"open \"\" type MPEGVideo Alias MP3Play", MciError::FileNotFound},  // no file set
      {"open \"" + root_.string() + "\" type MPEGVideo Alias MP3Play", MciError::InvalidFile},
      {"play MP3Play", MciError::InvalidDeviceName},
      {"frobnicate cdaudio", MciError::UnrecognizedCommand},
      {"set cdaudio", MciError::UnrecognizedKeyword},
      {"set cdaudio time", MciError::UnrecognizedKeyword},
      {"set cdaudio time format", MciError::MissingParameter},
      {"set cdaudio time format msf now", MciError::UnrecognizedKeyword},
      {"set cdaudio door format msf", MciError::UnrecognizedKeyword},
      {"status cdaudio length track 2", MciError::UnrecognizedKeyword},
      {"status cdaudio media present x", MciError::UnrecognizedKeyword},
      {"status cdaudio position track x", MciError::DeviceNotReady},
  };
  for (const auto& [command, expected] : cases) {
    int code = Code(command);
    EXPECT_EQ(code, expected) << command;
    EXPECT_FALSE(Device().ErrorText(code).value_or("").empty()) << command;
  }
}

// Without a drive named, "cdaudio" is the system's own drive, if it has one.
TEST(GstMediaControlDrive, CdaudioIsTheSystemsDrive) {
  GstMediaControl media(GstMediaControl::Options{GstAudioOutput::RealTimeDiscard(), ""});
  std::string reply;
  const int code = media.Send("open cdaudio", reply);
  EXPECT_EQ(code, DefaultCdDrive().empty() ? MciError::InvalidDeviceName : 0);
  EXPECT_EQ(code == 0 ? media.Send("close cdaudio", reply) : 0, 0);
}

}  // namespace
}  // namespace orvel
