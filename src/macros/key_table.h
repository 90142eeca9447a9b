#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The key vocabulary of macros: every key the recorder can write, with the
// virtual-key codes that stand for it, its name in script lines and its
// device key code (a USB keyboard usage, a modifier bit, or 0). The recorder
// and the tests read this one table.
namespace korvane::macros {

// Values 0 to 144, in table order.
enum class TKeyboardHookKey : std::uint8_t {
  kh_None,
  kh_Demo,
  kh_255,
  kh_Back,
  kh_Tab,
  kh_Clear,
  kh_Return,
  kh_Shift,
  kh_Control,
  kh_Alt,
  kh_Pause,
  kh_Capital,
  kh_Escape,
  kh_Space,
  kh_Prior,
  kh_Next,
  kh_End,
  kh_Home,
  kh_Left,
  kh_Up,
  kh_Right,
  kh_Down,
  kh_Select,
  kh_Snapshot,
  kh_Insert,
  kh_Delete,
  kh_Help,
  kh_LWIN,
  kh_RWIN,
  kh_APPS,
  kh_Numpad0,
  kh_Numpad1,
  kh_Numpad2,
  kh_Numpad3,
  kh_Numpad4,
  kh_Numpad5,
  kh_Numpad6,
  kh_Numpad7,
  kh_Numpad8,
  kh_Numpad9,
  kh_Multiply,
  kh_Add,
  kh_Separator,
  kh_Subtract,
  kh_Decimal,
  kh_Divide,
  kh_F1,
  kh_F2,
  kh_F3,
  kh_F4,
  kh_F5,
  kh_F6,
  kh_F7,
  kh_F8,
  kh_F9,
  kh_F10,
  kh_F11,
  kh_F12,
  kh_F13,
  kh_F14,
  kh_F15,
  kh_F16,
  kh_F17,
  kh_F18,
  kh_F19,
  kh_F20,
  kh_F21,
  kh_F22,
  kh_F23,
  kh_F24,
  kh_Numlock,
  kh_Scroll,
  kh_LShift,
  kh_RShift,
  kh_LControl,
  kh_RControl,
  kh_LAlt,
  kh_RAlt,
  kh_A,
  kh_B,
  kh_C,
  kh_D,
  kh_E,
  kh_F,
  kh_G,
  kh_H,
  kh_I,
  kh_J,
  kh_K,
  kh_L,
  kh_M,
  kh_N,
  kh_O,
  kh_P,
  kh_Q,
  kh_R,
  kh_S,
  kh_T,
  kh_U,
  kh_V,
  kh_W,
  kh_X,
  kh_Y,
  kh_Z,
  kh_0,
  kh_1,
  kh_2,
  kh_3,
  kh_4,
  kh_5,
  kh_6,
  kh_7,
  kh_8,
  kh_9,
  kh_OEM_1,
  kh_OEM_2,
  kh_OEM_3,
  kh_OEM_4,
  kh_OEM_5,
  kh_OEM_6,
  kh_OEM_7,
  kh_OEM_8,
  kh_OEM_Plus,
  kh_OEM_Comma,
  kh_OEM_Minus,
  kh_OEM_Period,
  kh_Browser_Back,
  kh_Browser_Forward,
  kh_Browser_Refresh,
  kh_Browser_Stop,
  kh_Browser_Search,
  kh_Browser_Favorites,
  kh_Browser_Home,
  kh_Volume_Mute,
  kh_Volume_Down,
  kh_Volume_Up,
  kh_Media_Next_Track,
  kh_Media_Prev_Track,
  kh_Media_Stop,
  kh_Media_Play_Pause,
  kh_Launch_Mail,
  kh_Launch_Media_Select,
  kh_Launch_App1,
  kh_Launch_App2,
  kh_Return_KP
};

// The last key ends the list.
inline constexpr std::size_t kKeyCount =
    static_cast<std::size_t>(TKeyboardHookKey::kh_Return_KP) + 1;

// A virtual-key code, as the keyboard events and the key watch carry it.
using VirtualKey = std::uint16_t;
// Marks the keys no virtual-key code reaches.
inline constexpr VirtualKey kNoVirtualKey = 0xFFFF;

struct KeyRow {
  TKeyboardHookKey key;
  VirtualKey virtualKey;  // kNoVirtualKey for kh_None, kh_Demo and kh_Return_KP
  std::string_view name;  // the name script lines carry
  std::uint8_t deviceCode;
};

std::span<const KeyRow, kKeyCount> keyTable();
const KeyRow& keyRow(TKeyboardHookKey key);
// The key of a virtual-key code: its row, 0x3A also kh_9, and kh_None for
// every code the table does not list.
TKeyboardHookKey keyOfVirtualKey(VirtualKey code);

// What a keyboard event is, by the down counter of the keyboard component:
// the first press since any key was released, a release, or a further press
// (auto-repeat of the held key or a second key going down).
enum class TKeyboardHookState : std::uint8_t { kh_On = 0, kh_Off = 1, kh_Repeat = 2 };

// The keyboard component: counts key-down messages since the last key-up,
// whether or not it is enabled, and reports each event with the state the
// counter gives while it is enabled.
struct TKeyboardHook {
  bool Enabled = false;
  int downCounter = 0;

  // The event's state, counter already updated.
  TKeyboardHookState keyDown();
  TKeyboardHookState keyUp();
};

// The flags of a keystroke as the key watch delivers them, in the layout of
// a keyboard message's flags: repeat count in bits 0..15, scan code in
// 16..23, extended key in 24, context in 29, previous state in 30, and bit 31
// set on release.
struct TKeyInfo {
  std::uint16_t RepeatCount = 0;
  std::uint8_t ScanCode = 0;
  bool Extended = false;
  bool Context = false;
  bool PrevDown = false;
  bool Down = false;
  std::string Name;  // the key's name for these flags
};

inline constexpr std::uint32_t kScanCodeShift = 16;
inline constexpr std::uint32_t kExtendedFlag = 1U << 24;
inline constexpr std::uint32_t kContextFlag = 1U << 29;
inline constexpr std::uint32_t kPrevDownFlag = 1U << 30;
inline constexpr std::uint32_t kReleaseFlag = 1U << 31;

// The flags of a keystroke from its scan code and extended bit.
std::uint32_t keystrokeFlags(std::uint8_t scanCode, bool extended, bool down, bool prevDown);
TKeyInfo decodeKeyInfo(std::uint32_t flags);
// The name a US English keyboard gives the key of these flags ("Ctrl",
// "Right Ctrl", "Left Windows" ...); empty for keys the watch does not name.
std::string keyNameText(std::uint32_t flags);

}  // namespace korvane::macros
