// A device opened through the media control interpreter.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace orvel {

class MciDevice {
 public:
  virtual ~MciDevice() = default;
  // Carries out `verb` (in lower case: play, stop, status or set) with the
  // words that follow the device name. Returns 0 or an MciError code;
  // `reply` receives the answer of a status query.
  virtual int Command(std::string_view verb, std::span<const std::string> words,
                      std::string& reply) = 0;
};

}  // namespace orvel
