// The channel through which the music players talk to the media control
// interpreter: command strings out, result codes and reply texts back.
#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace orvel {

// The reply buffer a command's answer is read into: 512 characters, so a
// reply keeps at most 511.
inline constexpr std::size_t kMciReplyBuffer = 512;
// The buffer an error code's text is read into: at most 255 characters.
inline constexpr std::size_t kMciErrorBuffer = 256;
// The result code of a send that had no command to send.
inline constexpr int kMciNoCommand = -1;

// What a text of the platform keeps in a buffer of `bufferSize` characters:
// everything in front of its first NUL, and at most bufferSize - 1
// characters of that. Characters are counted as UTF-8 characters, so a cut
// never splits one.
std::string FitToBuffer(const std::string& text, std::size_t bufferSize);

class MciChannel {
 public:
  explicit MciChannel(MediaControl& media) : media_(media) {}
  MciChannel(const MciChannel&) = delete;
  MciChannel& operator=(const MciChannel&) = delete;

  // Sends `command` and returns its result code. `output` then holds the
  // reply (code 0) or the error text of the code (any other code). An empty
  // command is not sent: the code is kMciNoCommand.
  int MciSend(const std::string& command, std::string& output);

  // The reply to `query`, or "Error:" and the code when the query failed
  // (so a failure shows as "ERR" in the upper-cased text). The channel text
  // keeps the reply or the error text.
  std::string MciStatus(const std::string& query);

  // Sends "play <device>", with " from <from>" and " to <to>" where these
  // are not empty. Positions are handed on exactly as a status reply gave
  // them. The channel text keeps the reply or the error text.
  int MciPlay(const std::string& device, const std::string& from, const std::string& to);

  // A command whose answer nobody reads: sent as it is, without a reply
  // buffer; the channel text is left alone.
  int SendDirect(const std::string& command);

  // A query sent as it is, with a reply buffer of its own of `bufferSize`
  // characters; the reply, or "" when the query failed. The channel text is
  // left alone.
  std::string QueryDirect(const std::string& command, std::size_t bufferSize);

 private:
  MediaControl& media_;
  // The reply of the latest successful MciStatus or MciPlay, or the error
  // text of the latest failed one.
  std::string channelText_;
};

}  // namespace orvel
