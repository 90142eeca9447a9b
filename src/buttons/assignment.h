#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "buttons/function_catalogue.h"

namespace korvane::buttons {

// The button labels of the button page as the window holds them.
struct ButtonState {
  std::array<std::string, settings::kButtonCount> captions;  // Key1..Key12
  int selected = 0;                                          // 1..12; 0 = none
};

// What an assignment needs from the window around it.
class AssignmentHost {
 public:
  virtual ~AssignmentHost() = default;
  // The left-key warning dialog, modal; returns when the user closes it.
  virtual void showLeftKeyWarning() = 0;
  // StoreWorkingBlock: the active mode's stored block takes the working block.
  virtual void storeWorkingBlock() = 0;
  // page_MseKeysClick: hides the menu and its panels and drops the highlights.
  // AssignFunction clears the selection in ButtonState itself afterwards.
  virtual void closeMenu() = 0;
};

// Gives the selected button a function: its bytes in the working block and
// `displayName` on its label. `leftClickName` is the current caption of the
// left-click entry lbl_msekey_left; at least one of Key1..Key3 must keep
// showing it, otherwise the user is warned and the selected button takes the
// left click back. Always ends by storing the working block and closing the
// menu, with or without a selected button.
void AssignFunction(ButtonState& buttons, std::span<std::uint8_t, settings::kModeBlockSize> working,
                    AssignmentHost& host, KeyAction action, std::string_view displayName,
                    std::string_view leftClickName);

}  // namespace korvane::buttons
