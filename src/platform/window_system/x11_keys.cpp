#include "platform/window_system/x11_keys.h"

#include <array>
#include <optional>

namespace korvane::platform {

namespace {

using macros::VirtualKey;

struct KeysymRow {
  std::uint32_t keysym;
  VirtualKey virtualKey;
  std::uint8_t scanCode = 0;  // only for the keys the key watch names
  bool extended = false;
};

// Keysyms that name a key whatever the Shift state: the unshifted symbols of
// a US keyboard, and keys that have one keysym.
// clang-format off
constexpr auto kKeysyms = std::to_array<KeysymRow>({
    // Modifiers: raw events carry no side, the scan code gives it.
    {0xFFE1, 0x10, 0x2A}, {0xFFE2, 0x10, 0x36},              // Shift_L, Shift_R
    {0xFFE3, 0x11, 0x1D}, {0xFFE4, 0x11, 0x1D, true},        // Control_L, Control_R
    {0xFFE9, 0x12, 0x38}, {0xFFEA, 0x12, 0x38, true},        // Alt_L, Alt_R
    {0xFFE7, 0x12, 0x38}, {0xFFE8, 0x12, 0x38, true},        // Meta_L, Meta_R
    {0xFE03, 0x12, 0x38, true},                              // ISO_Level3_Shift (AltGr)
    {0xFFEB, 0x5B, 0x5B, true}, {0xFFEC, 0x5C, 0x5C, true},  // Super_L, Super_R
    {0xFFE5, 0x14}, {0xFF7F, 0x90}, {0xFF14, 0x91},          // Caps, Num, Scroll Lock
    {0xFF08, 0x08}, {0xFF09, 0x09}, {0xFE20, 0x09},          // BackSpace, Tab, ISO_Left_Tab
    {0xFF0B, 0x0C}, {0xFF0D, 0x0D}, {0xFF13, 0x13},          // Clear, Return, Pause
    {0xFF1B, 0x1B}, {0x0020, 0x20},                          // Escape, space
    {0xFF55, 0x21}, {0xFF56, 0x22}, {0xFF57, 0x23}, {0xFF50, 0x24},  // Prior, Next, End, Home
    {0xFF51, 0x25}, {0xFF52, 0x26}, {0xFF53, 0x27}, {0xFF54, 0x28},  // arrows
    {0xFF60, 0x29}, {0xFF61, 0x2C}, {0xFF15, 0x2C},          // Select, Print, Sys_Req
    {0xFF63, 0x2D}, {0xFFFF, 0x2E}, {0xFF6A, 0x2F},          // Insert, Delete, Help
    {0xFF67, 0x5D},                                          // Menu
    // Keypad, with Num Lock on and off.
    {0xFFB0, 0x60}, {0xFFB1, 0x61}, {0xFFB2, 0x62}, {0xFFB3, 0x63}, {0xFFB4, 0x64},
    {0xFFB5, 0x65}, {0xFFB6, 0x66}, {0xFFB7, 0x67}, {0xFFB8, 0x68}, {0xFFB9, 0x69},
    {0xFFAA, 0x6A}, {0xFFAB, 0x6B}, {0xFFAC, 0x6C}, {0xFFAD, 0x6D}, {0xFFAE, 0x6E},
    {0xFFAF, 0x6F}, {0xFF8D, 0x0D},
    {0xFF95, 0x24}, {0xFF96, 0x25}, {0xFF97, 0x26}, {0xFF98, 0x27}, {0xFF99, 0x28},
    {0xFF9A, 0x21}, {0xFF9B, 0x22}, {0xFF9C, 0x23}, {0xFF9D, 0x0C}, {0xFF9E, 0x2D},
    {0xFF9F, 0x2E},
    // Unshifted punctuation of a US keyboard.
    {0x003B, 0xBA}, {0x003D, 0xBB}, {0x002C, 0xBC}, {0x002D, 0xBD}, {0x002E, 0xBE},
    {0x002F, 0xBF}, {0x0060, 0xC0}, {0x005B, 0xDB}, {0x005C, 0xDC}, {0x005D, 0xDD},
    {0x0027, 0xDE},
    // Browser, volume, media and launch keys.
    {0x1008FF26, 0xA6}, {0x1008FF27, 0xA7}, {0x1008FF29, 0xA8}, {0x1008FF28, 0xA9},
    {0x1008FF1B, 0xAA}, {0x1008FF30, 0xAB}, {0x1008FF18, 0xAC}, {0x1008FF12, 0xAD},
    {0x1008FF11, 0xAE}, {0x1008FF13, 0xAF}, {0x1008FF17, 0xB0}, {0x1008FF16, 0xB1},
    {0x1008FF15, 0xB2}, {0x1008FF14, 0xB3}, {0x1008FF19, 0xB4}, {0x1008FF32, 0xB5},
    {0x1008FF33, 0xB6}, {0x1008FF1D, 0xB7},
});
// clang-format on

constexpr std::uint32_t kKeysymF1 = 0xFFBE;
constexpr std::uint32_t kKeysymF24 = 0xFFD5;
constexpr VirtualKey kVirtualKeyF1 = 0x70;

// X keycodes are the kernel's key numbers plus 8.
constexpr std::uint32_t kKeycodeOffset = 8;

struct KeyNumberRow {
  std::uint32_t keyNumber;
  VirtualKey virtualKey;
  std::uint8_t scanCode = 0;  // for the extended keys; the others use the key number
  bool extended = false;
};

// The kernel's key numbers, by the keys' places on a US keyboard.
// clang-format off
constexpr auto kKeyNumbers = std::to_array<KeyNumberRow>({
    {1, 0x1B}, {2, '1'}, {3, '2'}, {4, '3'}, {5, '4'}, {6, '5'}, {7, '6'}, {8, '7'}, {9, '8'},
    {10, '9'}, {11, '0'}, {12, 0xBD}, {13, 0xBB}, {14, 0x08}, {15, 0x09},
    {16, 'Q'}, {17, 'W'}, {18, 'E'}, {19, 'R'}, {20, 'T'}, {21, 'Y'}, {22, 'U'}, {23, 'I'},
    {24, 'O'}, {25, 'P'}, {26, 0xDB}, {27, 0xDD}, {28, 0x0D}, {29, 0x11},
    {30, 'A'}, {31, 'S'}, {32, 'D'}, {33, 'F'}, {34, 'G'}, {35, 'H'}, {36, 'J'}, {37, 'K'},
    {38, 'L'}, {39, 0xBA}, {40, 0xDE}, {41, 0xC0}, {42, 0x10}, {43, 0xDC},
    {44, 'Z'}, {45, 'X'}, {46, 'C'}, {47, 'V'}, {48, 'B'}, {49, 'N'}, {50, 'M'},
    {51, 0xBC}, {52, 0xBE}, {53, 0xBF}, {54, 0x10}, {55, 0x6A}, {56, 0x12}, {57, 0x20},
    {58, 0x14}, {59, 0x70}, {60, 0x71}, {61, 0x72}, {62, 0x73}, {63, 0x74}, {64, 0x75},
    {65, 0x76}, {66, 0x77}, {67, 0x78}, {68, 0x79}, {69, 0x90}, {70, 0x91},
    {71, 0x67}, {72, 0x68}, {73, 0x69}, {74, 0x6D}, {75, 0x64}, {76, 0x65}, {77, 0x66},
    {78, 0x6B}, {79, 0x61}, {80, 0x62}, {81, 0x63}, {82, 0x60}, {83, 0x6E},
    {86, 0xE2}, {87, 0x7A}, {88, 0x7B},
    {96, 0x0D, 0x1C, true}, {97, 0x11, 0x1D, true}, {98, 0x6F, 0x35, true},
    {99, 0x2C, 0x37, true}, {100, 0x12, 0x38, true},
    {102, 0x24, 0x47, true}, {103, 0x26, 0x48, true}, {104, 0x21, 0x49, true},
    {105, 0x25, 0x4B, true}, {106, 0x27, 0x4D, true}, {107, 0x23, 0x4F, true},
    {108, 0x28, 0x50, true}, {109, 0x22, 0x51, true}, {110, 0x2D, 0x52, true},
    {111, 0x2E, 0x53, true}, {119, 0x13},
    {125, 0x5B, 0x5B, true}, {126, 0x5C, 0x5C, true}, {127, 0x5D, 0x5D, true},
    {183, 0x7C}, {184, 0x7D}, {185, 0x7E}, {186, 0x7F}, {187, 0x80}, {188, 0x81},
    {189, 0x82}, {190, 0x83}, {191, 0x84}, {192, 0x85}, {193, 0x86}, {194, 0x87},
});
// clang-format on

// The highest key number whose scan code equals it.
constexpr std::uint32_t kLastPlainScanCode = 88;

const KeyNumberRow* findKeyNumber(std::uint32_t keycode) {
  if (keycode < kKeycodeOffset) {
    return nullptr;
  }
  const std::uint32_t number = keycode - kKeycodeOffset;
  for (const KeyNumberRow& row : kKeyNumbers) {
    if (row.keyNumber == number) {
      return &row;
    }
  }
  return nullptr;
}

std::optional<VirtualKey> fromKeysym(std::uint32_t keysym) {
  if ((keysym >= 'a' && keysym <= 'z')) {
    return static_cast<VirtualKey>(keysym - 'a' + 'A');
  }
  if ((keysym >= 'A' && keysym <= 'Z') || (keysym >= '0' && keysym <= '9')) {
    return static_cast<VirtualKey>(keysym);
  }
  if (keysym >= kKeysymF1 && keysym <= kKeysymF24) {
    return static_cast<VirtualKey>(kVirtualKeyF1 + (keysym - kKeysymF1));
  }
  for (const KeysymRow& row : kKeysyms) {
    if (row.keysym == keysym) {
      return row.virtualKey;
    }
  }
  return std::nullopt;
}

}  // namespace

TranslatedKey translateX11Key(std::uint32_t keysym, std::uint32_t keycode) {
  TranslatedKey key;
  const KeyNumberRow* place = findKeyNumber(keycode);
  if (place != nullptr) {
    key.scanCode = place->extended || place->keyNumber > kLastPlainScanCode
                       ? place->scanCode
                       : static_cast<std::uint8_t>(place->keyNumber);
    key.extended = place->extended;
  }
  for (const KeysymRow& row : kKeysyms) {
    if (row.keysym == keysym && row.scanCode != 0) {
      // A modifier's side follows its keysym, wherever the layout put it.
      key.scanCode = row.scanCode;
      key.extended = row.extended;
    }
  }
  if (const std::optional<VirtualKey> virtualKey = fromKeysym(keysym)) {
    key.virtualKey = *virtualKey;
  } else if (place != nullptr) {
    key.virtualKey = place->virtualKey;
  }
  return key;
}

}  // namespace korvane::platform
