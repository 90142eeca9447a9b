#include "buttons/macro_buttons.h"

#include "buttons/function_catalogue.h"

namespace korvane::buttons {

std::vector<MacroButton> FollowMacroPositions(
    std::span<const std::string, settings::kButtonCount> captions,
    std::span<std::uint8_t, settings::kModeBlockSize> block, const MacroPosition& positionOf) {
  std::vector<MacroButton> followed;
  for (int button = 1; button <= settings::kButtonCount; ++button) {
    const std::size_t at = settings::keyActionOffset(button);
    if (block[at] != static_cast<std::uint8_t>(KeyActionType::DeviceMacro)) {
      continue;
    }
    const std::string& caption = captions[static_cast<std::size_t>(button - 1)];
    const std::optional<int> position = positionOf(caption);
    if (!position) {
      continue;
    }
    const KeyAction action = deviceMacroAction(static_cast<std::size_t>(*position));
    block[at + 1] = action.param1;
    block[at + 2] = action.param2;
    followed.push_back({button, caption, *position});
  }
  return followed;
}

}  // namespace korvane::buttons
