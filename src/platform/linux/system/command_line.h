// The Linux program's command line: the screen-saver switches ("/s", "/c",
// ...) as the core takes them, the switches of a screen-saver hack under
// xscreensaver ("-root", "-window", "-window-id ID", also with two dashes,
// and the window in XSCREENSAVER_WINDOW), and --help and --version.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/linux/saver/x11_hack_host.h"

namespace orvel {

struct CommandLine {
  enum class Kind { Saver, Hack, Help, Version, Invalid } kind = Kind::Saver;
  // Saver: the switches joined by blanks, as the core reads them.
  std::string arguments;
  // Hack: where to draw.
  HackTarget target;
  // Invalid: what is wrong, one line.
  std::string error;
};

// `xscreensaverWindow` is the variable's value (nullopt when unset): the
// host's window as a decimal or 0x-prefixed hexadecimal number.
CommandLine ParseCommandLine(std::span<const std::string> arguments,
                             std::optional<std::string_view> xscreensaverWindow);

// Whether the core knows the switches in `arguments` ("" is a test run);
// those it does not know end the program at once.
bool KnownSaverSwitches(std::string_view arguments);

// What --help prints: the switches, and where the settings file is.
std::string HelpText(const std::string& settingsFile);

}  // namespace orvel
