#include "app/keys_page.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/host.h"
#include "app/skin_image.h"
#include "app/window_context.h"
#include "settings/mode_block.h"

namespace korvane::app {

namespace {

using buttons::FunctionEntry;
using buttons::kCategoryRowCount;
using buttons::kMenuRowCount;
using buttons::MenuRow;

// Positions on the button page. Buttons 1 to 6 take the six rows (the fourth
// row is the forward button, the fifth the back button); buttons 7 to 12
// take the same rows, in order, when their group is shown.
constexpr std::array<Rect, settings::kButtonCount> kKeyPlaces = {{
    {122, 49, 154, 22},   // Key1
    {122, 77, 154, 22},   // Key2
    {122, 105, 154, 22},  // Key3
    {122, 162, 154, 22},  // Key4: fifth row, the back button
    {122, 134, 154, 22},  // Key5: fourth row, the forward button
    {122, 191, 154, 22},  // Key6
    {122, 49, 154, 22},   // Key7
    {122, 77, 154, 22},   // Key8
    {122, 105, 154, 22},  // Key9
    {122, 134, 154, 22},  // Key10
    {122, 162, 154, 22},  // Key11
    {122, 191, 154, 22},  // Key12
}};
constexpr std::array<const char*, settings::kButtonCount> kKeyCaptions = {
    "左键", "右键",     "中键",       "后退",     "前进", "DPI",
    "双击", "IE快捷键", "开始菜单键", "模式切换", "左摆", "右摆"};
constexpr std::array<int, kRowsPerGroup> kRowNumberTops = {49, 77, 105, 134, 162, 191};
constexpr int kRowNumberLeft = 56;
// The group switches sit above the rows, over the button labels' column.
constexpr std::array<Rect, kKeyGroupCount> kKeyGroupPlaces = {
    {{122, 16, 75, 24}, {201, 16, 75, 24}}};
constexpr std::array<const char*, kKeyGroupCount> kKeyGroupCaptions = {"1-6", "7-12"};
// The map of the mouse right of the rows.
constexpr Rect kKeyMapPlace = {296, 40, 100, 160};

// The function menu and its panels (window coordinates come from the
// button that opens them).
constexpr int kPageLeft = 418;
constexpr int kPageTop = 149;
constexpr int kMenuAboveOffset = 225;  // the sixth row opens the menu upwards
constexpr Rect kMenuSize = {0, 0, 217, 250};
constexpr std::array<int, kMenuRowCount> kRowTops = {4, 28, 53, 77, 101, 125, 150, 174, 198, 222};
constexpr std::array<int, kCategoryRowCount> kArrowTops = {4, 28, 52, 76, 100, 124, 148, 172};
constexpr Rect kArrow = {156, 0, 18, 25};
constexpr Rect kRowLabel = {22, 0, 153, 23};
constexpr Rect kLastRowLabel = {30, 0, 145, 23};
constexpr Rect kEntryLabel = {22, 0, 123, 23};
constexpr int kNumberLeft = 8;
constexpr int kMenuSliderLeft = 185;
constexpr int kPanelSliderLeft = 152;
constexpr int kPanelWidth = 187;

// Panel heights by entry count (the skin's "NKeys" images).
int panelHeight(std::size_t entries) {
  switch (entries) {
    case 9:
      return 226;
    case 8:
      return 202;
    case 7:
      return 178;
    case 5:
      return 129;
    default:
      return 106;
  }
}

std::size_t index(int oneBased) {
  return static_cast<std::size_t>(oneBased - 1);
}

}  // namespace

KeysPage::KeysPage(WindowContext& context) : context_(context) {
  for (std::size_t i = 0; i < Key.size(); ++i) {
    Key[i].geometry = kKeyPlaces[i];
    Key[i].caption = kKeyCaptions[i];
  }
  for (std::size_t i = 0; i < rowNumber.size(); ++i) {
    rowNumber[i].geometry = {kRowNumberLeft, kRowNumberTops[i], 22, 22};
  }
  img_keys.geometry = {0, 0, 418, 362};
  for (std::size_t g = 0; g < lbl_keygroup.size(); ++g) {
    img_keygroup[g].geometry = kKeyGroupPlaces[g];
    img_keygroup[g].family = "keygroup";
    img_keygroup[g].kind = SkinKind::Choice;
    img_keygroup[g].isSelected = [this, g] { return shownGroup_ == static_cast<int>(g) + 1; };
    lbl_keygroup[g].geometry = kKeyGroupPlaces[g];
    lbl_keygroup[g].caption = kKeyGroupCaptions[g];
  }
  img_keymap.geometry = kKeyMapPlace;
  showKeyGroup(1);

  gbMenu.geometry = kMenuSize;
  gbMenu.visible = false;
  img_gbMenu.geometry = kMenuSize;
  TB_menu = Slider{};
  TB_menu.geometry = {kMenuSliderLeft, 4, 24, 240};
  TB_menu.maximum = kMenuRowCount - 1;
  for (std::size_t r = 0; r < kMenuRowCount; ++r) {
    const buttons::MenuRowInfo& info = buttons::kMenuRows[r];
    Rect label = r + 1 == kMenuRowCount ? kLastRowLabel : kRowLabel;
    label.y = kRowTops[r];
    menuRow[r].geometry = label;
    menuRow[r].caption = std::string(info.builtInName);
    menuNumber[r].geometry = {kNumberLeft, kRowTops[r], 14, 23};
    menuNumber[r].caption = std::to_string(r + 1);
  }
  for (std::size_t r = 0; r < kCategoryRowCount; ++r) {
    lbl_extend[r].geometry = {kArrow.x, kArrowTops[r], kArrow.width, kArrow.height};
    lbl_extend[r].caption = "^";
    CategoryPanel& panel = panels[r];
    const buttons::MenuRowInfo& info = buttons::kMenuRows[r];
    panel.name = std::string(info.panel);
    for (const FunctionEntry& function : buttons::entriesOf(info.row)) {
      panel.functions.push_back(&function);
    }
    const std::size_t count = panel.functions.size();
    panel.panel.geometry = {0, 0, kPanelWidth, panelHeight(count)};
    panel.panel.visible = false;
    panel.background.geometry = panel.panel.geometry;
    panel.slider.geometry = {kPanelSliderLeft, 4, 24, panelHeight(count) - 8};
    panel.slider.maximum = static_cast<int>(count) - 1;
    panel.entries.resize(count);
    panel.numbers.resize(count);
    for (std::size_t e = 0; e < count; ++e) {
      panel.entries[e].geometry = {kEntryLabel.x, kRowTops[e], kEntryLabel.width,
                                   kEntryLabel.height};
      panel.entries[e].caption = std::string(panel.functions[e]->builtInName);
      panel.numbers[e].geometry = {kNumberLeft, kRowTops[e], 14, 23};
      panel.numbers[e].caption = std::to_string(e + 1);
    }
  }
}

std::string_view KeysPage::builtInCaption(int button) {
  return kKeyCaptions.at(static_cast<std::size_t>(button - 1));
}

std::array<std::string, settings::kButtonCount> KeysPage::captions() const {
  std::array<std::string, settings::kButtonCount> result;
  for (std::size_t i = 0; i < Key.size(); ++i) {
    result[i] = Key[i].caption;
  }
  return result;
}

void KeysPage::setCaption(int button, const std::string& caption) {
  if (button >= 1 && button <= settings::kButtonCount) {
    Key[index(button)].caption = caption;
  }
}

std::vector<Image*> KeysPage::menuImages() {
  std::vector<Image*> images = {&img_gbMenu};
  for (CategoryPanel& panel : panels) {
    images.push_back(&panel.background);
  }
  return images;
}

std::vector<NamedControl> KeysPage::namedControls() {
  std::vector<NamedControl> named = {{"gbMenu", &gbMenu},
                                     {"img_gbMenu", &img_gbMenu},
                                     {"TB_menu", &TB_menu},
                                     {"img_keys", &img_keys}};
  for (std::size_t i = 0; i < rowNumber.size(); ++i) {
    named.push_back({"lbl_key" + std::to_string(i + 1), &rowNumber[i]});
  }
  for (std::size_t g = 0; g < lbl_keygroup.size(); ++g) {
    named.push_back({"lbl_keygroup" + std::to_string(g + 1), &lbl_keygroup[g]});
    named.push_back({"img_keygroup" + std::to_string(g + 1), &img_keygroup[g]});
  }
  named.push_back({"img_keymap", &img_keymap});
  for (std::size_t r = 0; r < kMenuRowCount; ++r) {
    named.push_back({std::string(buttons::kMenuRows[r].control), &menuRow[r]});
  }
  for (std::size_t r = 0; r < kCategoryRowCount; ++r) {
    CategoryPanel& category = panels[r];
    const buttons::MenuRowInfo& info = buttons::kMenuRows[r];
    named.push_back({"lbl_extend" + std::to_string(r + 1), &lbl_extend[r]});
    named.push_back({category.name, &category.panel});
    named.push_back({"img_" + category.name, &category.background});
    named.push_back({std::string(info.panelSlider), &category.slider});
    for (std::size_t e = 0; e < category.entries.size(); ++e) {
      named.push_back({std::string(category.functions[e]->control), &category.entries[e]});
    }
  }
  return named;
}

void KeysPage::fitMenusToPictures() {
  const auto fit = [](Panel& panel, Image& background) {
    if (const std::optional<Rect> size = pictureSize(background.picture)) {
      background.geometry.width = size->width;
      background.geometry.height = size->height;
      panel.geometry.width = size->width;
      panel.geometry.height = size->height;
    }
  };
  fit(gbMenu, img_gbMenu);
  for (CategoryPanel& category : panels) {
    fit(category.panel, category.background);
  }
}

const Label& KeysPage::leftClickEntry() const {
  return panels[0].entries[0];
}

// --- the button labels ---------------------------------------------------------

int KeysPage::keyGroupOf(int button) {
  return button > kRowsPerGroup ? 2 : 1;
}

void KeysPage::showKeyGroup(int group) {
  shownGroup_ = group;
  for (int button = 1; button <= settings::kButtonCount; ++button) {
    Key[index(button)].visible = keyGroupOf(button) == group;
  }
  for (std::size_t i = 0; i < rowNumber.size(); ++i) {
    rowNumber[i].caption = std::to_string(static_cast<int>(i) + 1 + (group - 1) * kRowsPerGroup);
  }
}

void KeysPage::showKeyGroupPictures() {
  std::vector<SkinImage*> group;
  for (SkinImage& image : img_keygroup) {
    group.push_back(&image);
  }
  selectInGroup(context_.state, group, img_keygroup[index(shownGroup_)]);
  img_keymap.load(context_.state.skinFile("keymap_" + std::to_string(shownGroup_)));
}

void KeysPage::keyGroupClick(int group) {
  if (group < 1 || group > kKeyGroupCount) {
    return;
  }
  // The selected button's row may be about to show another button.
  ClearButtonHighlight();
  HideFunctionMenu();
  ClearSelection();
  showKeyGroup(group);
  showKeyGroupPictures();
}

void KeysPage::keyGroupEnter(int group) {
  if (group >= 1 && group <= kKeyGroupCount) {
    img_keygroup[index(group)].enter(context_.state);
  }
}

void KeysPage::keyGroupLeave(int group) {
  if (group >= 1 && group <= kKeyGroupCount) {
    img_keygroup[index(group)].leave(context_.state);
  }
}

Rect KeysPage::insideWindow(Rect area) const {
  area.x = std::max(kMainWindowArea.x,
                    std::min(area.x, kMainWindowArea.x + kMainWindowArea.width - area.width));
  area.y = std::max(kMainWindowArea.y,
                    std::min(area.y, kMainWindowArea.y + kMainWindowArea.height - area.height));
  return area;
}

void KeysPage::KeyClick(int button) {
  if (button < 1 || button > settings::kButtonCount) {
    return;
  }
  // Buttons 1 to 5 open the menu at their label's top-left corner; the
  // bottom row opens it upwards. Every row of the second group opens it as
  // the same row of the first group does.
  const Label& key = Key[index(button)];
  int top = kPageTop + key.geometry.y;
  if (key.geometry.y == kRowNumberTops.back()) {
    top -= kMenuAboveOffset;
  }
  const Rect menu = insideWindow(
      {kPageLeft + key.geometry.x, top, gbMenu.geometry.width, gbMenu.geometry.height});
  gbMenu.geometry.x = menu.x;
  gbMenu.geometry.y = menu.y;
  ClearSelection();
  buttons_.selected = button;
  HideFunctionMenu();
  gbMenu.visible = true;
  ClearButtonHighlight();
  Key[index(button)].highlighted = true;
}

void KeysPage::ClearButtonHighlight() {
  for (Label& key : Key) {
    key.highlighted = false;
  }
}

void KeysPage::ClearSelection() {
  buttons_.selected = 0;
}

void KeysPage::HideFunctionMenu() {
  gbMenu.visible = false;
  for (CategoryPanel& panel : panels) {
    panel.panel.visible = false;
  }
  context_.host.pumpEvents();
}

void KeysPage::ClearCategoryHighlight() {
  for (std::size_t r = 0; r < kCategoryRowCount; ++r) {
    menuRow[r].highlighted = false;
  }
}

// --- the menu -------------------------------------------------------------------

void KeysPage::categoryEnter(int row) {
  if (row < 1 || row > kMenuRowCount) {
    return;
  }
  ClearCategoryHighlight();
  if (row <= kCategoryRowCount) {
    CategoryPanel& open = panels[index(row)];
    const Label& arrow = lbl_extend[index(row)];
    // Beside the row; a panel that would reach past the window's bottom
    // edge rises until all its entries can be reached.
    Rect beside = open.panel.geometry;
    beside.x = gbMenu.geometry.x + arrow.geometry.x + arrow.geometry.width / 2;
    beside.y = gbMenu.geometry.y + arrow.geometry.y;
    beside = insideWindow(beside);
    open.panel.geometry.x = beside.x;
    open.panel.geometry.y = beside.y;
  }
  menuRow[index(row)].highlighted = true;
  gbMenu.visible = true;
  for (std::size_t r = 0; r < kCategoryRowCount; ++r) {
    panels[r].panel.visible = static_cast<int>(r) + 1 == row;
  }
  TB_menu.set(row - 1);
}

void KeysPage::categoryLeave(int row) {
  if (row < 1 || row > kMenuRowCount) {
    return;
  }
  // The row of the open panel stays marked while the pointer moves into it.
  const bool panelOpen = row <= kCategoryRowCount && panels[index(row)].panel.visible;
  menuRow[index(row)].highlighted = panelOpen;
}

Label* KeysPage::entryLabel(int row, int position) {
  if (row < 1 || row > kCategoryRowCount) {
    return nullptr;
  }
  CategoryPanel& panel = panels[index(row)];
  if (position < 1 || position > static_cast<int>(panel.entries.size())) {
    return nullptr;
  }
  return &panel.entries[index(position)];
}

void KeysPage::entryEnter(int row, int position) {
  if (Label* entry = entryLabel(row, position)) {
    entry->highlighted = true;
    panels[index(row)].slider.set(position - 1);
  }
}

void KeysPage::entryLeave(int row, int position) {
  if (Label* entry = entryLabel(row, position)) {
    entry->highlighted = false;
  }
}

void KeysPage::entryClick(int row, int position) {
  if (row == static_cast<int>(MenuRow::Mode) || row == static_cast<int>(MenuRow::KeyOff)) {
    for (const FunctionEntry& function : buttons::kFunctionCatalogue) {
      if (function.menu == static_cast<MenuRow>(row)) {
        assign(function, menuRow[index(row)].caption);
        return;
      }
    }
    return;
  }
  Label* entry = entryLabel(row, position);
  if (entry == nullptr) {
    return;
  }
  const FunctionEntry& function = *panels[index(row)].functions[index(position)];
  if (function.opensMacroDialog) {
    openMacroDialog();
    return;
  }
  assign(function, entry->caption);
}

void KeysPage::page_MseKeysClick() {
  ClearButtonHighlight();
  HideFunctionMenu();
  ClearSelection();
  img_keys.visible = false;
}

// --- assignment -------------------------------------------------------------------

void KeysPage::assign(const FunctionEntry& function, const std::string& caption) {
  buttons_.captions = captions();
  buttons::AssignFunction(
      buttons_, std::span<std::uint8_t, settings::kModeBlockSize>(context_.blocks.working), *this,
      function.action, caption, leftClickEntry().caption);
  for (std::size_t i = 0; i < Key.size(); ++i) {
    Key[i].caption = buttons_.captions[i];
  }
}

void KeysPage::openMacroDialog() {
  HideFunctionMenu();
  const std::vector<std::string> names =
      context_.macroNames ? context_.macroNames() : std::vector<std::string>{};
  const std::optional<int> chosen = context_.host.chooseMacro(names);
  if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(names.size())) {
    return;  // the button stays selected and highlighted
  }
  const FunctionEntry macro = {
      .control = "lbl_gaming_kbd_maro",
      .menu = MenuRow::Gaming,
      .position = 5,
      .builtInName = {},
      .textKey = {},
      .action = buttons::deviceMacroAction(static_cast<std::size_t>(*chosen))};
  assign(macro, names[static_cast<std::size_t>(*chosen)]);
}

void KeysPage::showLeftKeyWarning() {
  // Captions as they stand so far, in case the window repaints meanwhile.
  for (std::size_t i = 0; i < Key.size(); ++i) {
    Key[i].caption = buttons_.captions[i];
  }
  context_.host.showLeftKeyWarning();
}

void KeysPage::storeWorkingBlock() {
  context_.blocks.StoreWorkingBlock();
}

void KeysPage::closeMenu() {
  page_MseKeysClick();
}

}  // namespace korvane::app
