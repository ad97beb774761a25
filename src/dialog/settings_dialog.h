// The settings dialog's logic: it builds the dialog from the settings,
// answers the user's presses, scans a chosen folder, previews a picture and
// saves. It works on the program's one settings record and catalogue and
// keeps no copy of them; what it shows lives in its DialogState, and its
// window (a DialogView) draws that.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "dialog/dialog_state.h"
#include "platform/platform.h"
#include "settings/window_effects.h"

namespace orvel {

// What the dialog needs besides its window.
struct DialogServices {
  DialogView& view;
  FileSystem& files;
  PictureLoader& pictures;
  // The settings file that the confirm button writes.
  std::string iniFile;
};

class SettingsDialog {
 public:
  SettingsDialog(AppState& state, const DialogServices& services);

  // Builds the dialog from the settings: size and place, marks, texts,
  // list, then the opening zoom. Runs once, before the window shows.
  void Load();

  const DialogState& State() const { return shown_; }

  // A press of any mouse button at (x, y) in the client area (96-dpi
  // pixels); options and links act at once, buttons take their pressed
  // look.
  void MouseDown(double x, double y);
  // The release that ends a press: a pressed button acts, wherever the
  // pointer is now.
  void MouseUp();
  // Whether the pointer at (x, y) shows the hand.
  bool HandAt(double x, double y) const;

  // The user's actions on the native controls.
  void ListSelected(int index);
  void ScrollMoved(int position);
  void RepeatTextEdited(const std::string& text);
  // Escape or the window's close button: as the cancel button.
  void CloseRequested();

  // The folder chooser's own scan result.
  const std::vector<std::string>& FoundFiles() const { return foundFiles_; }

 private:
  AppState& state_;
  DialogServices services_;
  DialogState shown_ = DialogState::Designed();
  ZoomOrigin zoomOrigin_;
  std::optional<int> pressedButton_;
  std::vector<std::string> foundFiles_;
  std::int16_t foundCount_ = 0;
};

}  // namespace orvel
