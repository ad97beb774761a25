// The saver window's input as a host takes it in between the saver's
// passes, handed over in the order it came. Both systems' hosts keep one.
#pragma once

#include <deque>

#include "platform/platform.h"

namespace orvel {

// One piece of input, in the values the saver expects.
struct InputEvent {
  enum Kind { MouseDown, MouseMove, KeyDown, Close } kind = KeyDown;
  int button = 0;  // of a press: the button; of a move: the buttons held
  int shift = 0;
  float x = 0;
  float y = 0;
  int key = 0;
};

class InputQueue {
 public:
  void Push(const InputEvent& event) { events_.push_back(event); }

  // A request to close (the window's own, a signal's, the session's end)
  // waits in the queue once until the saver has been told of it.
  void AskToClose() {
    if (closeAsked_) return;
    closeAsked_ = true;
    events_.push_back(InputEvent{InputEvent::Close});
  }
  bool CloseAsked() const { return closeAsked_; }

  // Hands the queue to `handler`, stopping once `closed()` holds: the
  // window went. A handover already under way (a handler's own message
  // loop came back here) goes on with what came meanwhile instead.
  template <typename Closed>
  void Deliver(InputHandler& handler, Closed closed) {
    if (delivering_) return;
    delivering_ = true;
    while (!closed() && !events_.empty()) {
      const InputEvent event = events_.front();
      events_.pop_front();
      switch (event.kind) {
        case InputEvent::MouseDown:
          handler.MouseDown(event.button, event.shift, event.x, event.y);
          break;
        case InputEvent::MouseMove:
          handler.MouseMove(event.button, event.shift, event.x, event.y);
          break;
        case InputEvent::KeyDown:
          handler.KeyDown(event.key, event.shift);
          break;
        case InputEvent::Close:
          closeAsked_ = false;
          handler.CloseRequested();
          break;
      }
    }
    delivering_ = false;
  }

  void Clear() {
    events_.clear();
    closeAsked_ = false;
  }

 private:
  std::deque<InputEvent> events_;
  bool closeAsked_ = false;
  bool delivering_ = false;
};

}  // namespace orvel
