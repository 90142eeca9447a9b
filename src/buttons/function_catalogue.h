#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "settings/mode_layout.h"

namespace korvane::buttons {

// The kind of function a button carries: byte 0 of its KeyAction.
enum class KeyActionType : std::uint8_t {
  MouseButton = 1,     // Param1: one button bit (1 left, 2 right, 4 middle, 8 back, 16 forward)
  Tilt = 2,            // Param1: 1 tilt left, 255 tilt right
  KeyCombination = 3,  // Param1: boot-keyboard modifier bits; Param2: usage ID, 0 = modifiers alone
  ConsumerUsage = 4,   // Param1/Param2: high/low byte of a consumer-page usage
  LeftMultiClick = 5,  // Param1: number of left clicks, 2..5
  Disabled = 6,
  ModeSwitch = 7,      // Param1: 1
  DeviceFunction = 8,  // Param1: 1 DPI up, 2 DPI down, 3 DPI cycle, 4 breathing light on/off
  DeviceMacro = 9,     // Param1: zero-based device macro number
};

// The three bytes of one button's function, as the mouse stores them. The
// type keeps whatever byte a block holds, even outside the known codes.
struct KeyAction {
  KeyActionType type{};
  std::uint8_t param1 = 0;
  std::uint8_t param2 = 0;

  friend constexpr bool operator==(const KeyAction&, const KeyAction&) = default;
};

// Button must be 1..12.
void writeKeyAction(std::span<std::uint8_t, settings::kModeBlockSize> block, int button,
                    KeyAction action);
KeyAction readKeyAction(std::span<const std::uint8_t, settings::kModeBlockSize> block, int button);

// The ten rows of the function menu `gbMenu`, numbered as on screen. Rows 1..8
// open a panel of entries; rows 9 and 10 are entries themselves.
enum class MenuRow : std::uint8_t {
  BaseKeys = 1,
  Gaming,
  Office,
  Media,
  Ie,
  Win8,
  Os,
  Other,
  Mode,
  KeyOff,
};

// Rows are numbered from 1; the rows up to Other open a panel.
inline constexpr int kMenuRowCount = static_cast<int>(MenuRow::KeyOff);
inline constexpr int kCategoryRowCount = static_cast<int>(MenuRow::Other);

struct MenuRowInfo {
  MenuRow row;
  std::string_view control;      // the row's label
  std::string_view builtInName;  // caption until the language file replaces it
  std::string_view textKey;
  std::string_view panel;        // the panel the row opens; empty for rows 9 and 10
  std::string_view panelSlider;  // the panel's pointer-marking slider
  std::string_view panelImage;   // skin image behind the panel, named after its entry count
};

inline constexpr std::string_view kMenuImage = "10Keys";

inline constexpr std::array<MenuRowInfo, kMenuRowCount> kMenuRows = {{
    {MenuRow::BaseKeys, "lbl_basekeys", "鼠标按键", "KM1", "gbbasekeys", "TB_basekeys", "7Keys"},
    {MenuRow::Gaming, "lbl_gaming", "游戏配置", "KM2", "gbgaming", "TB_gaming", "5Keys"},
    {MenuRow::Office, "lbl_office", "办公命令", "KM3", "gboffice", "TB_office", "9Keys"},
    {MenuRow::Media, "lbl_media", "多媒体命令", "KM4", "gbmedia", "TB_media", "8Keys"},
    {MenuRow::Ie, "lbl_ie", "上网命令", "KM5", "gbie", "TB_ie", "7Keys"},
    {MenuRow::Win8, "lbl_win8", "Windows8命令", "KM6", "gbwin8", "TB_win8", "8Keys"},
    {MenuRow::Os, "lbl_os", "操作系统命令", "KM7", "gbos", "TB_os", "7Keys"},
    {MenuRow::Other, "lbl_other", "其它命令", "KM8", "gbother", "TB_other", "4Keys"},
    {MenuRow::Mode, "lbl_mode", "模式切换", "KM9", "", "", ""},
    {MenuRow::KeyOff, "lbl_keyoff", "按键关", "KM10", "", "", ""},
}};

// One function the user can pick from the menu.
struct FunctionEntry {
  std::string_view control;  // the entry's label; its click handler is named after it
  MenuRow menu;              // the menu row it is reached from
  int position;              // 1-based row in its panel; 0 for menu rows 9 and 10
  std::string_view builtInName;
  std::string_view textKey;
  KeyAction action;
  // The macro entry assigns (9, n, 0) with n chosen in the macro selection
  // dialog; its Param1 here is only a placeholder.
  bool opensMacroDialog = false;
};

inline constexpr std::size_t kFunctionCount = 57;

namespace detail {
constexpr KeyAction ka(KeyActionType type, int param1, int param2) {
  return {type, static_cast<std::uint8_t>(param1), static_cast<std::uint8_t>(param2)};
}
}  // namespace detail

// Ordered by menu row, then by position, so each panel is one run of rows.
inline constexpr std::array<FunctionEntry, kFunctionCount> kFunctionCatalogue = [] {
  using enum KeyActionType;
  using enum MenuRow;
  using detail::ka;
  return std::array<FunctionEntry, kFunctionCount>{{
      {"lbl_msekey_left", BaseKeys, 1, "左键", "KBK1", ka(MouseButton, 1, 0)},
      {"lbl_msekey_mid", BaseKeys, 2, "中键", "KBK3", ka(MouseButton, 4, 0)},
      {"lbl_msekey_right", BaseKeys, 3, "右键", "KBK2", ka(MouseButton, 2, 0)},
      {"lbl_msekey_back", BaseKeys, 4, "后退", "KBK4", ka(MouseButton, 8, 0)},
      {"lbl_msekey_forward", BaseKeys, 5, "Forward Key", "KBK5", ka(MouseButton, 16, 0)},
      {"lbl_msekey_ltilt", BaseKeys, 6, "左摆", "KBK6", ka(Tilt, 1, 0)},
      {"lbl_msekey_rtilt", BaseKeys, 7, "右摆", "KBK7", ka(Tilt, 255, 0)},

      {"lbl_gaming_double", Gaming, 1, "Double Left Click", "KG1", ka(LeftMultiClick, 2, 0)},
      {"lbl_gaming_three", Gaming, 2, "左键三连发", "KG2", ka(LeftMultiClick, 3, 0)},
      {"lbl_gaming_four", Gaming, 3, "左键四连发", "KG3", ka(LeftMultiClick, 4, 0)},
      {"lbl_gaming_five", Gaming, 4, "左键五连发", "KG4", ka(LeftMultiClick, 5, 0)},
      {"lbl_gaming_kbd_maro", Gaming, 5, "宏定义", "KG5", ka(DeviceMacro, 0, 0), true},

      {"lbl_office_copy", Office, 1, "Copy", "KOF1", ka(KeyCombination, 1, 6)},
      {"lbl_office_paste", Office, 2, "Paste", "KOF2", ka(KeyCombination, 1, 25)},
      {"lbl_office_cut", Office, 3, "Cut", "KOF3", ka(KeyCombination, 1, 27)},
      {"lbl_office_all", Office, 4, "Select All", "KOF4", ka(KeyCombination, 1, 4)},
      {"lbl_office_find", Office, 5, "Find", "KOF5", ka(KeyCombination, 1, 9)},
      {"lbl_office_new", Office, 6, "New", "KOF6", ka(KeyCombination, 1, 17)},
      {"lbl_office_print", Office, 7, "Print", "KOF7", ka(KeyCombination, 1, 19)},
      {"lbl_office_save", Office, 8, "Save", "KOF8", ka(KeyCombination, 1, 22)},
      {"lbl_office_email", Office, 9, "E-mail", "KOF9", ka(ConsumerUsage, 1, 138)},

      {"lbl_media_player", Media, 1, "Player", "KA1", ka(ConsumerUsage, 1, 131)},
      {"lbl_media_playpause", Media, 2, "Play/Pause", "KA2", ka(ConsumerUsage, 0, 205)},
      {"lbl_media_stop", Media, 3, "Stop", "KA3", ka(ConsumerUsage, 0, 183)},
      // The control names of the two volume rows are swapped against their
      // functions; the text keys follow the function.
      {"lbl_media_vold", Media, 4, "Volume + ", "KA5", ka(ConsumerUsage, 0, 233)},
      {"lbl_media_voli", Media, 5, "Volume - ", "KA4", ka(ConsumerUsage, 0, 234)},
      {"lbl_media_previous", Media, 6, "Previous Track", "KA6", ka(ConsumerUsage, 0, 182)},
      {"lbl_media_next", Media, 7, "Next Track  ", "KA7", ka(ConsumerUsage, 0, 181)},
      {"lbl_media_mute", Media, 8, "Mute", "KA8", ka(ConsumerUsage, 0, 226)},

      {"lbl_ie_home", Ie, 1, "WWW Home", "KIE1", ka(ConsumerUsage, 2, 35)},
      {"lbl_ie_search", Ie, 2, "WWW Search", "KIE2", ka(ConsumerUsage, 2, 33)},
      {"lbl_ie_back", Ie, 3, "WWW Back", "KIE3", ka(ConsumerUsage, 2, 36)},
      {"lbl_ie_forward", Ie, 4, "WWW Forward", "KIE4", ka(ConsumerUsage, 2, 37)},
      // The same usage as the multimedia Stop, not AC Stop.
      {"lbl_ie_stop", Ie, 5, "WWW Stop", "KIE5", ka(ConsumerUsage, 0, 183)},
      {"lbl_ie_refresh", Ie, 6, "WWW Refresh", "KIE6", ka(ConsumerUsage, 2, 39)},
      {"lbl_ie_favorites", Ie, 7, "WWW Favorites", "KIE7", ka(ConsumerUsage, 2, 42)},

      {"lbl_win8_search", Win8, 1, "Search", "KW81", ka(KeyCombination, 8, 20)},
      {"lbl_win8_share", Win8, 2, "Share", "KW82", ka(KeyCombination, 8, 11)},
      {"lbl_win8_device", Win8, 3, "Device", "KW83", ka(KeyCombination, 8, 14)},
      {"lbl_win8_setting", Win8, 4, "Install", "KW84", ka(KeyCombination, 8, 12)},
      {"lbl_win8_return", Win8, 5, "程式窗返回", "KW85", ka(KeyCombination, 9, 42)},
      {"lbl_win8_bill", Win8, 6, "程式窗清单浏览", "KW86", ka(KeyCombination, 9, 43)},
      {"lbl_win8_partition", Win8, 7, "分割页面", "KW87", ka(KeyCombination, 8, 55)},
      {"lbl_win8_app", Win8, 8, "应用程式功能表", "KW88", ka(KeyCombination, 8, 29)},

      {"lbl_os_switch", Os, 1, "Switch Win", "KOS1", ka(KeyCombination, 4, 43)},
      {"lbl_os_close", Os, 2, "Close Win", "KOS2", ka(KeyCombination, 4, 61)},
      {"lbl_os_explorer", Os, 3, "Explorer", "KOS3", ka(KeyCombination, 8, 8)},
      {"lbl_os_run", Os, 4, "Run", "KOS4", ka(KeyCombination, 8, 21)},
      {"lbl_os_desktop", Os, 5, "Desktop", "KOS5", ka(KeyCombination, 8, 7)},
      {"lbl_os_lock", Os, 6, "Lock PC", "KOS6", ka(KeyCombination, 5, 76)},
      {"lbl_os_win", Os, 7, "Windows", "KOS7", ka(KeyCombination, 8, 0)},

      // As with the volume rows, dpid is DPI up and dpii DPI down.
      {"lbl_other_dpid", Other, 1, "DPI+", "KOT1", ka(DeviceFunction, 1, 0)},
      {"lbl_other_dpii", Other, 2, "DPI-", "KOT2", ka(DeviceFunction, 2, 0)},
      {"lbl_other_dpi", Other, 3, "DPI", "KOT3", ka(DeviceFunction, 3, 0)},
      {"lbl_other_breath", Other, 4, "Breathe LED Switch", "KOT4", ka(DeviceFunction, 4, 0)},

      {"lbl_mode", Mode, 0, "模式切换", "KM9", ka(ModeSwitch, 1, 0)},
      {"lbl_keyoff", KeyOff, 0, "按键关", "KM10", ka(Disabled, 0, 0)},
  }};
}();

// The entry whose function the rule of AssignFunction protects.
inline constexpr std::string_view kLeftClickControl = "lbl_msekey_left";
inline constexpr KeyAction kLeftClick{KeyActionType::MouseButton, 1, 0};

// The bytes the macro entry assigns for the macro at zero-based position n of
// the selection list. Positions from 256 on wrap, as the byte would.
KeyAction deviceMacroAction(std::size_t listPosition);

const MenuRowInfo& menuRowInfo(MenuRow row);
// nullptr when no menu row has that label.
const MenuRowInfo* findMenuRow(std::string_view control);

// nullptr when no entry has that label.
const FunctionEntry* findByControl(std::string_view control);
// The first entry (in table order) that writes these bytes; every (9, n, 0)
// belongs to the macro entry. nullptr when no entry does. "WWW Stop" and
// "Stop" share their bytes, so this finds "Stop".
const FunctionEntry* findByAction(KeyAction action);
// The entries of one menu row in panel order; rows 9 and 10 hold just themselves.
std::span<const FunctionEntry> entriesOf(MenuRow row);

}  // namespace korvane::buttons
