#include "platform/linux/gst_sound_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace orvel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The frequency of the tone in the left channel of the raw output (16-bit
// stereo at 44100 Hz) over 0.2 s from frame `first`, from its rising zero
// crossings.
double ToneHz(const fs::path& raw, std::uintmax_t first) {
  std::ifstream in(raw, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(first * 4));
  std::vector<char> bytes(8820 * 4);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  auto left = [&](std::size_t frame) {
    return static_cast<std::int16_t>(static_cast<unsigned char>(bytes[4 * frame]) |
                                     static_cast<unsigned char>(bytes[4 * frame + 1]) << 8);
  };
  int rises = 0;
  for (std::size_t frame = 1; frame < 8820; ++frame) {
    if (left(frame - 1) < 0 && left(frame) >= 0) ++rises;
  }
  return rises * 5.0;
}

TEST(GstSoundPlayerTest, LoopsTheFileUntilStopped) {
  std::string pattern = (fs::temp_directory_path() / "orvel-wav-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path root = pattern, wav = root / "tone.wav", heard = root / "heard.raw";
  // A 0.4-second mono tone at 22050 Hz (the output resamples it).
  ASSERT_EQ(std::system(("sox -n -r 22050 -c 1 -b 16 '" + wav.string() +
                         "' synth 0.4 sine 700 vol 0.5 >/dev/null 2>&1")
                            .c_str()),
            0);
  auto heardBytes = [&] {
    std::error_code error;
    std::uintmax_t size = fs::file_size(heard, error);
    return error ? 0 : size;
  };
  const std::uintmax_t passBytes = 44100 * 4 * 4 / 10;

  GstSoundPlayer player(GstAudioOutput::RawFile(heard.string()));
  EXPECT_EQ(player.OutputDeviceCount(), 1);  // its own output, whatever the machine has
  // A missing file stays silent and leaves the player usable.
  player.PlayLooping((root / "missing.wav").string());
  player.Stop();
  EXPECT_EQ(heardBytes(), 0u);
  player.PlayLooping(wav.string());
  // More than two and a half passes of a file that the program started once.
  const auto until = std::chrono::steady_clock::now() + 10s;
  while (heardBytes() <= passBytes * 5 / 2 && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(20ms);
  }
  ASSERT_GT(heardBytes(), passBytes * 5 / 2);
  // The third pass (from frame 0.8 s) is the tone again.
  EXPECT_NEAR(ToneHz(heard, passBytes / 2), 700, 20);

  player.Stop();
  const std::uintmax_t stopped = heardBytes();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(heardBytes(), stopped);

  std::error_code ignored;
  fs::remove_all(root, ignored);
}

// A sound far shorter than a pass may be is held back, not dropped: it
// goes on sounding long after its first second.
TEST(GstSoundPlayerTest, LoopsASoundOfTenMillisecondsForAsLongAsItPlays) {
  std::string pattern = (fs::temp_directory_path() / "orvel-wav-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path root = pattern, wav = root / "click.wav", heard = root / "heard.raw";
  ASSERT_EQ(std::system(("sox -n -r 44100 -c 2 -b 16 '" + wav.string() +
                         "' synth 0.01 sine 1000 vol 0.5 >/dev/null 2>&1")
                            .c_str()),
            0);
  auto heardBytes = [&] {
    std::error_code error;
    std::uintmax_t size = fs::file_size(heard, error);
    return error ? 0 : size;
  };
  constexpr std::uintmax_t kPassBytes = 441 * 4;

  GstSoundPlayer player(GstAudioOutput::RawFile(heard.string()));
  player.PlayLooping(wav.string());
  std::this_thread::sleep_for(1500ms);
  const std::uintmax_t early = heardBytes();
  EXPECT_GE(early, 5 * kPassBytes);
  // Half a second later, five more passes at the very least.
  const auto until = std::chrono::steady_clock::now() + 10s;
  while (heardBytes() < early + 5 * kPassBytes && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_GE(heardBytes(), early + 5 * kPassBytes);
  player.Stop();

  std::error_code ignored;
  fs::remove_all(root, ignored);
}

}  // namespace
}  // namespace orvel
