#include "buttons/function_catalogue.h"

#include <algorithm>

namespace korvane::buttons {

namespace {

// entriesOf hands out runs of the table, which holds only while the rows stay
// grouped by menu row and numbered 1, 2, 3 ... inside each panel.
constexpr bool catalogueIsGroupedInPanelOrder() {
  for (std::size_t i = 0; i < kFunctionCatalogue.size(); ++i) {
    const FunctionEntry& entry = kFunctionCatalogue[i];
    const bool ownMenuRow = entry.menu == MenuRow::Mode || entry.menu == MenuRow::KeyOff;
    const bool startsRun = i == 0 || kFunctionCatalogue[i - 1].menu != entry.menu;
    if (startsRun && i > 0 && kFunctionCatalogue[i - 1].menu > entry.menu) return false;
    const int expected = ownMenuRow ? 0 : startsRun ? 1 : kFunctionCatalogue[i - 1].position + 1;
    if (entry.position != expected) return false;
  }
  return true;
}
static_assert(catalogueIsGroupedInPanelOrder());

constexpr bool menuRowsAreInScreenOrder() {
  for (std::size_t i = 0; i < kMenuRows.size(); ++i) {
    if (static_cast<std::size_t>(kMenuRows[i].row) != i + 1) return false;
  }
  return true;
}
static_assert(menuRowsAreInScreenOrder());

}  // namespace

void writeKeyAction(std::span<std::uint8_t, settings::kModeBlockSize> block, int button,
                    KeyAction action) {
  const std::size_t offset = settings::keyActionOffset(button);
  block[offset] = static_cast<std::uint8_t>(action.type);
  block[offset + 1] = action.param1;
  block[offset + 2] = action.param2;
}

KeyAction readKeyAction(std::span<const std::uint8_t, settings::kModeBlockSize> block, int button) {
  const std::size_t offset = settings::keyActionOffset(button);
  return {static_cast<KeyActionType>(block[offset]), block[offset + 1], block[offset + 2]};
}

KeyAction deviceMacroAction(std::size_t listPosition) {
  return {KeyActionType::DeviceMacro, static_cast<std::uint8_t>(listPosition & 0xFF), 0};
}

const MenuRowInfo& menuRowInfo(MenuRow row) {
  return kMenuRows.at(static_cast<std::size_t>(row) - 1);
}

const MenuRowInfo* findMenuRow(std::string_view control) {
  const auto* it = std::ranges::find(kMenuRows, control, &MenuRowInfo::control);
  return it == kMenuRows.end() ? nullptr : it;
}

const FunctionEntry* findByControl(std::string_view control) {
  const auto* it = std::ranges::find(kFunctionCatalogue, control, &FunctionEntry::control);
  return it == kFunctionCatalogue.end() ? nullptr : it;
}

const FunctionEntry* findByAction(KeyAction action) {
  const auto* it = std::ranges::find_if(kFunctionCatalogue, [&](const FunctionEntry& entry) {
    if (entry.opensMacroDialog) {
      return action.type == entry.action.type && action.param2 == entry.action.param2;
    }
    return entry.action == action;
  });
  return it == kFunctionCatalogue.end() ? nullptr : it;
}

std::span<const FunctionEntry> entriesOf(MenuRow row) {
  const auto first = std::ranges::find(kFunctionCatalogue, row, &FunctionEntry::menu);
  const auto last = std::find_if(first, kFunctionCatalogue.end(),
                                 [row](const FunctionEntry& entry) { return entry.menu != row; });
  return {first, last};
}

}  // namespace korvane::buttons
