// The settings dialog's window on Windows: the painted layer and its
// captions drawn with GDI, the native list, scroll bar and repeat drop-down
// placed by the control table at the monitor's resolution, the shell's
// choosers, and the zoom rectangle the system draws.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/platform.h"

namespace orvel {

class SettingsDialog;

class Win32DialogView : public DialogView {
 public:
  // Builds the window with the title (so that another copy finds it), not
  // yet shown; nullptr when it cannot be made.
  static std::unique_ptr<Win32DialogView> Create(const std::string& title);
  ~Win32DialogView() override;

  // The dialog whose state the window shows and to which it hands the
  // user's actions; set before the dialog loads.
  void Attach(SettingsDialog& dialog);
  // Shows the window and runs until Close.
  void Run();

  // The window; nullptr once closed.
  HWND Window() const;
  // Device pixels to one 96-dpi pixel (1 at 96 dpi).
  double Scale() const;

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
  explicit Win32DialogView(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace orvel
