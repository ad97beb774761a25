#include "music/mci_channel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/scripted_media.h"

namespace orvel {
namespace {

using Commands = std::vector<std::string>;

// The number of UTF-8 characters in a text.
std::size_t Characters(const std::string& text) {
  std::size_t count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

TEST(MciChannel, EmptyCommandIsNeverSent) {
  ScriptedMedia media;
  MciChannel channel(media);
  std::string output = "old";
  EXPECT_EQ(channel.MciSend("", output), -1);
  EXPECT_EQ(output, "コマンド文字列が指定されていません");
  EXPECT_EQ(channel.MciStatus(""), "Error:-1");
  EXPECT_EQ(channel.ChannelText(), "コマンド文字列が指定されていません");
  EXPECT_TRUE(media.commands.empty());
}

TEST(MciChannel, RepliesOnSuccessAndErrorTextsOnFailure) {
  ScriptedMedia media;
  media.script["status cdaudio current track"] = {0, "4"};
  media.script["status cdaudio mode"] = {263, "ignored"};
  MciChannel channel(media);

  std::string output;
  EXPECT_EQ(channel.MciSend("status cdaudio current track", output), 0);
  EXPECT_EQ(output, "4");
  EXPECT_EQ(channel.MciSend("status cdaudio mode", output), 263);
  EXPECT_EQ(output, "no such device, or it is not open");

  // The status marker of a failure, and the channel text behind it.
  const std::string failed = channel.MciStatus("status cdaudio mode");
  EXPECT_EQ(failed, "Error:263");
  EXPECT_EQ(channel.ChannelText(), "no such device, or it is not open");
  EXPECT_EQ(channel.MciStatus("status cdaudio current track"), "4");
  EXPECT_EQ(channel.ChannelText(), "4");

  // A code the platform has no text for still gives a text, and its code.
  media.script["status cdaudio length"] = {999, ""};
  EXPECT_EQ(channel.MciSend("status cdaudio length", output), 999);
  EXPECT_EQ(output, "Error (文字列が取れません)");
  EXPECT_EQ(channel.MciStatus("status cdaudio length"), "Error:999");

  EXPECT_EQ(media.commands, (Commands{"status cdaudio current track", "status cdaudio mode",
                                      "status cdaudio mode", "status cdaudio current track",
                                      "status cdaudio length", "status cdaudio length"}));
}

TEST(MciChannel, TextsAreCutToTheirBuffers) {
  ScriptedMedia media;
  MciChannel channel(media);
  std::string output;

  media.script["long"] = {0, std::string(600, 'a')};
  channel.MciSend("long", output);
  EXPECT_EQ(output, std::string(511, 'a'));
  EXPECT_EQ(channel.MciStatus("long"), std::string(511, 'a'));

  // Counted in characters, and never cut inside one.
  std::string wide;
  for (int i = 0; i < 600; ++i) wide += "曲";
  media.script["wide"] = {0, wide};
  channel.MciSend("wide", output);
  EXPECT_EQ(Characters(output), 511u);
  EXPECT_EQ(output, wide.substr(0, 511 * 3));

  // A reply ends at its first NUL.
  media.script["nul"] = {0, std::string("12\0junk", 7)};
  channel.MciSend("nul", output);
  EXPECT_EQ(output, "12");

  media.errorTexts[700] = std::string(300, 'e');
  media.script["fails"] = {700, ""};
  channel.MciSend("fails", output);
  EXPECT_EQ(output, std::string(255, 'e'));

  // The direct queries' own buffers; a failed one reads as empty.
  media.script["mode"] = {0, std::string(300, 'm')};
  EXPECT_EQ(channel.QueryDirect("mode", 255), std::string(254, 'm'));
  EXPECT_EQ(channel.QueryDirect("mode", 30), std::string(29, 'm'));
  media.script["mode"] = {263, "playing"};
  EXPECT_EQ(channel.QueryDirect("mode", 30), "");
}

TEST(MciChannel, PlayCommandsNameOnlyTheGivenPositions) {
  ScriptedMedia media;
  MciChannel channel(media);
  channel.MciPlay("cdaudio", "", "");
  channel.MciPlay("cdaudio", "04:02:00", "");
  channel.MciPlay("cdaudio", "", "08:02:00");
  channel.MciPlay("cdaudio", "04:02:00", "08:02:00");
  EXPECT_EQ(media.commands,
            (Commands{"play cdaudio", "play cdaudio from 04:02:00", "play cdaudio to 08:02:00",
                      "play cdaudio from 04:02:00 to 08:02:00"}));
  // The device is not open: the latest failure's text stays in the channel.
  EXPECT_EQ(channel.ChannelText(), "no such device, or it is not open");
}

TEST(MciChannel, DirectSendsLeaveTheChannelTextAlone) {
  ScriptedMedia media;
  media.script["status cdaudio current track"] = {0, "2"};
  MciChannel channel(media);
  channel.MciStatus("status cdaudio current track");

  EXPECT_EQ(channel.SendDirect("open cdaudio"), 0);
  EXPECT_EQ(channel.SendDirect("set cdaudio time format tmst"), ScriptedError::BadTimeFormat);
  EXPECT_EQ(channel.QueryDirect("status cdaudio mode", 255), "stopped");
  EXPECT_EQ(channel.ChannelText(), "2");
}

}  // namespace
}  // namespace orvel
