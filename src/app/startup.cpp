#include "app/startup.h"

#include <string>

#include "settings/ascii.h"
#include "settings/numbers.h"
#include "settings/settings_store.h"

namespace orvel {
namespace {

// The screen-saver host's system parameter that tells whether a saver runs.
constexpr unsigned kScreenSaverRunning = 97;

// What follows "/p " or "/a ": the text from its fourth character on.
std::string_view HandleArgument(std::string_view arguments) {
  return arguments.size() > 3 ? arguments.substr(3) : std::string_view{};
}

void OrderPictures(AppState& state, Platform& platform) {
  if (state.catalogue.ImageCount != 0) {
    BuildDisplayOrder(state.catalogue, state.settings.PictureOrder, state.random, platform.clock);
  }
}

}  // namespace

std::optional<char> ModeLetter(std::string_view arguments) {
  if (arguments.size() < 2) return std::nullopt;
  char letter = arguments[1];
  return AsciiUpper(letter);
}

bool IsWindowsNT(System& system) {
  VersionInfo version = system.QueryVersion();
  return version.result == 1 && version.platformId == 2;
}

void EnableSystemKeys(bool enable, System& system) {
  // The flag is the negation of `enable` as a true/false value of all bits:
  // false gives -1 (a saver runs), true gives 0.
  system.SetSystemParameter(kScreenSaverRunning, enable ? 0 : -1);
}

void PrepareSaver(AppState& state, Platform& platform) {
  LoadSettings(state.settings, state.catalogue, platform);
  OrderPictures(state, platform);
}

int Main(std::string_view arguments, AppState& state, Platform& platform, Modes& modes) {
  // Both lookups are made before deciding, as the host has always seen them.
  bool saverOpen = platform.system.WindowExists(std::string(kSaverWindowTitle));
  bool dialogOpen = platform.system.WindowExists(std::string(kDialogWindowTitle));
  if (saverOpen || dialogOpen) return 0;

  const std::optional<char> letter = ModeLetter(arguments);
  if (letter == 'P') {
    modes.ShowPreview(ParseInt32Lenient(HandleArgument(arguments)));
    return 0;
  }

  LoadSettings(state.settings, state.catalogue, platform);

  if (letter == 'A') {
    // A handle that is not a number has no window to own the dialog: end
    // without it rather than hand the password service a made-up owner.
    std::optional<std::int32_t> owner = ParseInt32Strict(HandleArgument(arguments));
    if (!IsWindowsNT(platform.system) && owner) platform.system.ChangePassword("SCRSAVE", *owner);
    return 0;
  }
  if (letter == 'C') {
    modes.ShowSettingsDialog(state);
    return 0;
  }
  if (letter != 'S' && !arguments.empty()) return 0;

  OrderPictures(state, platform);
  if (letter == 'S') {
    state.CursorDisplayCount = platform.system.ShowCursor(false);
    EnableSystemKeys(false, platform.system);
  }
  // A saver that never ran cannot end itself: what was set for it goes
  // back here, as its end would have put it.
  if (!modes.RunSaver(state, arguments) && letter == 'S') {
    state.CursorDisplayCount = platform.system.ShowCursor(true);
    EnableSystemKeys(true, platform.system);
  }
  return 0;
}

}  // namespace orvel
