// The saver inside a window that a screen-saver host on X11 gives it (the
// way xscreensaver runs its hacks): drawn at that window's size, ended by
// the host (a signal, or the window going away) and never by input.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace orvel {

// Where a hack draws: the root window, a window of its own, or a window the
// host names by its id.
struct HackTarget {
  enum class Kind { Root, OwnWindow, Window } kind = Kind::Root;
  unsigned long window = 0;  // the X window id, for Kind::Window
};

// A window narrower or lower than this shows the still picture rather than
// the saver: a settings program's small preview.
inline constexpr int kSmallestSaverWidth = 320;
inline constexpr int kSmallestSaverHeight = 240;

// SIGTERM and SIGINT from now on ask the hack to end (as a key ends the
// saver); without this they would end the program with the music playing.
void EndHackOnSignals();

class X11HackHost : public SaverHost {
 public:
  // Opens the display and the target (a window of its own is made and
  // shown here). nullptr, with the reason on standard error, when either
  // cannot be had.
  static std::unique_ptr<X11HackHost> Create(const HackTarget& target, Clock& clock);
  ~X11HackHost() override;

  // The still picture at its own size from the top-left corner, black
  // elsewhere, until the window goes away or a signal comes.
  void ShowStill();

  // The target window's size.
  int ScreenWidth() override;
  int ScreenHeight() override;
  // The desktop as the host saved it before blanking (its screenshot
  // property on the window), the part under the window; false where the
  // host keeps none.
  bool CaptureDesktop(Image& into) override;
  // The host's window keeps its own title; a window of its own is named
  // "Orvel" when it is made.
  void Show() override;
  void MakeTopMost() override {}
  void Present(const Frame& frame, std::span<const Rect> changed) override;
  // Hands over no input: only a signal or the window's end, as a request
  // to close.
  void ProcessInput(InputHandler& handler) override;
  void WaitUntil(std::int64_t monotonicMs) override;
  std::optional<bool> VerifyPassword() override { return std::nullopt; }
  void Close() override;

  struct State;

 private:
  explicit X11HackHost(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace orvel
