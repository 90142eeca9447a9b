// X11 keys to the key table's virtual-key codes, and the modifier names the
// key watch gives the translated keystroke flags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macros/key_table.h"
#include "platform/window_system/x11_keys.h"

namespace korvane::platform {
namespace {

TEST(X11KeysTest, KeysymFirstThenTheKeysPlace) {
  struct Case {
    const char* what;
    std::uint32_t keysym;
    std::uint32_t keycode;
    macros::VirtualKey virtualKey;
    std::string watchName;  // what the key watch calls the keystroke
  };
  const std::vector<Case> cases = {
      {"a", 0x61, 38, 0x41, ""},
      {"A with Shift", 0x41, 38, 0x41, ""},
      {"! is the 1 key", 0x21, 10, 0x31, ""},
      {"< with Shift on the comma key", 0x3C, 59, 0xBC, ""},
      {"< on the key beside left Shift", 0x3C, 94, 0xE2, ""},
      {"u umlaut where US has [", 0xFC, 34, 0xDB, ""},
      {"A from its place alone", 0, 38, 0x41, ""},
      {"Page Up", 0xFF55, 112, 0x21, ""},
      {"Page Down on the keypad", 0xFF9B, 89, 0x22, ""},
      {"keypad 7", 0xFFB7, 79, 0x67, ""},
      {"keypad Enter", 0xFF8D, 104, 0x0D, ""},
      {"F13", 0xFFCA, 191, 0x7C, ""},
      {"volume up", 0x1008FF13, 123, 0xAF, ""},
      {"left Ctrl", 0xFFE3, 37, 0x11, "Ctrl"},
      {"right Ctrl", 0xFFE4, 105, 0x11, "Right Ctrl"},
      {"right Ctrl by its place", 0, 105, 0x11, "Right Ctrl"},
      {"left Shift", 0xFFE1, 50, 0x10, "Shift"},
      {"right Shift", 0xFFE2, 62, 0x10, "Right Shift"},
      {"left Alt", 0xFFE9, 64, 0x12, "Alt"},
      {"left Alt with Shift", 0xFFE7, 64, 0x12, "Alt"},
      {"AltGr", 0xFE03, 108, 0x12, "Right Alt"},
      {"left Super", 0xFFEB, 133, 0x5B, "Left Windows"},
      {"right Super", 0xFFEC, 134, 0x5C, "Right Windows"},
      {"nothing known", 0x12345, 3, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TranslatedKey key = translateX11Key(c.keysym, c.keycode);
    EXPECT_EQ(key.virtualKey, c.virtualKey);
    EXPECT_EQ(macros::keyNameText(macros::keystrokeFlags(key.scanCode, key.extended, true, false)),
              c.watchName);
  }
}

}  // namespace
}  // namespace korvane::platform
