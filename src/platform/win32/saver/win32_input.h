// How the saver window's mouse and key messages are told to the saver: the
// button and shift values the core expects (keys are already virtual-key
// codes on Windows).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/input_queue.h"

namespace orvel {

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
