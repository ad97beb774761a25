// The program on Linux: the command line as the screen-saver host would
// pass it ("/s", "/c", "/p 1234"), run by the portable start-up.
#include <cstdio>
#include <memory>
#include <string>

#include "app/startup.h"
#include "dialog/settings_dialog.h"
#include "music/mci_music.h"
#include "platform/linux/gst_media_control.h"
#include "platform/linux/gst_sound_player.h"
#include "platform/linux/gtk_dialog_view.h"
#include "platform/linux/gtk_saver_host.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/pixbuf_pictures.h"
#include "saver/prefetching_picture_loader.h"
#include "saver/saver.h"
#include "settings/settings_store.h"

namespace orvel {
namespace {

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

  void RunSaver(AppState& state, std::string_view arguments) override {
    LinuxSystem& system = platform_.system;
    std::unique_ptr<GtkSaverHost> host = GtkSaverHost::Create(
        platform_.clock, [&system] { return system.CursorDisplayCount() < 0; });
    if (!host) {
      std::fprintf(stderr, "orvel: cannot open the display\n");
      status = 1;
      return;
    }
    PrefetchingPictureLoader pictures(std::make_shared<PixbufPictureLoader>(), platform_.files);
    GstMediaControl media;
    GstSoundPlayer sound;
    MciMusic music(state.settings, media, sound);
    Saver saver(state, SaverServices{*host, pictures, music, platform_.clock, system}, arguments);
    saver.Run();
  }

 private:
  LinuxPlatform& platform_;
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
  orvel::LinuxModes modes(host);
  const int status = orvel::Main(arguments, state, host.platform, modes);
  return status != 0 ? status : modes.status;
}
