// The preview in the screen-saver host's pane: the still picture of the
// saver at work, in a child window of the pane.
#pragma once

#include <cstdint>
#include <memory>

namespace orvel {

class Win32Preview {
 public:
  // Shows the preview in the pane `hostWindow` (a window handle as the host
  // passes it): a black child window at the pane's top-left corner and of
  // its size, the still drawn at its own size from the top-left corner.
  // Where the handle names no window, the preview is a zero-sized window of
  // its own. nullptr when no window can be made.
  static std::unique_ptr<Win32Preview> Show(std::int32_t hostWindow);
  ~Win32Preview();

  Win32Preview(const Win32Preview&) = delete;
  Win32Preview& operator=(const Win32Preview&) = delete;

  // Runs until the host takes the pane's child window down, which ends the
  // preview; at once where there is no pane, which would never do so.
  void Run();

  // The preview's window (an HWND), for tests; null once it is gone.
  void* WindowHandle() const;

  struct State;

 private:
  explicit Win32Preview(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace orvel
