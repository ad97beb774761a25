#include "platform/linux/saver/gdk_input.h"

#include <gdk/gdk.h>

namespace orvel {
namespace {

struct KeyPair {
  unsigned keyval;
  int code;
};

// Keys whose code does not follow from a range.
constexpr KeyPair kKeys[] = {
    {GDK_KEY_BackSpace, VirtualKey::Back},
    {GDK_KEY_Tab, VirtualKey::Tab},
    {GDK_KEY_ISO_Left_Tab, VirtualKey::Tab},
    {GDK_KEY_Clear, 12},
    {GDK_KEY_KP_Begin, 12},
    {GDK_KEY_Return, VirtualKey::Return},
    {GDK_KEY_KP_Enter, VirtualKey::Return},
    {GDK_KEY_Shift_L, VirtualKey::Shift},
    {GDK_KEY_Shift_R, VirtualKey::Shift},
    {GDK_KEY_Control_L, VirtualKey::Control},
    {GDK_KEY_Control_R, VirtualKey::Control},
    {GDK_KEY_Alt_L, VirtualKey::Alt},
    {GDK_KEY_Alt_R, VirtualKey::Alt},
    {GDK_KEY_Meta_L, VirtualKey::Alt},
    {GDK_KEY_Meta_R, VirtualKey::Alt},
    {GDK_KEY_ISO_Level3_Shift, VirtualKey::Alt},
    {GDK_KEY_Pause, 19},
    {GDK_KEY_Caps_Lock, 20},
    {GDK_KEY_Escape, VirtualKey::Escape},
    {GDK_KEY_space, VirtualKey::Space},
    {GDK_KEY_KP_Space, VirtualKey::Space},
    {GDK_KEY_Page_Up, 33},
    {GDK_KEY_KP_Page_Up, 33},
    {GDK_KEY_Page_Down, 34},
    {GDK_KEY_KP_Page_Down, 34},
    {GDK_KEY_End, 35},
    {GDK_KEY_KP_End, 35},
    {GDK_KEY_Home, 36},
    {GDK_KEY_KP_Home, 36},
    {GDK_KEY_Left, VirtualKey::Left},
    {GDK_KEY_KP_Left, VirtualKey::Left},
    {GDK_KEY_Up, VirtualKey::Up},
    {GDK_KEY_KP_Up, VirtualKey::Up},
    {GDK_KEY_Right, VirtualKey::Right},
    {GDK_KEY_KP_Right, VirtualKey::Right},
    {GDK_KEY_Down, VirtualKey::Down},
    {GDK_KEY_KP_Down, VirtualKey::Down},
    {GDK_KEY_Print, 44},
    {GDK_KEY_Insert, 45},
    {GDK_KEY_KP_Insert, 45},
    {GDK_KEY_Delete, 46},
    {GDK_KEY_KP_Delete, 46},
    {GDK_KEY_Super_L, 91},
    {GDK_KEY_Super_R, 92},
    {GDK_KEY_Menu, 93},
    {GDK_KEY_KP_Multiply, 106},
    {GDK_KEY_KP_Add, 107},
    {GDK_KEY_KP_Separator, 108},
    {GDK_KEY_KP_Subtract, 109},
    {GDK_KEY_KP_Decimal, 110},
    {GDK_KEY_KP_Divide, 111},
    {GDK_KEY_Num_Lock, 144},
    {GDK_KEY_Scroll_Lock, 145},
    {GDK_KEY_semicolon, 186},
    {GDK_KEY_equal, 187},
    {GDK_KEY_comma, 188},
    {GDK_KEY_minus, 189},
    {GDK_KEY_period, 190},
    {GDK_KEY_slash, 191},
    {GDK_KEY_grave, 192},
    {GDK_KEY_bracketleft, 219},
    {GDK_KEY_backslash, 220},
    {GDK_KEY_bracketright, 221},
    {GDK_KEY_apostrophe, 222},
};

}  // namespace

int VirtualKeyFromKeyval(unsigned keyval) {
  if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return 'A' + static_cast<int>(keyval - GDK_KEY_a);
  if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return 'A' + static_cast<int>(keyval - GDK_KEY_A);
  if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return '0' + static_cast<int>(keyval - GDK_KEY_0);
  if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) {
    return 96 + static_cast<int>(keyval - GDK_KEY_KP_0);
  }
  if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24)
    return 112 + static_cast<int>(keyval - GDK_KEY_F1);
  for (const KeyPair& key : kKeys) {
    if (key.keyval == keyval) return key.code;
  }
  return VirtualKey::Unknown;
}

int VirtualKeyForPress(unsigned keyval, unsigned unmodifiedKeyval) {
  const int code = VirtualKeyFromKeyval(keyval);
  return code != VirtualKey::Unknown ? code : VirtualKeyFromKeyval(unmodifiedKeyval);
}

std::optional<int> MouseButtonValue(unsigned gdkButton) {
  switch (gdkButton) {
    case GDK_BUTTON_PRIMARY:
      return 1;
    case GDK_BUTTON_SECONDARY:
      return 2;
    case GDK_BUTTON_MIDDLE:
      return 4;
    case 4:
    case 5:
    case 6:
    case 7:
      return std::nullopt;
    default:
      return 0;
  }
}

int HeldButtons(unsigned gdkState) {
  int buttons = 0;
  if (gdkState & GDK_BUTTON1_MASK) buttons |= 1;
  if (gdkState & GDK_BUTTON3_MASK) buttons |= 2;
  if (gdkState & GDK_BUTTON2_MASK) buttons |= 4;
  return buttons;
}

int ShiftValue(unsigned gdkState) {
  int shift = 0;
  if (gdkState & GDK_SHIFT_MASK) shift |= 1;
  if (gdkState & GDK_CONTROL_MASK) shift |= 2;
  if (gdkState & GDK_MOD1_MASK) shift |= 4;
  return shift;
}

}  // namespace orvel
