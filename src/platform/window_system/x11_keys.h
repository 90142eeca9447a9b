#pragma once

#include <cstdint>

#include "macros/key_table.h"

namespace korvane::platform {

// A key of the X server as the recorder knows it: the virtual-key code of the
// key table, and the scan code and extended bit of the keystroke flags from
// which the key watch names left and right modifiers.
struct TranslatedKey {
  macros::VirtualKey virtualKey = 0;
  std::uint8_t scanCode = 0;
  bool extended = false;
};

// From the key's keysym where the table knows it, else from its keycode (the
// kernel's key number plus 8), which gives the key at that place on a US
// keyboard. Shifted symbols ("!", "<") come from the keycode too, so the key,
// not the character, is recorded. Left and right modifiers are told apart by
// their keysyms (Control_L, Control_R ...) or keycodes. Keys known to neither
// give virtual-key code 0, which the table records as "None".
TranslatedKey translateX11Key(std::uint32_t keysym, std::uint32_t keycode);

}  // namespace korvane::platform
