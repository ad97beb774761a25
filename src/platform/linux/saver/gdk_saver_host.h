// The saver's full-screen window on Linux: GDK 3 alone, preferably on X11
// (GTK's widgets would load its theme, some 8 MB more of memory). It shows
// the saver on the primary monitor; every other monitor gets a black
// window of its own (shown, kept above and taken down with the saver
// window, and with the pointer hidden as over it) whose input counts as
// the saver window's.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace orvel {

class GdkSaverHost : public SaverHost {
 public:
  // Opens the display (X11 where there is one, so that the desktop can be
  // captured and the window found by title) and makes the window titled
  // `title` (UTF-8), not shown yet; nullptr when no display opens.
  // `pointerHidden` tells whether the pointer is to be hidden over the
  // window; it is asked again at every event pass. From now on SIGTERM,
  // SIGHUP and SIGINT ask the window to close, as the window manager's
  // close does.
  static std::unique_ptr<GdkSaverHost> Create(Clock& clock, const std::string& title,
                                              std::function<bool()> pointerHidden);
  ~GdkSaverHost() override;

  // The primary monitor's size in device pixels.
  int ScreenWidth() override;
  int ScreenHeight() override;
  // A grab of the root window over the primary monitor; false on a display
  // that is not X11 and in a Wayland session, where the X root window does
  // not show the desktop.
  bool CaptureDesktop(Image& into) override;
  void Show() override;
  void MakeTopMost() override;
  // Paints each changed rectangle on its own straight from the frame's
  // pixels, which stay wrapped (not copied) between frames.
  void Present(const Frame& frame, std::span<const Rect> changed) override;
  void ProcessInput(InputHandler& handler) override;
  void WaitUntil(std::int64_t monotonicMs) override;
  // There is no password service on Linux.
  std::optional<bool> VerifyPassword() override { return std::nullopt; }
  void Close() override;

  // The window's X window id (0 on another display), for tests.
  unsigned long XWindow() const;

  struct State;

 private:
  GdkSaverHost(std::unique_ptr<State> state, const std::string& title);
  std::unique_ptr<State> state_;
};

}  // namespace orvel
