// The "MPEGVideo" device on MP3 files made with sox and lame.
#include "platform/linux/music/gst_file_device.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/music/gst_media_fixture.h"
#include "platform/linux/music/mci_command.h"

namespace orvel {
namespace {

class GstFileDeviceTest : public GstMediaControlTest {
 protected:
  // 0.6 s of 440 Hz, then 0.6 s of 880 Hz, opened as MP3Play; the sound is kept.
  void OpenTwoTones() {
    fs::create_directory(root_ / "my music");
    const fs::path wav = root_ / "tones.wav";
    mp3_ = root_ / "my music" / "tones.mp3";
    Run("sox -n -r 44100 -c 2 -b 16 '" + wav.string() +
        "' synth 0.6 sine 440 vol 0.5 : synth 0.6 sine 880 vol 0.5");
    Run("lame --quiet '" + wav.string() + "' '" + mp3_.string() + "'");
    Device("", true);
    ASSERT_EQ(Code("open \"" + mp3_.string() + "\" type MPEGVideo Alias MP3Play"), 0);
  }

  fs::path mp3_;
};

TEST_F(GstFileDeviceTest, PlaysToTheEndAndFromZeroOrOnWhereverItStopped) {
  OpenTwoTones();
  const auto stopped = [&] { return Ask("status MP3Play mode") == "stopped"; };
  ASSERT_EQ(Code("play MP3Play"), 0);
  EXPECT_EQ(Ask("status MP3Play mode"), "playing");
  ASSERT_TRUE(WaitFor(stopped));
  const std::size_t ended = HeardSamples(Heard());
  EXPECT_NEAR(Seconds(ended), 1.2, 0.1);

  EXPECT_EQ(Code("stop MP3Play"), 0);
  ASSERT_EQ(Code("play MP3Play from 0"), 0);
  ASSERT_TRUE(WaitFor([&] { return HeardSamples(Heard()) > ended + 9 * kSecond / 10; }));
  ASSERT_EQ(Code("stop MP3Play"), 0);
  EXPECT_EQ(Ask("status MP3Play mode"), "stopped");
  const std::size_t middle = HeardSamples(Heard());
  ASSERT_EQ(Code("play MP3Play from 0"), 0);
  ASSERT_TRUE(WaitFor(stopped));

  std::vector<std::int16_t> left = ReadLeft(Heard());
  EXPECT_NEAR(Seconds(left.size() - middle), Seconds(ended), 0.05);
  for (std::size_t pass : {std::size_t{0}, ended, middle}) {
    EXPECT_NEAR(ToneHz(left, pass + 2205), 440, 20) << pass;
    EXPECT_NEAR(ToneHz(left, pass + kSecond * 3 / 4), 880, 30) << pass;
  }

  // From 0.3 s, stopped, then on without a position: 0.9 s in all.
  const std::size_t from = left.size();
  ASSERT_EQ(Code("play MP3Play from 300"), 0);
  ASSERT_TRUE(WaitFor([&] { return HeardSamples(Heard()) > from + kSecond / 2; }));
  ASSERT_EQ(Code("stop MP3Play"), 0);
  const std::size_t resumed = HeardSamples(Heard());
  ASSERT_EQ(Code("play MP3Play"), 0);
  ASSERT_TRUE(WaitFor(stopped));
  left = ReadLeft(Heard());
  EXPECT_NEAR(ToneHz(left, from + 441), 440, 20);
  EXPECT_NEAR(ToneHz(left, resumed + 441), 880, 30);
  EXPECT_NEAR(Seconds(left.size() - from), 0.9, 0.1);
  EXPECT_EQ(Code("close MP3Play"), 0);
  EXPECT_EQ(Code("status MP3Play mode"), MciError::InvalidDeviceName);
}

TEST_F(GstFileDeviceTest, CommandsTheDeviceDoesNotKnowFailWithTheirCodes) {
  OpenTwoTones();
  const std::pair<const char*, int> cases[] = {
      {"play MP3Play to 500", MciError::UnrecognizedKeyword},
      {"play MP3Play from 0 to", MciError::UnrecognizedKeyword},
      {"play MP3Play from", MciError::MissingParameter},
      {"play MP3Play from start", MciError::BadInteger},
      {"play MP3Play from 99999", MciError::OutOfRange},
      {"stop MP3Play now", MciError::UnrecognizedKeyword},
      {"status MP3Play position", MciError::UnrecognizedKeyword},
      {"status MP3Play mode now", MciError::UnrecognizedKeyword},
      {"set MP3Play time format ms", MciError::UnrecognizedCommand},
  };
  for (const auto& [command, expected] : cases) {
    EXPECT_EQ(Code(command), expected) << command;
    EXPECT_EQ(Ask("status MP3Play mode"), "stopped") << command;
  }
  const fs::path png = root_ / "picture.png";
  Run("gst-launch-1.0 -q videotestsrc num-buffers=1 ! pngenc ! filesink location='" + png.string() +
      "'");
  EXPECT_EQ(Code("open \"" + png.string() + "\" type MPEGVideo Alias Picture"),
            MciError::InvalidFile);
}

TEST_F(GstFileDeviceTest, PlayFailsWhenTheFileCanNoLongerBeDecoded) {
  OpenTwoTones();
  ASSERT_EQ(Code("play MP3Play"), 0);
  ASSERT_TRUE(WaitFor([&] { return Ask("status MP3Play mode") == "stopped"; }));
  fs::resize_file(mp3_, 0);
  ASSERT_EQ(Code("play MP3Play"), 0);
  ASSERT_TRUE(WaitFor([&] { return Ask("status MP3Play mode") == "stopped"; }));
  for (const char* play : {"play MP3Play", "play MP3Play from 0"}) {
    EXPECT_EQ(Code(play), MciError::InvalidFile) << play;
    EXPECT_EQ(Ask("status MP3Play mode"), "stopped") << play;
  }
  fs::remove(mp3_);
  EXPECT_EQ(Code("play MP3Play from 0"), MciError::FileNotFound);
  EXPECT_EQ(Ask("status MP3Play mode"), "stopped");
  EXPECT_EQ(Code("close MP3Play"), 0);
}

// A file replaced by a pipe whose writer comes late holds up no command.
TEST_F(GstFileDeviceTest, AReplacedFileIsReadiedWithoutHoldingUpTheCommands) {
  OpenTwoTones();
  ASSERT_EQ(Code("play MP3Play"), 0);
  ASSERT_TRUE(WaitFor([&] { return Ask("status MP3Play mode") == "stopped"; }));
  const std::size_t ended = HeardSamples(Heard());
  std::ifstream in(mp3_, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const fs::path pipe = root_ / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  fs::rename(pipe, mp3_);
  std::thread writer([&] {
    std::this_thread::sleep_for(1500ms);
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 500; ++tries, std::this_thread::sleep_for(20ms))
      fd = ::open(mp3_.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) {
      EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
      ::close(fd);
    }
  });

  const auto asked = std::chrono::steady_clock::now();
  EXPECT_EQ(Code("stop MP3Play"), 0);
  EXPECT_EQ(Code("play MP3Play from 0"), 0);
  EXPECT_EQ(Ask("status MP3Play mode"), "playing");
  // Stopped and played again while it is readied: it is still readied once.
  EXPECT_EQ(Code("stop MP3Play"), 0);
  EXPECT_EQ(Ask("status MP3Play mode"), "stopped");
  EXPECT_EQ(Code("play MP3Play from 0"), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 500ms);
  writer.join();
  EXPECT_TRUE(WaitFor([&] { return Ask("status MP3Play mode") == "stopped"; }));
  std::vector<std::int16_t> left = ReadLeft(Heard());
  EXPECT_NEAR(Seconds(left.size() - ended), Seconds(ended), 0.1);
  EXPECT_NEAR(ToneHz(left, ended + kSecond / 4), 440, 20);
}

}  // namespace
}  // namespace orvel
