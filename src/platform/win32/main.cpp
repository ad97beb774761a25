// The program on Windows, Orvel.scr: the command line as the screen-saver
// host passes it ("/s", "/p 1234", "/c:1234", "/a 1234"), run by the
// portable start-up.
#include <windows.h>

#include <memory>
#include <string>

#include "app/startup.h"
#include "dialog/settings_dialog.h"
#include "music/mci_music.h"
#include "platform/win32/dialog/win32_dialog_view.h"
#include "platform/win32/music/win32_media_control.h"
#include "platform/win32/music/win32_sound_player.h"
#include "platform/win32/pictures/win32_pictures.h"
#include "platform/win32/saver/win32_preview.h"
#include "platform/win32/saver/win32_saver_host.h"
#include "platform/win32/system/wide_text.h"
#include "platform/win32/system/win32_platform.h"
#include "saver/prefetching_picture_loader.h"
#include "saver/saver.h"
#include "settings/settings_store.h"

namespace orvel {
namespace {

class Win32Modes : public Modes {
 public:
  explicit Win32Modes(Win32Platform& platform) : platform_(platform) {}

  // Non-zero when a mode could not run at all.
  int status = 0;

  void ShowPreview(std::int32_t hostWindow) override {
    std::unique_ptr<Win32Preview> preview = Win32Preview::Show(hostWindow);
    if (!preview) {
      status = 1;
      return;
    }
    preview->Run();
  }

  void ShowSettingsDialog(AppState& state) override {
    std::unique_ptr<Win32DialogView> view =
        Win32DialogView::Create(std::string(kDialogWindowTitle));
    if (!view) {
      status = 1;
      return;
    }
    Win32PictureLoader pictures;
    const std::string iniFile = IniFilePath(platform_.locations, platform_.files);
    SettingsDialog dialog(state, DialogServices{*view, platform_.files, pictures, iniFile});
    view->Attach(dialog);
    dialog.Load();
    view->Run();
  }

  bool RunSaver(AppState& state, std::string_view arguments) override {
    std::unique_ptr<Win32SaverHost> host =
        Win32SaverHost::Create(platform_.clock, std::string(kSaverWindowTitle));
    if (!host) {
      status = 1;
      return false;
    }
    PrefetchingPictureLoader pictures(std::make_shared<Win32PictureLoader>(), platform_.files);
    Win32MediaControl media;
    Win32SoundPlayer sound;
    MciMusic music(state.settings, media, sound);
    Saver saver(state, SaverServices{*host, pictures, music, platform_.clock, platform_.system},
                arguments);
    saver.Run();
    return true;
  }

 private:
  Win32Platform& platform_;
};

}  // namespace
}  // namespace orvel

// The command line arrives without the program's name and the blanks after
// it.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  const std::string arguments = orvel::Utf8FromWide(commandLine != nullptr ? commandLine : L"");
  orvel::Win32Platform host;
  orvel::AppState state;
  orvel::Win32Modes modes(host);
  const int status = orvel::Main(arguments, state, host.platform, modes);
  return status != 0 ? status : modes.status;
}
