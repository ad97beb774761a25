// How the saver window's mouse and key messages are told to the saver: the
// button and shift values the core expects (keys are already virtual-key
// codes on Windows).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/platform.h"

namespace orvel {

// What one window message hands the saver.
struct InputEvent {
  enum Kind { MouseDown, MouseMove, KeyDown, Close } kind = KeyDown;
  int button = 0;  // of a press: the button; of a move: the buttons held
  int shift = 0;
  float x = 0;
  float y = 0;
  int key = 0;
};

// Which modifier keys are down, as the keyboard state reports them.
struct ModifierKeys {
  bool shift = false;
  bool control = false;
  bool alt = false;
};

// The event of a mouse or key message; nullopt for every other message
// (the wheel included, which scrolls rather than clicks). A press of a side
// button gives button 0: it still ends the saver. The arguments are the
// message's own.
std::optional<InputEvent> InputOfMessage(unsigned message, std::uintptr_t wParam,
                                         std::intptr_t lParam, ModifierKeys modifiers);

}  // namespace orvel
