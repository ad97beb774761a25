#include "platform/linux/music/gst_media_control.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/linux/music/cdio_disc.h"
#include "platform/linux/music/gst_cd_device.h"
#include "platform/linux/music/gst_file_device.h"
#include "platform/linux/music/mci_command.h"

namespace orvel {

namespace {

// The commands that go to an open device.
constexpr std::array<std::string_view, 5> kDeviceVerbs = {"close", "play", "stop", "status", "set"};

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

  if (verb == "open") return Open(rest);
  if (std::find(kDeviceVerbs.begin(), kDeviceVerbs.end(), verb) == kDeviceVerbs.end()) {
    return MciError::UnrecognizedCommand;
  }
  if (rest.empty()) return MciError::MissingDeviceName;
  auto device = devices_.find(LowerWord(rest.front()));
  if (device == devices_.end()) return MciError::InvalidDeviceName;
  if (verb == "close") {
    if (rest.size() > 1) return MciError::UnrecognizedKeyword;
    devices_.erase(device);
    return 0;
  }
  return device->second->Command(verb, rest.subspan(1), reply);
}

int GstMediaControl::Open(std::span<const std::string> words) {
  if (words.empty()) return MciError::MissingDeviceName;
  if (SameWord(words[0], "cdaudio")) {
    if (words.size() > 1) return MciError::UnrecognizedKeyword;
    if (devices_.count("cdaudio") != 0) return MciError::DeviceOpen;
    std::string drive = !options_.cdDrive.empty() ? options_.cdDrive : DefaultCdDrive();
    if (drive.empty()) return MciError::InvalidDeviceName;
    devices_["cdaudio"] =
        std::make_unique<GstCdDevice>(std::make_unique<CdDrive>(drive), options_.output);
    return 0;
  }

  // A music file: <path> type MPEGVideo alias <name>.
  if (words.size() != 5 || !SameWord(words[1], "type") || !SameWord(words[3], "alias")) {
    return MciError::UnrecognizedKeyword;
  }
  if (!SameWord(words[2], "mpegvideo")) return MciError::CannotLoadDriver;
  std::string name = LowerWord(words[4]);
  // A file may not take the CD's name, even before the CD is opened.
  if (devices_.count(name) != 0 || name == "cdaudio") return MciError::DuplicateAlias;
  auto file = std::make_unique<GstFileDevice>(options_.output);
  if (int code = file->Open(words[0]); code != 0) return code;
  devices_[name] = std::move(file);
  return 0;
}

}  // namespace orvel
