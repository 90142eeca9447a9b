#include "buttons/assignment.h"

#include <algorithm>

namespace korvane::buttons {

namespace {

// Only the first three buttons can hold the left click that keeps the mouse usable.
constexpr int kLeftClickButtons = 3;

int selectedButton(const ButtonState& buttons) {
  return buttons.selected >= 1 && buttons.selected <= settings::kButtonCount ? buttons.selected : 0;
}

void setButton(ButtonState& buttons, std::span<std::uint8_t, settings::kModeBlockSize> working,
               int button, KeyAction action, std::string_view name) {
  buttons.captions[static_cast<std::size_t>(button - 1)] = name;
  writeKeyAction(working, button, action);
}

// Names, not bytes: a left click shown under another language's name does not count.
bool leftClickKept(const ButtonState& buttons, std::string_view leftClickName) {
  return std::any_of(buttons.captions.begin(), buttons.captions.begin() + kLeftClickButtons,
                     [&](const std::string& caption) { return caption == leftClickName; });
}

}  // namespace

void AssignFunction(ButtonState& buttons, std::span<std::uint8_t, settings::kModeBlockSize> working,
                    AssignmentHost& host, KeyAction action, std::string_view displayName,
                    std::string_view leftClickName) {
  // Copies, so that the names stay put while captions change below.
  const std::string leftName(leftClickName);
  const std::string name(displayName);

  const int button = selectedButton(buttons);
  if (button != 0) {
    setButton(buttons, working, button, action, name);
  }

  if (!leftClickKept(buttons, leftName)) {
    host.showLeftKeyWarning();
    // The warning is followed by the left click on the same button. For
    // buttons 1..3 that restores the rule. For 4..12 (or no selection) it
    // cannot, as when the stored names came from another language file, and
    // checking again would warn forever, so the rule is checked once only.
    if (button != 0) {
      setButton(buttons, working, button, kLeftClick, leftName);
    }
  }

  host.storeWorkingBlock();
  host.closeMenu();
  buttons.selected = 0;
}

}  // namespace korvane::buttons
