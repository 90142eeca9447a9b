#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/mode_layout.h"

namespace korvane::buttons {

// The position (from 0) in the macro library of the macro named `name`, or
// nothing when the library holds no macro of that name.
using MacroPosition = std::function<std::optional<int>(std::string_view name)>;

// A button that plays a macro of the library.
struct MacroButton {
  int button = 0;     // 1..12
  std::string macro;  // its caption: the macro's name
  int position = 0;   // the macro's position in the library, the byte it stores

  friend bool operator==(const MacroButton&, const MacroButton&) = default;
};

// A button that plays a macro stores the macro's library position (9, n, 0)
// and shows the macro's name. Creating, loading or deleting a macro moves the
// positions under it, so each button of `block` that plays a macro and whose
// caption names a library macro is given that macro's position now; a button
// whose caption names no library macro keeps its bytes. Returns the buttons
// that name a library macro, as they stand afterwards.
std::vector<MacroButton> FollowMacroPositions(
    std::span<const std::string, settings::kButtonCount> captions,
    std::span<std::uint8_t, settings::kModeBlockSize> block, const MacroPosition& positionOf);

}  // namespace korvane::buttons
