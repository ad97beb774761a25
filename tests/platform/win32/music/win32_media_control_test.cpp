#include "platform/win32/music/win32_media_control.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "music/mci_channel.h"
#include "music/music_file_player.h"
#include "platform/win32/music/win32_audio.h"
#include "platform/win32/win32_test_folder.h"
#include "settings/saver_settings.h"

namespace orvel {
namespace {

TEST(Win32MediaControlTest, AnMp3WithBlanksAndJapaneseInItsPathPlaysAsMpegVideo) {
  if (!HasAudioOutput()) GTEST_SKIP() << kNoAudioOutput;
  Win32TestFolder folder;
  ASSERT_TRUE(folder.MakeFolder(L"音楽 の フォルダ"));
  std::ifstream tone(ORVEL_TONE_MP3, std::ios::binary);
  const std::string mp3{std::istreambuf_iterator<char>(tone), {}};
  ASSERT_GT(mp3.size(), 1000u) << ORVEL_TONE_MP3;
  ASSERT_TRUE(folder.Write(L"音楽 の フォルダ\\夏 の歌.mp3", mp3));
  SaverSettings settings;
  settings.BgmKind = 2;
  settings.BgmFile = folder.Utf8(L"音楽 の フォルダ\\夏 の歌.mp3");

  Win32MediaControl media;
  MciChannel channel(media);
  MusicFilePlayer player(channel, settings);
  player.Mp3Start();
  std::string reply;
  EXPECT_EQ(media.Send("status MP3Play mode", reply), 0);
  EXPECT_EQ(reply, "playing");
  EXPECT_TRUE(player.Mp3IsPlaying());
  EXPECT_EQ(media.Send("status MP3Play length", reply), 0);
  EXPECT_GT(std::stoi(reply), 4000) << reply;  // milliseconds

  ASSERT_EQ(media.Send("pause MP3Play", reply), 0);
  EXPECT_FALSE(player.Mp3IsPlaying());
  player.Mp3KeepLooping();
  EXPECT_TRUE(player.Mp3IsPlaying());

  player.Mp3Stop();
  EXPECT_NE(media.Send("status MP3Play mode", reply), 0);
  EXPECT_EQ(reply, "");
}

TEST(Win32MediaControlTest, FailuresComeBackAsCodesWithTheSystemsWords) {
  Win32MediaControl media;
  std::string reply = "old";
  const int unknownAlias = media.Send("status NoSuchAlias mode", reply);
  EXPECT_NE(unknownAlias, 0);
  EXPECT_EQ(reply, "");
  EXPECT_FALSE(media.ErrorText(unknownAlias).value_or("").empty());

  MciChannel channel(media);
  EXPECT_EQ(channel.MciStatus("status NoSuchAlias mode"), "Error:" + std::to_string(unknownAlias));

  EXPECT_FALSE(media.ErrorText(99999).has_value());

  Win32TestFolder folder;
  EXPECT_NE(
      media.Send("open \"" + folder.Utf8(L"無い.mp3") + "\" type MPEGVideo alias Missing", reply),
      0);
  EXPECT_NE(media.Send("open \"\xff.mp3\" type MPEGVideo alias Garbled", reply), 0);
}

}  // namespace
}  // namespace orvel
