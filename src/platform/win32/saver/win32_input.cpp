#include "platform/win32/saver/win32_input.h"

#include <windows.h>

namespace orvel {
namespace {

int ShiftValue(ModifierKeys keys) {
  return (keys.shift ? 1 : 0) | (keys.control ? 2 : 0) | (keys.alt ? 4 : 0);
}

// The buttons held, from a mouse message's key flags.
int HeldButtons(std::uintptr_t flags) {
  return ((flags & MK_LBUTTON) != 0 ? 1 : 0) | ((flags & MK_RBUTTON) != 0 ? 2 : 0) |
         ((flags & MK_MBUTTON) != 0 ? 4 : 0);
}

InputEvent Mouse(InputEvent::Kind kind, int button, std::intptr_t lParam, ModifierKeys keys) {
  InputEvent event;
  event.kind = kind;
  event.button = button;
  event.shift = ShiftValue(keys);
  // Signed: a captured pointer left of or above the window is negative.
  event.x = static_cast<float>(static_cast<short>(LOWORD(lParam)));
  event.y = static_cast<float>(static_cast<short>(HIWORD(lParam)));
  return event;
}

}  // namespace

std::optional<InputEvent> InputOfMessage(unsigned message, std::uintptr_t wParam,
                                         std::intptr_t lParam, ModifierKeys modifiers) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return Mouse(InputEvent::MouseDown, 1, lParam, modifiers);
    case WM_RBUTTONDOWN:
      return Mouse(InputEvent::MouseDown, 2, lParam, modifiers);
    case WM_MBUTTONDOWN:
      return Mouse(InputEvent::MouseDown, 4, lParam, modifiers);
    case WM_XBUTTONDOWN:
      return Mouse(InputEvent::MouseDown, 0, lParam, modifiers);
    case WM_MOUSEMOVE:
      return Mouse(InputEvent::MouseMove, HeldButtons(wParam), lParam, modifiers);
    // Alt, F10 and keys pressed with Alt come as system keys.
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      InputEvent event;
      event.kind = InputEvent::KeyDown;
      event.key = static_cast<int>(wParam & 0xFF);
      event.shift = ShiftValue(modifiers);
      return event;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace orvel
