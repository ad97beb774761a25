// The window procedure of a window that has a state object of its own.
#pragma once

#include <windows.h>

namespace orvel {

// Hands each message to `State::Handle(message, wParam, lParam)` of the
// state object given to CreateWindowEx, which learns its `window` at
// WM_NCCREATE. Messages before that, or after the state let go of the
// window (its `window` no longer this one), get the default handling.
template <typename State>
LRESULT CALLBACK StateWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* state =
        static_cast<State*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    state->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  }
  auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state == nullptr || state->window != window) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return state->Handle(message, wParam, lParam);
}

}  // namespace orvel
