// The settings dialog's window on Linux, GTK 3: the painted layer and its
// captions, the native list, scroll bar and repeat drop-down placed by the
// control table, GTK's choosers, and the zoom rectangle on X11.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace orvel {

class SettingsDialog;

class GtkDialogView : public DialogView {
 public:
  // Opens the display (X11 where there is one, so that another copy finds
  // the window by its title) and builds the window, not yet shown; nullptr
  // when no display opens.
  static std::unique_ptr<GtkDialogView> Create(const std::string& title);
  ~GtkDialogView() override;

  // The dialog whose state the window shows and to which it hands the
  // user's actions; set before the dialog loads.
  void Attach(SettingsDialog& dialog);
  // Shows the window and runs until Close.
  void Run();

  void Changed(DialogControl control) override;
  Rect PrimaryMonitor() override;
  void Place(const Rect& frame) override;
  Rect WindowRect() override;
  std::optional<ScreenPoint> PointerPosition() override;
  void AnimateZoom(const Rect& from, const Rect& to) override;
  std::optional<std::string> ChooseFolder(const std::string& title) override;
  std::optional<std::string> ChooseFile(const FileRequest& request) override;
  void OpenLink(const std::string& address) override;
  void ShowMessage(const std::string& text) override;
  void ProcessPendingEvents() override;
  void SetBusyPointer(bool busy) override;
  void Close() override;

  struct State;

 private:
  explicit GtkDialogView(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace orvel
