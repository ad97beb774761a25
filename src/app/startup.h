// The program's entry: the single-instance test, the mode letter of the
// command line and the dispatch to preview, password change, settings
// dialog and saver.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "app/app_state.h"
#include "platform/platform.h"

namespace orvel {

inline constexpr std::string_view kSaverWindowTitle = "Orvel_Main";
inline constexpr std::string_view kDialogWindowTitle = "Orvelの設定";

// The modes that the start-up hands over to. Each call returns when its
// window has closed.
class Modes {
 public:
  virtual ~Modes() = default;
  virtual void ShowPreview(std::int32_t hostWindow) = 0;
  virtual void ShowSettingsDialog(AppState& state) = 0;
  // The saver; `arguments` is the command line (empty for a test run).
  // False when its window could not be made, so that nothing ran.
  virtual bool RunSaver(AppState& state, std::string_view arguments) = 0;
};

// The second character of the upper-cased argument text; nullopt when the
// text is shorter than two characters.
std::optional<char> ModeLetter(std::string_view arguments);

// Whether the platform is of the NT family.
bool IsWindowsNT(System& system);

// Tells the system whether a screen saver runs: false means one runs.
void EnableSystemKeys(bool enable, System& system);

// What the saver needs before it starts, wherever it runs: the settings
// and the pictures in their display order.
void PrepareSaver(AppState& state, Platform& platform);

// Runs the program for one command line (the text after the program's
// name); returns its exit status.
int Main(std::string_view arguments, AppState& state, Platform& platform, Modes& modes);

}  // namespace orvel
