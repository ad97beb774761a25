// orvel-tool: developer and diagnostic commands around the saver's core.
#include <cstdio>
#include <string>

#include "commands.h"

namespace orvel {

int UsageError(const std::string& usage) {
  std::fprintf(stderr, "usage: orvel-tool %s\n", usage.c_str());
  return 2;
}

}  // namespace orvel

int main(int argc, char** argv) {
  using namespace orvel;
  const Arguments arguments(argv + 1, argv + argc);
  const std::string command = arguments.empty() ? "" : arguments[0];
  const Arguments rest(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end());
  if (command == "settings") return SettingsCommand(rest);
  return UsageError("settings [--ini FILE] [--display-order [--seed N]]");
}
