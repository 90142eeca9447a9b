#include "macros/key_table.h"

#include <algorithm>

namespace korvane::macros {

namespace {

// clang-format off
constexpr std::array<KeyRow, kKeyCount> kKeyTable = {{
    {TKeyboardHookKey::kh_None, kNoVirtualKey, "None", 0x00},
    {TKeyboardHookKey::kh_Demo, kNoVirtualKey, "Demo", 0x00},
    {TKeyboardHookKey::kh_255, 0xFF, "255", 0x00},
    {TKeyboardHookKey::kh_Back, 0x08, "Backspace", 0x2A},
    {TKeyboardHookKey::kh_Tab, 0x09, "Tab", 0x2B},
    {TKeyboardHookKey::kh_Clear, 0x0C, "Clear", 0x9C},
    {TKeyboardHookKey::kh_Return, 0x0D, "Enter", 0x28},
    {TKeyboardHookKey::kh_Shift, 0x10, "Shift", 0x00},
    {TKeyboardHookKey::kh_Control, 0x11, "Ctrl", 0x00},
    {TKeyboardHookKey::kh_Alt, 0x12, "Alt", 0x00},
    {TKeyboardHookKey::kh_Pause, 0x13, "Pause", 0x48},
    {TKeyboardHookKey::kh_Capital, 0x14, "Caps Lock", 0x39},
    {TKeyboardHookKey::kh_Escape, 0x1B, "Esc", 0x29},
    {TKeyboardHookKey::kh_Space, 0x20, "Space bar", 0x2C},
    {TKeyboardHookKey::kh_Prior, 0x21, "Page Up", 0x9D},
    {TKeyboardHookKey::kh_Next, 0x22, "Page Down", 0x4E},
    {TKeyboardHookKey::kh_End, 0x23, "End", 0x4D},
    {TKeyboardHookKey::kh_Home, 0x24, "Home", 0x4A},
    {TKeyboardHookKey::kh_Left, 0x25, "Left Arrow", 0x50},
    {TKeyboardHookKey::kh_Up, 0x26, "Up Arrow", 0x52},
    {TKeyboardHookKey::kh_Right, 0x27, "Right Arrow", 0x4F},
    {TKeyboardHookKey::kh_Down, 0x28, "Down Arrow", 0x51},
    {TKeyboardHookKey::kh_Select, 0x29, "Select", 0x77},
    {TKeyboardHookKey::kh_Snapshot, 0x2C, "Print Screen", 0x46},
    {TKeyboardHookKey::kh_Insert, 0x2D, "Insert", 0x49},
    {TKeyboardHookKey::kh_Delete, 0x2E, "Delete", 0x4C},
    {TKeyboardHookKey::kh_Help, 0x2F, "Help", 0x75},
    {TKeyboardHookKey::kh_LWIN, 0x5B, "Left Windows", 0x08},
    {TKeyboardHookKey::kh_RWIN, 0x5C, "Right Windows", 0x80},
    {TKeyboardHookKey::kh_APPS, 0x5D, "Applications", 0x65},
    {TKeyboardHookKey::kh_Numpad0, 0x60, "0 (numeric pad)", 0x62},
    {TKeyboardHookKey::kh_Numpad1, 0x61, "1 (numeric pad)", 0x59},
    {TKeyboardHookKey::kh_Numpad2, 0x62, "2 (numeric pad)", 0x5A},
    {TKeyboardHookKey::kh_Numpad3, 0x63, "3 (numeric pad)", 0x5B},
    {TKeyboardHookKey::kh_Numpad4, 0x64, "4 (numeric pad)", 0x5C},
    {TKeyboardHookKey::kh_Numpad5, 0x65, "5 (numeric pad)", 0x5D},
    {TKeyboardHookKey::kh_Numpad6, 0x66, "6 (numeric pad)", 0x5E},
    {TKeyboardHookKey::kh_Numpad7, 0x67, "7 (numeric pad)", 0x5F},
    {TKeyboardHookKey::kh_Numpad8, 0x68, "8 (numeric pad)", 0x60},
    {TKeyboardHookKey::kh_Numpad9, 0x69, "9 (numeric pad)", 0x61},
    {TKeyboardHookKey::kh_Multiply, 0x6A, "Multiply (numeric pad)", 0x55},
    {TKeyboardHookKey::kh_Add, 0x6B, "Add (numeric pad)", 0x57},
    {TKeyboardHookKey::kh_Separator, 0x6C, "Separator (numeric pad)", 0x58},
    {TKeyboardHookKey::kh_Subtract, 0x6D, "Subtract (numeric pad)", 0x56},
    {TKeyboardHookKey::kh_Decimal, 0x6E, "Decimal (numeric pad)", 0x63},
    {TKeyboardHookKey::kh_Divide, 0x6F, "Divide (numeric pad)", 0x54},
    {TKeyboardHookKey::kh_F1, 0x70, "F1", 0x3A},
    {TKeyboardHookKey::kh_F2, 0x71, "F2", 0x3B},
    {TKeyboardHookKey::kh_F3, 0x72, "F3", 0x3C},
    {TKeyboardHookKey::kh_F4, 0x73, "F4", 0x3D},
    {TKeyboardHookKey::kh_F5, 0x74, "F5", 0x3E},
    {TKeyboardHookKey::kh_F6, 0x75, "F6", 0x3F},
    {TKeyboardHookKey::kh_F7, 0x76, "F7", 0x40},
    {TKeyboardHookKey::kh_F8, 0x77, "F8", 0x41},
    {TKeyboardHookKey::kh_F9, 0x78, "F9", 0x42},
    {TKeyboardHookKey::kh_F10, 0x79, "F10", 0x43},
    {TKeyboardHookKey::kh_F11, 0x7A, "F11", 0x44},
    {TKeyboardHookKey::kh_F12, 0x7B, "F12", 0x45},
    {TKeyboardHookKey::kh_F13, 0x7C, "F13", 0x68},
    {TKeyboardHookKey::kh_F14, 0x7D, "F14", 0x69},
    {TKeyboardHookKey::kh_F15, 0x7E, "F15", 0x6A},
    {TKeyboardHookKey::kh_F16, 0x7F, "F16", 0x6B},
    {TKeyboardHookKey::kh_F17, 0x80, "F17", 0x6C},
    {TKeyboardHookKey::kh_F18, 0x81, "F18", 0x6D},
    {TKeyboardHookKey::kh_F19, 0x82, "F19", 0x6E},
    {TKeyboardHookKey::kh_F20, 0x83, "F20", 0x6F},
    {TKeyboardHookKey::kh_F21, 0x84, "F21", 0x70},
    {TKeyboardHookKey::kh_F22, 0x85, "F22", 0x71},
    {TKeyboardHookKey::kh_F23, 0x86, "F23", 0x72},
    {TKeyboardHookKey::kh_F24, 0x87, "F24", 0x73},
    {TKeyboardHookKey::kh_Numlock, 0x90, "Num Lock", 0x53},
    {TKeyboardHookKey::kh_Scroll, 0x91, "Scroll Lock", 0x47},
    {TKeyboardHookKey::kh_LShift, 0xA0, "Left Shift", 0x02},
    {TKeyboardHookKey::kh_RShift, 0xA1, "Right Shift", 0x20},
    {TKeyboardHookKey::kh_LControl, 0xA2, "Left Ctrl", 0x01},
    {TKeyboardHookKey::kh_RControl, 0xA3, "Right Ctrl", 0x10},
    {TKeyboardHookKey::kh_LAlt, 0xA4, "Left Alt", 0x04},
    {TKeyboardHookKey::kh_RAlt, 0xA5, "Right Alt", 0x40},
    {TKeyboardHookKey::kh_A, 0x41, "A", 0x04},
    {TKeyboardHookKey::kh_B, 0x42, "B", 0x05},
    {TKeyboardHookKey::kh_C, 0x43, "C", 0x06},
    {TKeyboardHookKey::kh_D, 0x44, "D", 0x07},
    {TKeyboardHookKey::kh_E, 0x45, "E", 0x08},
    {TKeyboardHookKey::kh_F, 0x46, "F", 0x09},
    {TKeyboardHookKey::kh_G, 0x47, "G", 0x0A},
    {TKeyboardHookKey::kh_H, 0x48, "H", 0x0B},
    {TKeyboardHookKey::kh_I, 0x49, "I", 0x0C},
    {TKeyboardHookKey::kh_J, 0x4A, "J", 0x0D},
    {TKeyboardHookKey::kh_K, 0x4B, "K", 0x0E},
    {TKeyboardHookKey::kh_L, 0x4C, "L", 0x0F},
    {TKeyboardHookKey::kh_M, 0x4D, "M", 0x10},
    {TKeyboardHookKey::kh_N, 0x4E, "N", 0x11},
    {TKeyboardHookKey::kh_O, 0x4F, "O", 0x12},
    {TKeyboardHookKey::kh_P, 0x50, "P", 0x13},
    {TKeyboardHookKey::kh_Q, 0x51, "Q", 0x14},
    {TKeyboardHookKey::kh_R, 0x52, "R", 0x15},
    {TKeyboardHookKey::kh_S, 0x53, "S", 0x16},
    {TKeyboardHookKey::kh_T, 0x54, "T", 0x17},
    {TKeyboardHookKey::kh_U, 0x55, "U", 0x18},
    {TKeyboardHookKey::kh_V, 0x56, "V", 0x19},
    {TKeyboardHookKey::kh_W, 0x57, "W", 0x1A},
    {TKeyboardHookKey::kh_X, 0x58, "X", 0x1B},
    {TKeyboardHookKey::kh_Y, 0x59, "Y", 0x1C},
    {TKeyboardHookKey::kh_Z, 0x5A, "Z", 0x1D},
    {TKeyboardHookKey::kh_0, 0x30, "0", 0x27},
    {TKeyboardHookKey::kh_1, 0x31, "1", 0x1E},
    {TKeyboardHookKey::kh_2, 0x32, "2", 0x1F},
    {TKeyboardHookKey::kh_3, 0x33, "3", 0x20},
    {TKeyboardHookKey::kh_4, 0x34, "4", 0x21},
    {TKeyboardHookKey::kh_5, 0x35, "5", 0x22},
    {TKeyboardHookKey::kh_6, 0x36, "6", 0x23},
    {TKeyboardHookKey::kh_7, 0x37, "7", 0x24},
    {TKeyboardHookKey::kh_8, 0x38, "8", 0x25},
    {TKeyboardHookKey::kh_9, 0x39, "9", 0x26},
    {TKeyboardHookKey::kh_OEM_1, 0xBA, "OEM_1", 0x33},
    {TKeyboardHookKey::kh_OEM_2, 0xBF, "OEM_2", 0x38},
    {TKeyboardHookKey::kh_OEM_3, 0xC0, "OEM_3", 0x35},
    {TKeyboardHookKey::kh_OEM_4, 0xDB, "OEM_4", 0x2F},
    {TKeyboardHookKey::kh_OEM_5, 0xDC, "OEM_5", 0x31},
    {TKeyboardHookKey::kh_OEM_6, 0xDD, "OEM_6", 0x30},
    {TKeyboardHookKey::kh_OEM_7, 0xDE, "OEM_7", 0x34},
    {TKeyboardHookKey::kh_OEM_8, 0xDF, "OEM_8", 0x00},
    {TKeyboardHookKey::kh_OEM_Plus, 0xBB, "OEM_Plus", 0x2E},
    {TKeyboardHookKey::kh_OEM_Comma, 0xBC, "OEM_Comma", 0x36},
    {TKeyboardHookKey::kh_OEM_Minus, 0xBD, "OEM_Minus", 0x2D},
    {TKeyboardHookKey::kh_OEM_Period, 0xBE, "OEM_Period", 0x37},
    {TKeyboardHookKey::kh_Browser_Back, 0xA6, "Browser_Back", 0x00},
    {TKeyboardHookKey::kh_Browser_Forward, 0xA7, "Browser_Forward", 0x00},
    {TKeyboardHookKey::kh_Browser_Refresh, 0xA8, "Browser_Refresh", 0x00},
    {TKeyboardHookKey::kh_Browser_Stop, 0xA9, "Browser_Stop", 0x00},
    {TKeyboardHookKey::kh_Browser_Search, 0xAA, "Browser_Search", 0x00},
    {TKeyboardHookKey::kh_Browser_Favorites, 0xAB, "Browser_Favorites", 0x00},
    {TKeyboardHookKey::kh_Browser_Home, 0xAC, "Browser_Home", 0x00},
    {TKeyboardHookKey::kh_Volume_Mute, 0xAD, "Volume_Mute", 0x00},
    {TKeyboardHookKey::kh_Volume_Down, 0xAE, "Volume_Down", 0x00},
    {TKeyboardHookKey::kh_Volume_Up, 0xAF, "Volume_Up", 0x00},
    {TKeyboardHookKey::kh_Media_Next_Track, 0xB0, "Media_Next_Track", 0x00},
    {TKeyboardHookKey::kh_Media_Prev_Track, 0xB1, "Media_Prev_Track", 0x00},
    {TKeyboardHookKey::kh_Media_Stop, 0xB2, "Media_Stop", 0x00},
    {TKeyboardHookKey::kh_Media_Play_Pause, 0xB3, "Media_Play_Pause", 0x00},
    {TKeyboardHookKey::kh_Launch_Mail, 0xB4, "Launch_Mail", 0x00},
    {TKeyboardHookKey::kh_Launch_Media_Select, 0xB5, "Launch_Media_Select", 0x00},
    {TKeyboardHookKey::kh_Launch_App1, 0xB6, "Launch_App1", 0x00},
    {TKeyboardHookKey::kh_Launch_App2, 0xB7, "Launch_App2", 0x00},
    {TKeyboardHookKey::kh_Return_KP, kNoVirtualKey, "", 0x00},
}};
// clang-format on

constexpr bool rowsInEnumOrder() {
  for (std::size_t i = 0; i < kKeyTable.size(); ++i) {
    if (static_cast<std::size_t>(kKeyTable[i].key) != i) {
      return false;
    }
  }
  return true;
}
static_assert(rowsInEnumOrder());

// A second code for the "9" key.
constexpr VirtualKey kNineAlias = 0x3A;

// Scan codes of the keys the key watch names, as a US English keyboard
// names them; the extended bit tells the right-hand keys apart.
struct NamedScanCode {
  std::uint8_t scanCode;
  bool extended;
  std::string_view name;
};
constexpr std::array<NamedScanCode, 8> kNamedScanCodes = {{
    {0x1D, false, "Ctrl"},
    {0x1D, true, "Right Ctrl"},
    {0x2A, false, "Shift"},
    {0x36, false, "Right Shift"},
    {0x38, false, "Alt"},
    {0x38, true, "Right Alt"},
    {0x5B, true, "Left Windows"},
    {0x5C, true, "Right Windows"},
}};

}  // namespace

std::span<const KeyRow, kKeyCount> keyTable() {
  return kKeyTable;
}

const KeyRow& keyRow(TKeyboardHookKey key) {
  return kKeyTable.at(static_cast<std::size_t>(key));
}

TKeyboardHookKey keyOfVirtualKey(VirtualKey code) {
  if (code == kNoVirtualKey) {
    return TKeyboardHookKey::kh_None;
  }
  if (code == kNineAlias) {
    return TKeyboardHookKey::kh_9;
  }
  const auto* row = std::ranges::find(kKeyTable, code, &KeyRow::virtualKey);
  return row == kKeyTable.end() ? TKeyboardHookKey::kh_None : row->key;
}

TKeyboardHookState TKeyboardHook::keyDown() {
  ++downCounter;
  return downCounter == 1 ? TKeyboardHookState::kh_On : TKeyboardHookState::kh_Repeat;
}

TKeyboardHookState TKeyboardHook::keyUp() {
  downCounter = 0;
  return TKeyboardHookState::kh_Off;
}

std::uint32_t keystrokeFlags(std::uint8_t scanCode, bool extended, bool down, bool prevDown) {
  std::uint32_t flags = 1U | (std::uint32_t{scanCode} << kScanCodeShift);
  if (extended) {
    flags |= kExtendedFlag;
  }
  if (!down) {
    flags |= kReleaseFlag | kPrevDownFlag;
  } else if (prevDown) {
    flags |= kPrevDownFlag;
  }
  return flags;
}

TKeyInfo decodeKeyInfo(std::uint32_t flags) {
  TKeyInfo info;
  info.RepeatCount = static_cast<std::uint16_t>(flags & 0xFFFFU);
  info.ScanCode = static_cast<std::uint8_t>((flags >> kScanCodeShift) & 0xFFU);
  info.Extended = (flags & kExtendedFlag) != 0;
  info.Context = (flags & kContextFlag) != 0;
  info.PrevDown = (flags & kPrevDownFlag) != 0;
  info.Down = (flags & kReleaseFlag) == 0;
  info.Name = keyNameText(flags);
  return info;
}

std::string keyNameText(std::uint32_t flags) {
  const auto scanCode = static_cast<std::uint8_t>((flags >> kScanCodeShift) & 0xFFU);
  const bool extended = (flags & kExtendedFlag) != 0;
  for (const NamedScanCode& named : kNamedScanCodes) {
    if (named.scanCode == scanCode && named.extended == extended) {
      return std::string(named.name);
    }
  }
  return {};
}

}  // namespace korvane::macros
