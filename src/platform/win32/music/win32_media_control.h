// The media control interface on Windows: the command strings go to the
// system's own interpreter (mciSendStringW), which knows the devices
// "cdaudio" and "MPEGVideo".
#pragma once

#include "platform/platform.h"

namespace orvel {

// Commands and replies are UTF-8 here and UTF-16 for the system, so that a
// music file's Japanese name reaches the device intact on any system. A
// command that is not valid text is refused as an unrecognised command.
class Win32MediaControl : public MediaControl {
 public:
  int Send(const std::string& command, std::string& reply) override;
  std::optional<std::string> ErrorText(int code) override;
};

}  // namespace orvel
