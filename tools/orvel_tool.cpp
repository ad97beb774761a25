// orvel-tool: developer and diagnostic commands around the saver's core.
#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "commands.h"

namespace orvel {

int UsageError(const std::string& usage) {
  std::fprintf(stderr, "usage: orvel-tool %s\n", usage.c_str());
  return 2;
}

}  // namespace orvel

namespace {

int RunCommand(const std::string& command, const orvel::Arguments& rest) {
  using namespace orvel;
  if (command == "settings") return SettingsCommand(rest);
  if (command == "draw-orbs") return DrawOrbsCommand(rest);
  if (command == "compose") return ComposeCommand(rest);
  if (command == "render") return RenderCommand(rest);
  if (command == "bench") return BenchCommand(rest);
  if (command == "skin") return SkinCommand(rest);
  if (command == "dialog-layout") return DialogLayoutCommand(rest);
  return UsageError(
      "settings [--ini FILE] [--display-order [--seed N]]\n"
      "       orvel-tool draw-orbs --background IN --orbs \"X,Y,R,G,B;...\" --out OUT.png\n"
      "       orvel-tool compose --screen WxH --picture-size N PICTURE --out OUT.png\n"
      "       orvel-tool render --screen WxH --seed N --frames K [--every M]\n"
      "                         [--background IN | --ini FILE] --out DIR\n"
      "       orvel-tool bench --screen WxH --frames K\n"
      "       orvel-tool skin --out DIR [--scale S]\n"
      "       orvel-tool dialog-layout [--scale S]\n"
      "(run a command without arguments for what it accepts)");
}

}  // namespace

int main(int argc, char** argv) {
  const orvel::Arguments arguments(argv + 1, argv + argc);
  const std::string command = arguments.empty() ? "" : arguments[0];
  const orvel::Arguments rest(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end());
  try {
    return RunCommand(command, rest);
  } catch (const std::bad_alloc&) {
    // A screen of 16384 x 16384 needs 1 GiB for each of its images.
    std::fprintf(stderr, "orvel-tool %s: not enough memory\n", command.c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "orvel-tool %s: %s\n", command.c_str(), error.what());
  }
  return 1;
}
