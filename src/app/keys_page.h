#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/control_registry.h"
#include "app/controls.h"
#include "app/skin_image.h"
#include "buttons/assignment.h"
#include "buttons/function_catalogue.h"

namespace korvane::app {

struct WindowContext;

// One category panel of the function menu: its background, its entries and
// the slider that marks the entry under the pointer.
struct CategoryPanel {
  std::string name;  // "gboffice" ...
  Panel panel;
  Image background;
  Slider slider;
  std::vector<Label> entries;
  std::vector<Label> numbers;
  std::vector<const buttons::FunctionEntry*> functions;
};

// The six rows of the button page show one group of six buttons at a time:
// buttons 1 to 6, or buttons 7 to 12.
inline constexpr int kKeyGroupCount = 2;
inline constexpr int kRowsPerGroup = 6;

// The button page: the twelve button labels, the function menu with its
// eight category panels, and the road from a click on a button to a
// function in that button's KeyAction.
class KeysPage : private buttons::AssignmentHost {
 public:
  explicit KeysPage(WindowContext& context);

  // --- events ------------------------------------------------------------------
  void KeyClick(int button);    // Key1Click .. Key12Click
  void categoryEnter(int row);  // lbl_basekeysMouseEnter .. lbl_keyoffMouseEnter
  void categoryLeave(int row);
  void entryEnter(int row, int position);
  void entryLeave(int row, int position);
  void entryClick(int row, int position);  // the menu rows 9 and 10 have position 0
  void page_MseKeysClick();
  // The two group switches above the rows ("1-6", "7-12"): a click shows
  // that group's buttons in the six rows and closes the menu.
  void keyGroupClick(int group);
  void keyGroupEnter(int group);
  void keyGroupLeave(int group);

  // --- shared operations -------------------------------------------------
  void ClearButtonHighlight();
  void ClearSelection();
  void HideFunctionMenu();
  void ClearCategoryHighlight();

  int selectedButton() const { return buttons_.selected; }
  int shownKeyGroup() const { return shownGroup_; }
  // The group a button belongs to, 1 or 2.
  static int keyGroupOf(int button);
  // The pictures that follow the shown group: the switches and the map of
  // the mouse marking the shown buttons.
  void showKeyGroupPictures();
  // The captions of Key1..Key12.
  std::array<std::string, settings::kButtonCount> captions() const;
  // A button's name before any language file (button 1..12).
  static std::string_view builtInCaption(int button);
  void setCaption(int button, const std::string& caption);
  std::vector<Image*> menuImages();  // 10Keys, then the panels' backgrounds
  // The menu and each panel take the size of their loaded picture.
  void fitMenusToPictures();
  // The page's controls by their names (Key1 .. Key12 are the window's).
  std::vector<NamedControl> namedControls();

  // --- controls ------------------------------------------------------------
  std::array<Label, settings::kButtonCount> Key{};
  std::array<Label, kRowsPerGroup> rowNumber{};  // lbl_key1 .. lbl_key6
  Image img_keys;
  std::array<SkinImage, kKeyGroupCount> img_keygroup{};  // family "keygroup"
  std::array<Label, kKeyGroupCount> lbl_keygroup{};      // "1-6", "7-12"
  Image img_keymap;                                      // "keymap_1" or "keymap_2"

  Panel gbMenu;
  Image img_gbMenu;
  Slider TB_menu;
  std::array<Label, buttons::kMenuRowCount> menuRow{};  // lbl_basekeys .. lbl_keyoff
  std::array<Label, buttons::kMenuRowCount> menuNumber{};
  std::array<Label, buttons::kCategoryRowCount> lbl_extend{};
  std::array<CategoryPanel, buttons::kCategoryRowCount> panels{};

  // The caption of the left-click entry decides what counts as a left button.
  const Label& leftClickEntry() const;

 private:
  void assign(const buttons::FunctionEntry& function, const std::string& caption);
  void showKeyGroup(int group);
  // Keeps a panel opened at (left, top) inside the main window.
  Rect insideWindow(Rect area) const;
  void openMacroDialog();
  Label* entryLabel(int row, int position);

  void showLeftKeyWarning() override;
  void storeWorkingBlock() override;
  void closeMenu() override;

  WindowContext& context_;
  buttons::ButtonState buttons_;
  int shownGroup_ = 1;
};

}  // namespace korvane::app
