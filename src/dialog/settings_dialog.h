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
  // Whether the dialog has closed (the window is gone).
  bool Closed() const { return closed_; }

  // A press of any mouse button at (x, y) in the client area (96-dpi
  // pixels); options and the link act at once, buttons take their pressed
  // look.
  void MouseDown(double x, double y);
  // The release that ends a press: a pressed button acts, wherever the
  // pointer is now.
  void MouseUp();
  // A press that ended without its release (the window lost the mouse or
  // the keyboard, or was hidden): a pressed button takes its resting look
  // and does not act, on this release or any later one.
  void PressCancelled();
  // Whether the pointer at (x, y) shows the hand.
  bool HandAt(double x, double y) const;

  // The user's actions on the native controls.
  void ListSelected(int index);
  void ScrollMoved(int position);
  void RepeatTextEdited(const std::string& text);
  // Escape or the window's close button: as the cancel button.
  void CloseRequested();

  // The folder chooser's own scan result (FoundFiles, FoundCount).
  const std::vector<std::string>& FoundFiles() const { return foundFiles_; }

 private:
  // Changing what a control shows, and telling the window.
  void Show(DialogControl control, Look look);
  void SetText(DialogControl control, std::string text);
  void Enable(DialogControl control, bool enabled);

  void PlaceWindow();
  void SelectOption(std::span<const DialogControl> marks, std::int16_t& field, int index);
  void SelectMusic(int index);
  void ToggleKind(int index);
  void PressButton(int index);
  void ReleaseButton(int index);

  // The picture list and its preview.
  void FillListFromCatalogue();
  void FillListFromFound();
  void FillList(std::span<const std::string> paths);
  // False when an error ended the pattern's scan, or a newer scan or the
  // dialog's end made it moot.
  bool CollectPattern(const std::string& pattern, int attribute, unsigned scan);
  void PreviewSelected();

  // The buttons' actions.
  // Whether a chosen path can be kept: one that the settings file could not
  // give back as it is (`what` names it in the message) is refused when it
  // is chosen, with the reason, so that no save fails on it.
  bool AcceptChosenPath(std::string_view what, const std::string& path);
  void ChooseFolder();
  void ChooseMusicFile();
  void ClearList();
  bool SaveSettings();
  void Unload();

  AppState& state_;
  DialogServices services_;
  DialogState shown_ = DialogState::Designed();
  ZoomOrigin zoomOrigin_;
  std::optional<int> pressedButton_;
  std::vector<std::string> foundFiles_;
  std::int16_t foundCount_ = 0;
  // Counts the folder scans begun, so that a scan interrupted by another
  // (the user may choose again while one runs) gives way to it.
  unsigned scans_ = 0;
  bool closed_ = false;
};

}  // namespace orvel
