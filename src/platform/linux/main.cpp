// The program on Linux: the command line as the screen-saver host would
// pass it ("/s", "/c", "/p 1234"), run by the portable start-up; the
// switches of an xscreensaver hack; --help and --version.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "dialog/settings_dialog.h"
#include "music/mci_music.h"
#include "platform/linux/dialog/gtk_dialog_view.h"
#include "platform/linux/music/gst_media_control.h"
#include "platform/linux/music/gst_sound_player.h"
#include "platform/linux/pictures/pixbuf_pictures.h"
#include "platform/linux/saver/gdk_saver_host.h"
#include "platform/linux/saver/x11_hack_host.h"
#include "platform/linux/system/command_line.h"
#include "platform/linux/system/linux_platform.h"
#include "saver/prefetching_picture_loader.h"
#include "saver/saver.h"
#include "settings/settings_store.h"

namespace orvel {
namespace {

// Decodes each picture only after a pause: how the GUI tests stand for a
// picture that takes long to read (a slow disk, a large photo).
class SlowPictureLoader : public PictureLoader {
 public:
  SlowPictureLoader(std::shared_ptr<PictureLoader> inner, int delayMs)
      : inner_(std::move(inner)), delayMs_(delayMs) {}
  std::optional<Picture> Decode(const std::string& path, const DrawnSize& drawn) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs_));
    return inner_->Decode(path, drawn);
  }

 private:
  std::shared_ptr<PictureLoader> inner_;
  int delayMs_;
};

// The saver's picture decoder, slowed by ORVEL_TEST_DECODE_DELAY_MS
// milliseconds per picture where that is set.
std::shared_ptr<PictureLoader> PictureDecoder() {
  auto pixbuf = std::make_shared<PixbufPictureLoader>();
  const char* delay = std::getenv("ORVEL_TEST_DECODE_DELAY_MS");
  if (delay == nullptr || std::atoi(delay) <= 0) return pixbuf;
  return std::make_shared<SlowPictureLoader>(pixbuf, std::atoi(delay));
}

class LinuxModes : public Modes {
 public:
  explicit LinuxModes(LinuxPlatform& platform) : platform_(platform) {}

  // Non-zero when a mode could not run at all.
  int status = 0;

  // Linux has no screen-saver host with a preview pane to draw into.
  void ShowPreview(std::int32_t) override {}

  void ShowSettingsDialog(AppState& state) override {
    std::unique_ptr<GtkDialogView> view = GtkDialogView::Create(std::string(kDialogWindowTitle));
    if (!view) {
      std::fprintf(stderr, "orvel: cannot open the display\n");
      status = 1;
      return;
    }
    PixbufPictureLoader pictures;
    const std::string iniFile = IniFilePath(platform_.locations, platform_.files);
    SettingsDialog dialog(state, DialogServices{*view, platform_.files, pictures, iniFile});
    view->Attach(dialog);
    dialog.Load();
    view->Run();
  }

  bool RunSaver(AppState& state, std::string_view arguments) override {
    LinuxSystem& system = platform_.system;
    std::unique_ptr<GdkSaverHost> host =
        GdkSaverHost::Create(platform_.clock, std::string(kSaverWindowTitle),
                             [&system] { return system.CursorDisplayCount() < 0; });
    if (!host) {
      std::fprintf(stderr, "orvel: cannot open the display\n");
      status = 1;
      return false;
    }
    PrefetchingPictureLoader pictures(PictureDecoder(), platform_.files);
    GstMediaControl media;
    GstSoundPlayer sound;
    MciMusic music(state.settings, media, sound);
    Saver saver(state, SaverServices{*host, pictures, music, platform_.clock, system}, arguments);
    saver.Run();
    return true;
  }

 private:
  LinuxPlatform& platform_;
};

// The saver as a hack of a screen-saver host: in the host's window, ended
// by the host; a small window shows the still picture.
int RunHack(const HackTarget& target, AppState& state, LinuxPlatform& platform) {
  EndHackOnSignals();
  std::unique_ptr<X11HackHost> host = X11HackHost::Create(target, platform.clock);
  if (!host) return 1;
  if (host->ScreenWidth() < kSmallestSaverWidth || host->ScreenHeight() < kSmallestSaverHeight) {
    host->ShowStill();
    return 0;
  }
  PrepareSaver(state, platform.platform);
  PrefetchingPictureLoader pictures(PictureDecoder(), platform.files);
  GstMediaControl media;
  GstSoundPlayer sound;
  MciMusic music(state.settings, media, sound);
  // No switch: a run that hides nothing and changes nothing in the system.
  Saver saver(state, SaverServices{*host, pictures, music, platform.clock, platform.system}, "");
  saver.Run();
  return 0;
}

}  // namespace
}  // namespace orvel

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const char* hostWindow = std::getenv("XSCREENSAVER_WINDOW");
  const orvel::CommandLine line = orvel::ParseCommandLine(
      arguments,
      hostWindow != nullptr ? std::optional<std::string_view>(hostWindow) : std::nullopt);
  orvel::LinuxPlatform host;
  orvel::AppState state;
  switch (line.kind) {
    case orvel::CommandLine::Kind::Help:
      std::fputs(orvel::HelpText(orvel::IniFilePath(host.locations, host.files)).c_str(), stdout);
      return 0;
    case orvel::CommandLine::Kind::Version:
      std::printf("orvel %s\n", ORVEL_VERSION);
      return 0;
    case orvel::CommandLine::Kind::Invalid:
      std::fprintf(stderr, "orvel: %s (see orvel --help)\n", line.error.c_str());
      return 2;
    case orvel::CommandLine::Kind::Hack:
      return orvel::RunHack(line.target, state, host);
    case orvel::CommandLine::Kind::Saver:
      break;
  }
  // Switches the program does not know end it at once, as they always have.
  if (!orvel::KnownSaverSwitches(line.arguments)) {
    std::fprintf(stderr, "orvel: unknown switch %s (see orvel --help)\n", line.arguments.c_str());
  }
  orvel::LinuxModes modes(host);
  const int status = orvel::Main(line.arguments, state, host.platform, modes);
  return status != 0 ? status : modes.status;
}
