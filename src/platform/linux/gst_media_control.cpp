#include "platform/linux/gst_media_control.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/linux/cdio_disc.h"
#include "platform/linux/gst_cd_device.h"
#include "platform/linux/gst_file_device.h"
#include "platform/linux/mci_command.h"

namespace orvel {

namespace {

// The commands that go to an open device.
constexpr std::array<std::string_view, 8> kDeviceVerbs = {"close",  "play", "stop",   "pause",
                                                          "resume", "seek", "status", "set"};

}  // namespace

GstMediaControl::GstMediaControl() : GstMediaControl(Options{}) {}

GstMediaControl::GstMediaControl(Options options) : options_(std::move(options)) {}

GstMediaControl::~GstMediaControl() = default;

std::optional<std::string> GstMediaControl::ErrorText(int code) { return MciErrorText(code); }

int GstMediaControl::Send(const std::string& command, std::string& reply) {
  reply.clear();
  std::optional<std::vector<std::string>> words = SplitMciWords(command);
  if (!words) return MciError::NoClosingQuote;
  if (words->empty()) return MciError::MissingCommandString;
  std::string verb = LowerWord(words->front());
  std::span<const std::string> rest = std::span<const std::string>(*words).subspan(1);
  MciFlags flags = TakeMciFlags(rest);

  if (verb == "open") return Open(rest);
  if (std::find(kDeviceVerbs.begin(), kDeviceVerbs.end(), verb) == kDeviceVerbs.end()) {
    return MciError::UnrecognizedCommand;
  }
  if (rest.empty()) return MciError::MissingDeviceName;
  std::string name = LowerWord(rest.front());
  if (verb == "close" && name == "all" && rest.size() == 1) {
    devices_.clear();
    return 0;
  }
  auto device = devices_.find(name);
  if (device == devices_.end()) return MciError::InvalidDeviceName;
  if (verb == "close") {
    if (rest.size() > 1) return MciError::UnrecognizedKeyword;
    devices_.erase(device);
    return 0;
  }
  // Waiting for the end of playback would hold up the caller's thread.
  if (verb == "play" && flags.wait) return MciError::UnsupportedFunction;
  return device->second->Command(verb, rest.subspan(1), reply);
}

int GstMediaControl::Open(std::span<const std::string> words) {
  if (words.empty()) return MciError::MissingDeviceName;
  const std::string& element = words.front();
  std::optional<std::string> type;
  std::optional<std::string> alias;
  for (std::size_t at = 1; at < words.size(); ++at) {
    if (SameWord(words[at], "shareable")) continue;
    bool isType = SameWord(words[at], "type");
    if (!isType && !SameWord(words[at], "alias")) return MciError::UnrecognizedKeyword;
    if (at + 1 == words.size()) return MciError::MissingParameter;
    (isType ? type : alias) = words[++at];
  }
  bool cd = SameWord(type.value_or(element), "cdaudio");
  if (type && !cd && !SameWord(*type, "mpegvideo") && !SameWord(*type, "waveaudio")) {
    return MciError::CannotLoadDriver;
  }
  std::string name = LowerWord(alias.value_or(element));
  if (devices_.count(name) != 0) return alias ? MciError::DuplicateAlias : MciError::DeviceOpen;

  if (cd) {
    // "open cdaudio" plays the configured drive; "open <drive> type
    // cdaudio" the one named.
    std::string drive = !SameWord(element, "cdaudio") ? element
                        : !options_.cdDrive.empty()   ? options_.cdDrive
                                                      : DefaultCdDrive();
    if (drive.empty()) return MciError::InvalidDeviceName;
    devices_[name] = std::make_unique<GstCdDevice>(drive, options_.output);
    return 0;
  }
  auto file = std::make_unique<GstFileDevice>(options_.output);
  if (int code = file->Open(element); code != 0) return code;
  devices_[name] = std::move(file);
  return 0;
}

}  // namespace orvel
