#include "music/mci_channel.h"

#include <optional>

#include "settings/utf8.h"

namespace orvel {
namespace {

constexpr const char* kNoCommandText = "コマンド文字列が指定されていません";
constexpr const char* kNoErrorText = "Error (文字列が取れません)";

}  // namespace

std::string FitToBuffer(const std::string& text, std::size_t bufferSize) {
  const std::string_view beforeNul = std::string_view(text).substr(0, text.find('\0'));
  return std::string(FirstUtf8Chars(beforeNul, bufferSize == 0 ? 0 : bufferSize - 1));
}

int MciChannel::MciSend(const std::string& command, std::string& output) {
  if (command.empty()) {
    output = kNoCommandText;
    return kMciNoCommand;
  }
  std::string reply;
  const int code = media_.Send(command, reply);
  if (code != 0) {
    std::optional<std::string> text = media_.ErrorText(code);
    output = text ? FitToBuffer(*text, kMciErrorBuffer) : kNoErrorText;
    return code;
  }
  output = FitToBuffer(reply, kMciReplyBuffer);
  return 0;
}

std::string MciChannel::MciStatus(const std::string& query) {
  const int code = MciSend(query, channelText_);
  if (code != 0) return "Error:" + std::to_string(code);
  return channelText_;
}

int MciChannel::MciPlay(const std::string& device, const std::string& from, const std::string& to) {
  std::string command = "play " + device;
  if (!from.empty()) command += " from " + from;
  if (!to.empty()) command += " to " + to;
  return MciSend(command, channelText_);
}

int MciChannel::SendDirect(const std::string& command) {
  std::string unused;
  return media_.Send(command, unused);
}

std::string MciChannel::QueryDirect(const std::string& command, std::size_t bufferSize) {
  std::string reply;
  // A failed query leaves its buffer empty.
  if (media_.Send(command, reply) != 0) return "";
  return FitToBuffer(reply, bufferSize);
}

}  // namespace orvel
