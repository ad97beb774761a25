#include "platform/linux/system/command_line.h"

#include <charconv>
#include <cstdint>

#include "app/startup.h"

namespace orvel {
namespace {

// An X window id: decimal, or hexadecimal after "0x"; never 0, and within
// the 29 bits the server hands out.
std::optional<unsigned long> ParseWindowId(std::string_view text) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  std::uint32_t id = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id, base);
  if (error != std::errc() || end != text.data() + text.size() || id == 0 || id >= (1u << 29)) {
    return std::nullopt;
  }
  return static_cast<unsigned long>(id);
}

// A hack's switch with one dash: xscreensaver 6 writes them with two.
std::string_view OneDash(std::string_view argument) {
  if (argument.starts_with("--")) argument.remove_prefix(1);
  return argument;
}

bool IsHackSwitch(std::string_view argument) {
  argument = OneDash(argument);
  return argument == "-root" || argument == "-window" || argument == "-window-id";
}

CommandLine OfKind(CommandLine::Kind kind) {
  CommandLine line;
  line.kind = kind;
  return line;
}

CommandLine Invalid(std::string error) {
  CommandLine line = OfKind(CommandLine::Kind::Invalid);
  line.error = std::move(error);
  return line;
}

// The hack's switches; the host's variable names the window for "-root"
// and where there are none.
CommandLine ParseHack(std::span<const std::string> arguments,
                      std::optional<std::string_view> xscreensaverWindow) {
  CommandLine line = OfKind(CommandLine::Kind::Hack);
  bool root = arguments.empty();
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = OneDash(arguments[i]);
    if (argument == "-root") {
      root = true;
      line.target = {HackTarget::Kind::Root, 0};
    } else if (argument == "-window") {
      root = false;
      line.target = {HackTarget::Kind::OwnWindow, 0};
    } else if (argument == "-window-id") {
      if (i + 1 == arguments.size()) return Invalid("-window-id needs a window id");
      const std::optional<unsigned long> id = ParseWindowId(arguments[++i]);
      if (!id) return Invalid("-window-id " + arguments[i] + ": not a window id");
      root = false;
      line.target = {HackTarget::Kind::Window, *id};
    } else {
      return Invalid("unknown switch " + arguments[i] + " after " + arguments[0]);
    }
  }
  if (root && xscreensaverWindow) {
    const std::optional<unsigned long> id = ParseWindowId(*xscreensaverWindow);
    if (!id) {
      return Invalid("XSCREENSAVER_WINDOW=" + std::string(*xscreensaverWindow) +
                     ": not a window id");
    }
    line.target = {HackTarget::Kind::Window, *id};
  }
  return line;
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string> arguments,
                             std::optional<std::string_view> xscreensaverWindow) {
  if (!arguments.empty() && arguments[0] == "--help") return OfKind(CommandLine::Kind::Help);
  if (!arguments.empty() && arguments[0] == "--version") return OfKind(CommandLine::Kind::Version);
  if ((arguments.empty() && xscreensaverWindow) ||
      (!arguments.empty() && IsHackSwitch(arguments[0]))) {
    return ParseHack(arguments, xscreensaverWindow);
  }
  CommandLine line;
  for (const std::string& argument : arguments) {
    if (!line.arguments.empty()) line.arguments += ' ';
    line.arguments += argument;
  }
  return line;
}

bool KnownSaverSwitches(std::string_view arguments) {
  const std::optional<char> letter = ModeLetter(arguments);
  return arguments.empty() || letter == 'S' || letter == 'C' || letter == 'P' || letter == 'A';
}

std::string HelpText(const std::string& settingsFile) {
  return "Usage: orvel [SWITCH]\n"
         "Ten soft, tinted orbs drift and rise over your desktop or your pictures.\n"
         "\n"
         "  /s               run the screen saver (a key, a click or a diagonal\n"
         "                   mouse movement ends it)\n"
         "  (none)           a test run: the pointer stays, mouse movement is ignored\n"
         "  /c               open the settings dialog\n"
         "  -root            run as a hack of xscreensaver, in the window it names\n"
         "                   in XSCREENSAVER_WINDOW, or on the root window\n"
         "  -window          run as a hack in a window of its own\n"
         "  -window-id ID    run as a hack in the window ID (a small window shows\n"
         "                   the preview picture)\n"
         "                   (the hack's switches may also take two dashes)\n"
         "  --help           show this help\n"
         "  --version        show the version\n"
         "\n"
         "Settings file: " +
         settingsFile + "\n";
}

}  // namespace orvel
