// The saver's full-screen window on Windows: a borderless popup over the
// primary monitor, painted with GDI straight from the frame's pixels.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace orvel {

class Win32SaverHost : public SaverHost {
 public:
  // Makes the process aware of each monitor's scale (where the program's
  // manifest has not already), so that sizes and snapshots are in physical
  // pixels, and makes the window titled `title` (UTF-8), not shown yet.
  // nullptr when no window can be made.
  static std::unique_ptr<Win32SaverHost> Create(Clock& clock, const std::string& title);
  ~Win32SaverHost() override;

  // The primary monitor's size in physical pixels.
  int ScreenWidth() override;
  int ScreenHeight() override;
  // The screen's pixels over the primary monitor, copied from the screen's
  // device context a band of rows at a time.
  bool CaptureDesktop(Image& into) override;
  void Show() override;
  void MakeTopMost() override;
  // Copies each changed rectangle to the window on its own. The window
  // repaints what is uncovered from the last frame, black beyond it.
  void Present(const Frame& frame, std::span<const Rect> changed) override;
  // Dispatches the messages waiting for the window; keys arrive as their
  // virtual-key codes, buttons as 1 (left), 2 (right), 4 (middle) or 0 (a
  // side button), shift states as 1 Shift, 2 Control, 4 Alt; WM_CLOSE as a
  // request to close. The end of the session cannot wait for the next
  // pass: WM_ENDSESSION hands its request to close to this handler (the
  // last one given) before it returns.
  void ProcessInput(InputHandler& handler) override;
  // Sleeps until the time or the next message, whichever comes first, and
  // takes in the messages that arrive meanwhile.
  void WaitUntil(std::int64_t monotonicMs) override;
  // The screen-saver password of password.cpl, which only the 9x family
  // has; nullopt elsewhere, or where the library or its call is missing.
  std::optional<bool> VerifyPassword() override;
  void Close() override;

  // The window's handle (an HWND), for tests.
  void* WindowHandle() const;

  struct State;

 private:
  explicit Win32SaverHost(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace orvel
