#include "platform/linux/music/gst_sound_player.h"

#include <gtest/gtest.h>

#include "platform/linux/music/gst_media_fixture.h"

namespace orvel {
namespace {

using GstSoundPlayerTest = GstMediaControlTest;

TEST_F(GstSoundPlayerTest, LoopsTheFileUntilStopped) {
  // 0.4 s of mono at 22050 Hz (the output resamples it): a low tone, then a high one.
  const fs::path wav = root_ / "tones.wav";
  Run("sox -n -r 22050 -c 1 -b 16 '" + wav.string() +
      "' synth 0.25 sine 700 vol 0.5 : synth 0.15 sine 1500 vol 0.5");
  constexpr std::size_t kPass = kSecond * 4 / 10;

  GstSoundPlayer player(GstAudioOutput::RawFile(Heard().string()));
  EXPECT_EQ(player.OutputDeviceCount(), 1);  // its own output, whatever the machine has
  // A missing file stays silent and leaves the player usable.
  player.PlayLooping((root_ / "missing.wav").string());
  player.Stop();
  EXPECT_EQ(HeardSamples(Heard()), 0u);
  player.PlayLooping(wav.string());
  ASSERT_TRUE(WaitFor([&] { return HeardSamples(Heard()) > kPass * 5 / 2; }));
  std::vector<std::int16_t> left = ReadLeft(Heard());
  // Each pass is the whole file, its end included.
  for (std::size_t pass = 0; pass < 2; ++pass) {
    EXPECT_NEAR(ToneHz(left, pass * kPass + kSecond / 10), 700, 21) << pass;
    EXPECT_NEAR(ToneHz(left, pass * kPass + kSecond * 27 / 100), 1500, 45) << pass;
  }
  EXPECT_NEAR(ToneHz(left, 2 * kPass + kSecond / 20), 700, 21);

  player.Stop();
  const std::size_t stopped = HeardSamples(Heard());
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(HeardSamples(Heard()), stopped);
}

// A sound far shorter than a pass may be is held back, not dropped.
TEST_F(GstSoundPlayerTest, LoopsASoundOfTenMillisecondsForAsLongAsItPlays) {
  const fs::path wav = root_ / "click.wav";
  Run("sox -n -r 44100 -c 2 -b 16 '" + wav.string() + "' synth 0.01 sine 1000 vol 0.5");
  constexpr std::size_t kPass = kSecond / 100;

  GstSoundPlayer player(GstAudioOutput::RawFile(Heard().string()));
  player.PlayLooping(wav.string());
  std::this_thread::sleep_for(1500ms);
  const std::size_t early = HeardSamples(Heard());
  EXPECT_GE(early, 5 * kPass);
  EXPECT_TRUE(WaitFor([&] { return HeardSamples(Heard()) >= early + 5 * kPass; }));
  player.Stop();
}

}  // namespace
}  // namespace orvel
