#include "platform/linux/gst_sound_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

namespace orvel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The raw file output: 44100 frames of 4 bytes each per second.
constexpr std::uintmax_t kBytesPerSecond = 44100 * 4;

// The test WAV files last 0.4 seconds.
constexpr std::uintmax_t kPassBytes = kBytesPerSecond * 4 / 10;

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  auto until = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// The frequency of the tone in the left channel of the raw output, over
// `frames` frames from frame `first`, from its rising zero crossings.
double ToneHz(const fs::path& raw, std::uintmax_t first, std::uintmax_t frames) {
  std::ifstream in(raw, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(first * 4));
  std::vector<char> bytes(frames * 4);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  auto left = [&](std::uintmax_t frame) {
    return static_cast<std::int16_t>(static_cast<unsigned char>(bytes[4 * frame]) |
                                     static_cast<unsigned char>(bytes[4 * frame + 1]) << 8);
  };
  int rises = 0;
  for (std::uintmax_t frame = 1; frame < frames; ++frame) {
    if (left(frame - 1) < 0 && left(frame) >= 0) ++rises;
  }
  return rises * 44100.0 / static_cast<double>(frames);
}

class GstSoundPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orvel-wav-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    heard_ = root_ / "heard.raw";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // A 0.4-second mono WAV tone at 22050 Hz (the output resamples it).
  fs::path MakeWav(const std::string& name, int hz) {
    fs::path wav = root_ / name;
    std::string command = "sox -n -r 22050 -c 1 -b 16 '" + wav.string() + "' synth 0.4 sine " +
                          std::to_string(hz) + " vol 0.5 >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return wav;
  }

  std::uintmax_t HeardBytes() const {
    std::error_code error;
    std::uintmax_t size = fs::file_size(heard_, error);
    return error ? 0 : size;
  }

  fs::path root_;
  fs::path heard_;
};

TEST_F(GstSoundPlayerTest, LoopsTheFileUntilStopped) {
  fs::path wav = MakeWav("tone.wav", 700);
  GstSoundPlayer player(GstAudioOutput::RawFile(heard_.string()));
  EXPECT_GE(player.OutputDeviceCount(), 1);
  player.PlayLooping(wav.string());

  // More than two and a half passes of a file that the program started once.
  ASSERT_TRUE(WaitFor([&] { return HeardBytes() > kPassBytes * 5 / 2; }, 10s));
  EXPECT_NEAR(ToneHz(heard_, kPassBytes / 4 * 2, 44100 / 5), 700, 20);

  player.Stop();
  std::uintmax_t stopped = HeardBytes();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(HeardBytes(), stopped);
  player.Stop();
}

TEST_F(GstSoundPlayerTest, ANewFileTakesThePlaceOfTheOldOne) {
  fs::path low = MakeWav("low.wav", 500);
  fs::path high = MakeWav("high.wav", 1300);
  GstSoundPlayer player(GstAudioOutput::RawFile(heard_.string()));
  player.PlayLooping(low.string());
  ASSERT_TRUE(WaitFor([&] { return HeardBytes() > kPassBytes; }, 10s));

  player.PlayLooping(high.string());
  std::uintmax_t switched = HeardBytes();
  ASSERT_TRUE(WaitFor([&] { return HeardBytes() > switched + 2 * kPassBytes; }, 10s));
  player.Stop();
  // The last full pass is the new file's, looping: no trace of the old.
  std::uintmax_t end = HeardBytes() / 4;
  EXPECT_NEAR(ToneHz(heard_, end - 44100 / 2, 44100 / 5), 1300, 30);
  EXPECT_NEAR(ToneHz(heard_, end - 44100 / 4, 44100 / 5), 1300, 30);
}

TEST_F(GstSoundPlayerTest, AFileOfNextToNoSoundIsNotRepeatedOnAndOn) {
  fs::path click = root_ / "click.wav";
  ASSERT_EQ(std::system(("sox -n -r 22050 -c 1 -b 16 '" + click.string() +
                         "' synth 0.005 sine 700 >/dev/null 2>&1")
                            .c_str()),
            0);
  GstSoundPlayer player(GstAudioOutput::RawFile(heard_.string()));
  player.PlayLooping(click.string());
  // Repeated for ever, the output would grow for as long as the player runs.
  std::uintmax_t before = 1;
  EXPECT_TRUE(WaitFor(
      [&] {
        std::this_thread::sleep_for(300ms);
        std::uintmax_t now = HeardBytes();
        bool still = now == before;
        before = now;
        return still;
      },
      10s));
  EXPECT_LT(before, kBytesPerSecond);
}

TEST_F(GstSoundPlayerTest, AMissingFileStaysSilentAndLeavesThePlayerUsable) {
  GstSoundPlayer player(GstAudioOutput::RawFile(heard_.string()));
  player.Stop();
  player.PlayLooping((root_ / "missing.wav").string());
  player.Stop();
  EXPECT_EQ(HeardBytes(), 0u);

  player.PlayLooping(MakeWav("tone.wav", 700).string());
  EXPECT_TRUE(WaitFor([&] { return HeardBytes() > kPassBytes; }, 10s));
}

}  // namespace
}  // namespace orvel
