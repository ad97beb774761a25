// The program on Linux: the command line as the screen-saver host would
// pass it ("/s", "/c", "/p 1234"), run by the portable start-up.
#include <cstdio>
#include <string>

#include "app/startup.h"
#include "platform/linux/linux_platform.h"

namespace orvel {
namespace {

class LinuxModes : public Modes {
 public:
  // Linux has no screen-saver host with a preview pane to draw into.
  void ShowPreview(std::int32_t) override {}

  void ShowSettingsDialog(AppState&) override {
    std::fprintf(stderr, "orvel: this build has no settings dialog yet\n");
  }

  void RunSaver(AppState&, std::string_view) override {
    std::fprintf(stderr, "orvel: this build has no saver window yet\n");
  }
};

}  // namespace
}  // namespace orvel

int main(int argc, char** argv) {
  std::string arguments;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) arguments += ' ';
    arguments += argv[i];
  }
  orvel::LinuxPlatform host;
  orvel::AppState state;
  orvel::LinuxModes modes;
  return orvel::Main(arguments, state, host.platform, modes);
}
