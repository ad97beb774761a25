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

// The test disc: five tracks of two seconds each, track n a tone of
// 300 + 200 n Hz.
int ToneOfTrack(int track) { return 300 + 200 * track; }

bool WaitFor(const std::function<bool()>& condition) {
  auto until = std::chrono::steady_clock::now() + 10s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// The left channel of the raw output (16-bit stereo at 44100 Hz).
std::vector<std::int16_t> ReadLeft(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> left(bytes.size() / 4);
  for (std::size_t i = 0; i < left.size(); ++i) {
    left[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[4 * i]) |
                                        static_cast<unsigned char>(bytes[4 * i + 1]) << 8);
  }
  return left;
}

// The tone's frequency over 0.1 s from `first`, from its rising zero crossings.
double ToneHz(const std::vector<std::int16_t>& left, std::size_t first) {
  int rises = 0;
  for (std::size_t i = first + 1; i < first + 4410; ++i) {
    if (left[i - 1] < 0 && left[i] >= 0) ++rises;
  }
  return rises * 10.0;
}

class GstMediaControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orvel-mci-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    device_.reset();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  static void Run(const std::string& command) {
    ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
  }

  // Writes the test disc as disc.bin and disc.cue; returns the cue sheet.
  std::string MakeDisc() {
    std::ofstream bin(root_ / "disc.bin", std::ios::binary);
    std::ofstream cue(root_ / "disc.cue");
    cue << "FILE \"disc.bin\" BINARY\n";
    for (int track = 1; track <= 5; ++track) {
      fs::path raw = root_ / "track.raw";
      Run("sox -n -r 44100 -c 2 -b 16 -e signed-integer -L -t raw '" + raw.string() +
          "' synth 2 sine " + std::to_string(ToneOfTrack(track)) + " vol 0.5");
      bin << std::ifstream(raw, std::ios::binary).rdbuf();
      cue << "  TRACK 0" << track << " AUDIO\n    INDEX 01 00:0" << 2 * (track - 1) << ":00\n";
    }
    return (root_ / "disc.cue").string();
  }

  GstMediaControl& Device(const std::string& cdDrive = "", bool heard = false) {
    if (!device_) {
      GstAudioOutput output = heard ? GstAudioOutput::RawFile((root_ / "heard.raw").string())
                                    : GstAudioOutput::RealTimeDiscard();
      device_ = std::make_unique<GstMediaControl>(GstMediaControl::Options{output, cdDrive});
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
  std::unique_ptr<GstMediaControl> device_;
};

TEST(GstMediaControlCdPositions, EveryFormatReadsBackTheSectorItWroteAndRefusesOffTheDisc) {
  CdToc toc{{{1, 0, 1000, true}, {2, 1000, 2500, true}, {3, 2500, 5000, false}}};
  EXPECT_EQ(FormatCdPosition(toc, 1000, CdTimeFormat::Msf), "00:15:25");
  EXPECT_EQ(FormatCdPosition(toc, 1075, CdTimeFormat::Tmsf), "02:00:01:00");
  for (CdTimeFormat format : {CdTimeFormat::Msf, CdTimeFormat::Tmsf, CdTimeFormat::Milliseconds}) {
    for (long sector = 0; sector <= toc.End(); sector += 7) {
      std::string text = FormatCdPosition(toc, sector, format);
      EXPECT_EQ(ParseCdPosition(toc, text, format).sector, sector) << text;
    }
  }
  EXPECT_EQ(ParseCdPosition(toc, "4", CdTimeFormat::Tmsf).error, MciError::OutOfRange);
  EXPECT_EQ(ParseCdPosition(toc, "00:10:75", CdTimeFormat::Msf).error, MciError::OutOfRange);
  EXPECT_EQ(ParseCdPosition(toc, "99:00:00", CdTimeFormat::Msf).error, MciError::OutOfRange);
  EXPECT_EQ(ParseCdPosition(toc, "1:2:3:4", CdTimeFormat::Msf).error, MciError::BadInteger);
}

TEST_F(GstMediaControlTest, CdPlaysFromTheTrackPositionsItReplies) {
  Device(MakeDisc());
  ASSERT_EQ(Code("open cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "5");
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Ask("status cdaudio position track 3"), "00:06:00");

  // The saver asks for a format the device does not know; it keeps msf.
  int rejected = Code("set cdaudio time format tmst");
  EXPECT_NE(rejected, 0);
  EXPECT_TRUE(Device().ErrorText(rejected).has_value());
  EXPECT_EQ(Ask("status cdaudio position track 3"), "00:06:00");

  for (const char* format : {"msf", "tmsf", "milliseconds"}) {
    Ask(std::string("set cdaudio time format ") + format);
    for (const char* track : {"4", "2"}) {
      ASSERT_EQ(
          Code("play cdaudio from " + Ask(std::string("status cdaudio position track ") + track)),
          0);
      EXPECT_EQ(Ask("status cdaudio current track"), track) << format;
      EXPECT_EQ(Ask("status cdaudio mode"), "playing") << format;
    }
  }
  EXPECT_EQ(Code("stop cdaudio"), 0);
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_NE(Code("play cdaudio from 99:00:00"), 0);
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
}

TEST_F(GstMediaControlTest, CdPlaysTheLastTrackToTheEndOfTheDiscAndStops) {
  Device(MakeDisc(), true);
  ASSERT_EQ(Code("open cdaudio"), 0);
  ASSERT_EQ(Code("play cdaudio from " + Ask("status cdaudio position track 5")), 0);
  EXPECT_EQ(Ask("status cdaudio mode"), "playing");
  ASSERT_TRUE(WaitFor([&] { return Ask("status cdaudio mode") == "stopped"; }));
  EXPECT_EQ(Ask("status cdaudio current track"), "5");
  ASSERT_EQ(Code("close cdaudio"), 0);

  // Exactly track 5: two seconds of its tone.
  std::vector<std::int16_t> left = ReadLeft(root_ / "heard.raw");
  EXPECT_NEAR(static_cast<double>(left.size()), 2 * 44100.0, 0.02 * 44100);
  ASSERT_GT(left.size(), 44100u);
  const double tone = ToneOfTrack(5);
  for (std::size_t first : {std::size_t{0}, left.size() / 2, left.size() - 4410}) {
    EXPECT_NEAR(ToneHz(left, first), tone, 0.03 * tone) << first;
  }
}

TEST_F(GstMediaControlTest, Mp3PlaysWhatTheFileHoldsToItsEndAndAgainFromTheStart) {
  fs::create_directory(root_ / "my music");
  fs::path wav = root_ / "tone.wav";
  fs::path mp3 = root_ / "my music" / "tone.mp3";
  Run("sox -n -r 44100 -c 2 -b 16 '" + wav.string() + "' synth 1 sine 660 vol 0.5");
  Run("lame --quiet '" + wav.string() + "' '" + mp3.string() + "'");
  Device("", true);
  ASSERT_EQ(Code("open \"" + mp3.string() + "\" type MPEGVideo Alias MP3Play"), 0);
  ASSERT_EQ(Code("play MP3Play"), 0);
  EXPECT_EQ(Ask("status MP3Play mode"), "playing");
  ASSERT_TRUE(WaitFor([&] { return Ask("status MP3Play mode") == "stopped"; }));
  std::vector<std::int16_t> left = ReadLeft(root_ / "heard.raw");
  ASSERT_GT(left.size(), 44100u * 9 / 10);
  EXPECT_NEAR(ToneHz(left, 44100 / 2), 660, 20);

  EXPECT_EQ(Code("stop MP3Play"), 0);
  ASSERT_EQ(Code("play MP3Play from 0"), 0);
  EXPECT_EQ(Ask("status MP3Play mode"), "playing");
  EXPECT_EQ(Code("close MP3Play"), 0);
  EXPECT_EQ(Code("status MP3Play mode"), MciError::InvalidDeviceName);
}

TEST_F(GstMediaControlTest, FailuresGiveTheirCodeAndAText) {
  const std::string missing = (root_ / "missing.mp3").string();
  const std::string text = (root_ / "not music.mp3").string();
  std::ofstream(text) << "this is no music at all\n";
  Device((root_ / "no-disc.cue").string());
  ASSERT_EQ(Code("open cdaudio"), 0);  // a drive without a disc opens, but answers nothing
  // Each command fails with a text; with the code given, where not 0.
  const std::pair<std::string, int> cases[] = {
      {"status cdaudio number of tracks", 0},
      {"open " + missing + " type MPEGVideo Alias MP3Play", MciError::FileNotFound},
      {"open \"" + text + "\" type MPEGVideo Alias MP3Play", 0},
      {"status MP3Play mode", MciError::InvalidDeviceName},  // failed opens leave no alias
      {"open \"\" type MPEGVideo Alias MP3Play", 0},         // no file set
      {"play MP3Play", MciError::InvalidDeviceName},
      {"frobnicate cdaudio", MciError::UnrecognizedCommand},
  };
  for (const auto& [command, expected] : cases) {
    int code = Code(command);
    EXPECT_NE(code, 0) << command;
    if (expected != 0) {
      EXPECT_EQ(code, expected) << command;
    }
    EXPECT_FALSE(Device().ErrorText(code).value_or("").empty()) << command;
  }
}

}  // namespace
}  // namespace orvel
