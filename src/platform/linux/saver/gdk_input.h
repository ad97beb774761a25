// How GDK's keys, buttons and modifier states are told to the saver: as the
// virtual-key codes, button values and shift values of the Windows build.
// The values are X key symbols and GDK button and modifier bits, so this
// header needs no toolkit header.
#pragma once

#include <optional>

#include "platform/platform.h"

namespace orvel {

// The virtual-key code of a GDK key value: letters of either case give 'A'
// to 'Z', digits '0' to '9', the arrows 37 to 40 (also those of the keypad
// with Num Lock off), modifiers 16 (Shift), 17 (Control) and 18 (Alt and
// AltGr). A key without a code of its own gives VirtualKey::Unknown.
int VirtualKeyFromKeyval(unsigned keyval);

// The code of a key press: the key value as typed, or, where that has no
// code of its own (a shifted digit, "!"), the key value the same key gives
// without modifiers.
int VirtualKeyForPress(unsigned keyval, unsigned unmodifiedKeyval);

// The button value of a GDK button number: 1 left, 2 right, 4 middle, 0 for
// any other button (the side buttons still end the saver); nullopt for the
// wheel (buttons 4 to 7), which scrolls rather than clicks.
std::optional<int> MouseButtonValue(unsigned gdkButton);

// The buttons held in a GDK modifier state, as a sum of button values.
int HeldButtons(unsigned gdkState);

// The shift value of a GDK modifier state: 1 Shift, 2 Control, 4 Alt.
int ShiftValue(unsigned gdkState);

}  // namespace orvel
