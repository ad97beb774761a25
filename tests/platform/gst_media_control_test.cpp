#include "platform/linux/gst_media_control.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "platform/linux/cd_positions.h"
#include "platform/linux/mci_command.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The test disc: five tracks of two seconds (150 sectors) each, track n a
// tone of 300 + 200 n Hz.
constexpr int kTracks = 5;
int ToneOfTrack(int track) { return 300 + 200 * track; }

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  auto until = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// 16-bit stereo samples at 44100 Hz, as the raw file output writes them.
std::vector<std::int16_t> ReadSamples(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                           static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return samples;
}

// The frequency of the tone in the left channel over `frames` frames from
// `first`, from its rising zero crossings.
double ToneHz(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t frames) {
  int rises = 0;
  for (std::size_t frame = first + 1; frame < first + frames; ++frame) {
    if (samples[2 * (frame - 1)] < 0 && samples[2 * frame] >= 0) ++rises;
  }
  return rises * 44100.0 / static_cast<double>(frames);
}

class GstMediaControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orvel-mci-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  static void Run(const std::string& command) {
    ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
  }

  // Writes the test disc as disc.bin and disc.cue; returns the cue sheet.
  fs::path MakeDisc() {
    std::ofstream bin(root_ / "disc.bin", std::ios::binary);
    std::ofstream cue(root_ / "disc.cue");
    cue << "FILE \"disc.bin\" BINARY\n";
    for (int track = 1; track <= kTracks; ++track) {
      fs::path raw = root_ / ("track" + std::to_string(track) + ".raw");
      Run("sox -n -r 44100 -c 2 -b 16 -e signed-integer -L -t raw '" + raw.string() +
          "' synth 2 sine " + std::to_string(ToneOfTrack(track)) + " vol 0.5");
      std::ifstream in(raw, std::ios::binary);
      bin << in.rdbuf();
      char index[32];
      std::snprintf(index, sizeof index, "    INDEX 01 00:%02d:00\n", 2 * (track - 1));
      cue << "  TRACK 0" << track << " AUDIO\n" << index;
    }
    return root_ / "disc.cue";
  }

  // A one-second MP3 tone at `path`.
  void MakeMp3(const fs::path& path) {
    fs::path wav = root_ / "for-mp3.wav";
    Run("sox -n -r 44100 -c 2 -b 16 '" + wav.string() + "' synth 1 sine 660 vol 0.5");
    Run("lame --quiet '" + wav.string() + "' '" + path.string() + "'");
  }

  GstMediaControl& Device(GstAudioOutput output = GstAudioOutput::RealTimeDiscard()) {
    if (!device_) {
      device_ = std::make_unique<GstMediaControl>(GstMediaControl::Options{output, cdDrive_});
    }
    return *device_;
  }

  int Code(const std::string& command) {
    std::string reply;
    return Device().Send(command, reply);
  }

  // The reply of a command that must succeed.
  std::string Ask(const std::string& command) {
    std::string reply;
    int code = Device().Send(command, reply);
    EXPECT_EQ(code, 0) << command << ": " << Device().ErrorText(code).value_or("?");
    return reply;
  }

  fs::path root_;
  std::string cdDrive_;
  std::unique_ptr<GstMediaControl> device_;
};

TEST(GstMediaControlCdPositions, EveryFormatReadsBackTheSectorItWrote) {
  CdToc toc{{{1, 0, 1000, true}, {2, 1000, 2500, true}, {3, 2500, 5000, false}}};
  EXPECT_EQ(FormatCdPosition(toc, 1000, CdTimeFormat::Msf), "00:15:25");
  EXPECT_EQ(FormatCdPosition(toc, 1075, CdTimeFormat::Tmsf), "02:00:01:00");
  EXPECT_EQ(FormatCdPosition(toc, 0, CdTimeFormat::Milliseconds), "2000");
  EXPECT_EQ(FormatCdLength(1500, CdTimeFormat::Tmsf), "00:20:00");
  for (CdTimeFormat format : {CdTimeFormat::Msf, CdTimeFormat::Tmsf, CdTimeFormat::Milliseconds}) {
    for (long sector = 0; sector <= toc.End(); sector += 7) {
      std::string text = FormatCdPosition(toc, sector, format);
      CdPosition read = ParseCdPosition(toc, text, format);
      EXPECT_EQ(read.error, 0) << text;
      EXPECT_EQ(read.sector, sector) << text << " in " << CdTimeFormatName(format);
    }
  }
}

TEST(GstMediaControlCdPositions, ShortFormsAndFaultyPositions) {
  CdToc toc{{{1, 0, 1000, true}, {2, 1000, 2500, true}}};
  EXPECT_EQ(ParseCdPosition(toc, "2", CdTimeFormat::Tmsf).sector, 1000);
  EXPECT_EQ(ParseCdPosition(toc, "2:00:01", CdTimeFormat::Tmsf).sector, 1000 + 75);
  EXPECT_EQ(ParseCdPosition(toc, "0:20", CdTimeFormat::Msf).sector, 20 * 75 - 150);
  EXPECT_EQ(ParseCdPosition(toc, "00:00:00", CdTimeFormat::Msf).sector, 0);
  EXPECT_EQ(ParseCdPosition(toc, "3", CdTimeFormat::Tmsf).error, MciError::OutOfRange);
  EXPECT_EQ(ParseCdPosition(toc, "00:60:00", CdTimeFormat::Msf).error, MciError::OutOfRange);
  EXPECT_EQ(ParseCdPosition(toc, "00:10:75", CdTimeFormat::Msf).error, MciError::OutOfRange);
  EXPECT_EQ(ParseCdPosition(toc, "99:00:00", CdTimeFormat::Msf).error, MciError::OutOfRange);
  EXPECT_EQ(ParseCdPosition(toc, "1:2:3:4", CdTimeFormat::Msf).error, MciError::BadInteger);
  EXPECT_EQ(ParseCdPosition(toc, "-5", CdTimeFormat::Milliseconds).error, MciError::BadInteger);
  EXPECT_EQ(ParseCdPosition(toc, "", CdTimeFormat::Tmsf).error, MciError::BadInteger);
  EXPECT_EQ(ParseCdTimeFormat("TMSF"), CdTimeFormat::Tmsf);
  EXPECT_EQ(ParseCdTimeFormat("tmst"), std::nullopt);
}

TEST(GstMediaControlWords, QuotedWordsKeepTheirBlanks) {
  EXPECT_EQ(SplitMciWords("open  \"/a b/c.mp3\" type\tMPEGVideo"),
            (std::vector<std::string>{"open", "/a b/c.mp3", "type", "MPEGVideo"}));
  EXPECT_EQ(SplitMciWords("open \"/a b"), std::nullopt);
}

TEST_F(GstMediaControlTest, CdAnswersItsTableOfContentsInEachTimeFormat) {
  cdDrive_ = MakeDisc().string();
  ASSERT_EQ(Code("open cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "5");
  EXPECT_EQ(Ask("STATUS CDAudio Number Of Tracks"), "5");
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Ask("status cdaudio current track"), "1");
  EXPECT_EQ(Ask("status cdaudio position track 1"), "00:02:00");
  EXPECT_EQ(Ask("status cdaudio position track 3"), "00:06:00");
  EXPECT_EQ(Ask("status cdaudio length track 2"), "00:02:00");

  // The saver asks for a format the device does not know; it keeps msf.
  int rejected = Code("set cdaudio time format tmst");
  EXPECT_NE(rejected, 0);
  EXPECT_TRUE(Device().ErrorText(rejected).has_value());
  EXPECT_EQ(Ask("status cdaudio time format"), "msf");
  EXPECT_EQ(Ask("status cdaudio position track 3"), "00:06:00");

  Ask("set cdaudio time format tmsf");
  EXPECT_EQ(Ask("status cdaudio position track 3"), "03:00:00:00");
  Ask("set cdaudio time format milliseconds");
  EXPECT_EQ(Ask("status cdaudio position track 3"), "6000");

  EXPECT_NE(Code("status cdaudio position track 6"), 0);
  EXPECT_NE(Code("status cdaudio position track 0"), 0);
  EXPECT_NE(Code("status cdaudio position track x"), 0);
  EXPECT_EQ(Code("close cdaudio"), 0);
  EXPECT_EQ(Code("status cdaudio mode"), MciError::InvalidDeviceName);
}

TEST_F(GstMediaControlTest, CdPlaysFromEveryTrackPositionItReplied) {
  cdDrive_ = MakeDisc().string();
  ASSERT_EQ(Code("open cdaudio"), 0);
  for (const char* format : {"msf", "tmsf", "milliseconds"}) {
    Ask(std::string("set cdaudio time format ") + format);
    std::string third = Ask("status cdaudio position track 3");
    ASSERT_EQ(Code("play cdaudio from " + third), 0) << format;
    EXPECT_EQ(Ask("status cdaudio current track"), "3") << format;
    EXPECT_EQ(Ask("status cdaudio mode"), "playing") << format;
  }

  // A skip to the next track, and the watch bringing the repeat track back.
  Ask("set cdaudio time format msf");
  ASSERT_EQ(Code("play cdaudio from " + Ask("status cdaudio position track 4")), 0);
  EXPECT_EQ(Ask("status cdaudio current track"), "4");
  ASSERT_EQ(Code("play cdaudio from " + Ask("status cdaudio position track 3")), 0);
  EXPECT_EQ(Ask("status cdaudio current track"), "3");

  EXPECT_EQ(Code("stop cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Ask("status cdaudio current track"), "3");

  // Positions off the disc are refused and leave the device as it was.
  EXPECT_NE(Code("play cdaudio from 99:00:00"), 0);
  EXPECT_NE(Code("play cdaudio from 00:61:00"), 0);
  EXPECT_NE(Code("play cdaudio from"), 0);
  EXPECT_NE(Code("play cdaudio from 00:08:00 to 00:06:00"), 0);
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
}

TEST_F(GstMediaControlTest, CdStopsAtTheEndOfTheDiscAndStartsItAgain) {
  cdDrive_ = MakeDisc().string();
  ASSERT_EQ(Code("open cdaudio"), 0);
  ASSERT_EQ(Code("play cdaudio from " + Ask("status cdaudio position track 5")), 0);
  EXPECT_EQ(Ask("status cdaudio mode"), "playing");
  EXPECT_TRUE(WaitFor([&] { return Ask("status cdaudio mode") == "stopped"; }, 10s));
  EXPECT_EQ(Ask("status cdaudio current track"), "5");

  ASSERT_EQ(Code("play cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio mode"), "playing");
  EXPECT_EQ(Ask("status cdaudio current track"), "1");
  EXPECT_EQ(Code("stop cdaudio"), 0);
  EXPECT_EQ(Code("close cdaudio"), 0);
}

TEST_F(GstMediaControlTest, CdPlaysTheSoundOfTheTrackAsked) {
  cdDrive_ = MakeDisc().string();
  fs::path heard = root_ / "heard.raw";
  Device(GstAudioOutput::RawFile(heard.string()));
  ASSERT_EQ(Code("open cdaudio alias disc"), 0);
  ASSERT_EQ(Code("play disc from " + Ask("status disc position track 4") + " to " +
                 Ask("status disc position track 5")),
            0);
  ASSERT_TRUE(WaitFor([&] { return Ask("status disc mode") == "stopped"; }, 10s));
  ASSERT_EQ(Code("close disc"), 0);

  // Exactly track 4: two seconds of its tone, none of its neighbours'.
  std::vector<std::int16_t> samples = ReadSamples(heard);
  std::size_t frames = samples.size() / 2;
  EXPECT_NEAR(static_cast<double>(frames), 2 * 44100.0, 0.02 * 44100);
  ASSERT_GT(frames, 44100u);
  const double tone = ToneOfTrack(4);
  EXPECT_NEAR(ToneHz(samples, 0, 4410), tone, 0.03 * tone);
  EXPECT_NEAR(ToneHz(samples, frames / 2, 4410), tone, 0.03 * tone);
  EXPECT_NEAR(ToneHz(samples, frames - 4410, 4410), tone, 0.03 * tone);
}

TEST_F(GstMediaControlTest, WithoutADiscEveryCdQueryFails) {
  cdDrive_ = (root_ / "no-such-disc.cue").string();
  ASSERT_EQ(Code("open cdaudio"), 0);
  EXPECT_NE(Code("status cdaudio current track"), 0);
  EXPECT_NE(Code("status cdaudio number of tracks"), 0);
  EXPECT_NE(Code("status cdaudio position track 1"), 0);
  EXPECT_NE(Code("play cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio mode"), "not ready");
  EXPECT_EQ(Ask("status cdaudio media present"), "false");
  EXPECT_EQ(Code("close cdaudio"), 0);

  // The system's drive: on a machine without one, the device does not open
  // and nothing answers to its name.
  GstMediaControl system;
  std::string reply;
  if (system.Send("open cdaudio", reply) == 0) GTEST_SKIP() << "this machine has a CD drive";
  EXPECT_EQ(system.Send("status cdaudio current track", reply), MciError::InvalidDeviceName);
}

TEST_F(GstMediaControlTest, Mp3PlaysToItsEndAndAgainFromTheStart) {
  fs::create_directory(root_ / "my music");
  fs::path mp3 = root_ / "my music" / "tone.mp3";
  MakeMp3(mp3);
  ASSERT_EQ(Code("open \"" + mp3.string() + "\" type MPEGVideo Alias MP3Play"), 0);
  EXPECT_EQ(Ask("status MP3Play mode"), "stopped");
  ASSERT_EQ(Code("play MP3Play"), 0);
  EXPECT_EQ(Ask("status mp3play mode"), "playing");
  EXPECT_TRUE(WaitFor([&] { return Ask("status MP3Play mode") == "stopped"; }, 8s));

  EXPECT_EQ(Code("stop MP3Play"), 0);
  ASSERT_EQ(Code("play MP3Play from 0"), 0);
  EXPECT_EQ(Ask("status MP3Play mode"), "playing");
  EXPECT_EQ(Code("pause MP3Play"), 0);
  EXPECT_EQ(Ask("status MP3Play mode"), "paused");
  EXPECT_EQ(Code("resume MP3Play"), 0);
  EXPECT_EQ(Ask("status MP3Play mode"), "playing");
  EXPECT_EQ(Code("stop MP3Play"), 0);
  EXPECT_EQ(Ask("status MP3Play mode"), "stopped");
  EXPECT_EQ(Code("close MP3Play"), 0);
  EXPECT_EQ(Code("status MP3Play mode"), MciError::InvalidDeviceName);
}

TEST_F(GstMediaControlTest, Mp3PlaysWhatTheFileHolds) {
  fs::path mp3 = root_ / "tone.mp3";
  MakeMp3(mp3);
  fs::path heard = root_ / "heard.raw";
  Device(GstAudioOutput::RawFile(heard.string()));
  ASSERT_EQ(Code("open " + mp3.string() + " type mpegvideo alias song"), 0);
  ASSERT_EQ(Code("play song"), 0);
  ASSERT_TRUE(WaitFor([&] { return Ask("status song mode") == "stopped"; }, 8s));
  ASSERT_EQ(Code("close song"), 0);
  std::vector<std::int16_t> samples = ReadSamples(heard);
  ASSERT_GT(samples.size() / 2, 44100u * 9 / 10);
  EXPECT_NEAR(ToneHz(samples, 44100 / 4, 44100 / 2), 660, 20);
}

TEST_F(GstMediaControlTest, FilesThatCannotPlayLeaveNoAlias) {
  EXPECT_EQ(Code("open " + (root_ / "missing.mp3").string() + " type MPEGVideo Alias MP3Play"),
            MciError::FileNotFound);
  EXPECT_EQ(Code("status MP3Play mode"), MciError::InvalidDeviceName);

  fs::path text = root_ / "not-music.mp3";
  std::ofstream(text) << "this is no music at all\n";
  EXPECT_NE(Code("open " + text.string() + " type MPEGVideo Alias MP3Play"), 0);
  EXPECT_EQ(Code("status MP3Play mode"), MciError::InvalidDeviceName);

  // The saver's open command when the file's short path came back empty.
  EXPECT_NE(Code("open  type MPEGVideo Alias MP3Play"), 0);
  EXPECT_EQ(Code("play MP3Play"), MciError::InvalidDeviceName);

  fs::path mp3 = root_ / "tone.mp3";
  MakeMp3(mp3);
  ASSERT_EQ(Code("open " + mp3.string() + " type MPEGVideo Alias MP3Play"), 0);
  EXPECT_EQ(Code("open " + mp3.string() + " type MPEGVideo Alias mp3play"),
            MciError::DuplicateAlias);
  EXPECT_EQ(Ask("status MP3Play mode"), "stopped");
}

TEST_F(GstMediaControlTest, UnknownCommandsAndNamesFailWithAText) {
  for (const char* command : {"frobnicate cdaudio", "status nosuchalias mode", "", "status",
                              "open \"unclosed", "play MP3Play from 0"}) {
    int code = Code(command);
    EXPECT_NE(code, 0) << command;
    std::optional<std::string> text = Device().ErrorText(code);
    ASSERT_TRUE(text.has_value()) << command;
    EXPECT_FALSE(text->empty());
  }
  EXPECT_EQ(Code("frobnicate cdaudio"), MciError::UnrecognizedCommand);
  EXPECT_EQ(Code("status nosuchalias mode"), MciError::InvalidDeviceName);
  EXPECT_EQ(Device().ErrorText(0), std::nullopt);
  EXPECT_EQ(Device().ErrorText(123456), std::nullopt);
}

}  // namespace
}  // namespace orvel
