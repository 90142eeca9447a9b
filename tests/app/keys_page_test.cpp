// The button page: from a click on a button to a function in its KeyAction.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_state.h"
#include "app/keys_page.h"
#include "app/window_context.h"
#include "settings/mode_block.h"
#include "support/fake_host.h"

namespace korvane::app {
namespace {

using korvane::testing::FakeHost;

constexpr int kOffice = 3;
constexpr int kGaming = 2;
constexpr int kModeRow = 9;
constexpr int kKeyOffRow = 10;

class ButtonPage : public ::testing::Test {
 protected:
  ButtonPage() {
    blocks.ResetToFactory();
    blocks.activeMode = 2;
  }

  std::array<std::uint8_t, 3> keyBytes(int button) const {
    const std::size_t at = settings::keyActionOffset(button);
    return {blocks.working[at], blocks.working[at + 1], blocks.working[at + 2]};
  }

  FakeHost host;
  AppState state;
  settings::ModeBlocks blocks;
  std::vector<std::string> macros;
  WindowContext context{host, state, blocks, [] {}, [] {}, [] {}, [this] { return macros; }, {}};
  KeysPage keys{context};
};

TEST_F(ButtonPage, AButtonOpensTheMenuAtItsLabelOrAboveIt) {
  keys.KeyClick(1);
  EXPECT_TRUE(keys.gbMenu.visible);
  EXPECT_EQ(keys.gbMenu.geometry.x, 418 + 122);
  EXPECT_EQ(keys.gbMenu.geometry.y, 149 + 49);
  EXPECT_TRUE(keys.Key[0].highlighted);
  EXPECT_EQ(keys.selectedButton(), 1);

  keys.KeyClick(6);
  EXPECT_EQ(keys.gbMenu.geometry.y, 149 + 191 - 225);
  EXPECT_FALSE(keys.Key[0].highlighted);
  EXPECT_TRUE(keys.Key[5].highlighted);

  // The second group's rows open it as the first group's rows do.
  keys.keyGroupClick(2);
  keys.KeyClick(9);
  EXPECT_EQ(keys.gbMenu.geometry.x, 418 + 122);
  EXPECT_EQ(keys.gbMenu.geometry.y, 149 + 105);
  keys.KeyClick(12);
  EXPECT_EQ(keys.gbMenu.geometry.y, 149 + 191 - 225);
  EXPECT_FALSE(keys.Key[5].highlighted);
  EXPECT_TRUE(keys.Key[11].highlighted);
  EXPECT_EQ(keys.selectedButton(), 12);
}

TEST_F(ButtonPage, TheGroupSwitchShowsButtonsSevenToTwelveInTheSixRows) {
  const auto shown = [this] {
    std::vector<int> buttons;
    for (int b = 1; b <= 12; ++b) {
      if (keys.Key[static_cast<std::size_t>(b - 1)].visible) buttons.push_back(b);
    }
    return buttons;
  };
  const auto numbers = [this] {
    std::vector<std::string> captions;
    for (const Label& number : keys.rowNumber) {
      EXPECT_EQ(number.geometry.x, 56);
      captions.push_back(number.caption);
    }
    return captions;
  };
  EXPECT_EQ(keys.shownKeyGroup(), 1);
  EXPECT_EQ(shown(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(numbers(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
  // Forward above back, as the page lays them out.
  EXPECT_LT(keys.Key[4].geometry.y, keys.Key[3].geometry.y);

  keys.KeyClick(2);
  keys.keyGroupClick(2);  // the open menu closes: its button's row shows another button
  EXPECT_FALSE(keys.gbMenu.visible);
  EXPECT_EQ(keys.selectedButton(), 0);
  EXPECT_FALSE(keys.Key[1].highlighted);
  EXPECT_EQ(shown(), (std::vector<int>{7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(numbers(), (std::vector<std::string>{"7", "8", "9", "10", "11", "12"}));
  for (std::size_t row = 0; row < 6; ++row) {
    EXPECT_EQ(keys.Key[6 + row].geometry.y, keys.rowNumber[row].geometry.y);
    EXPECT_EQ(keys.Key[6 + row].geometry.x, 122);
  }

  keys.keyGroupClick(1);
  EXPECT_EQ(shown(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(ButtonPage, TheMenuAndEveryPanelStayInsideTheWindow) {
  const auto inside = [](const Rect& r) {
    return r.x >= 0 && r.y >= 0 && r.x + r.width <= kMainWindowArea.width &&
           r.y + r.height <= kMainWindowArea.height;
  };
  for (int button = 1; button <= 12; ++button) {
    SCOPED_TRACE(button);
    keys.keyGroupClick(KeysPage::keyGroupOf(button));
    keys.KeyClick(button);
    EXPECT_TRUE(inside(keys.gbMenu.geometry));
    for (int row = 1; row <= 8; ++row) {
      keys.categoryEnter(row);
      const CategoryPanel& panel = keys.panels[static_cast<std::size_t>(row - 1)];
      EXPECT_TRUE(inside(panel.panel.geometry)) << panel.name;
      // Right of the menu's arrows, never over them.
      EXPECT_EQ(panel.panel.geometry.x, keys.gbMenu.geometry.x + 165);
    }
  }
  // Where it fits, a panel is level with its row.
  keys.keyGroupClick(1);
  keys.KeyClick(1);
  keys.categoryEnter(7);
  EXPECT_EQ(keys.panels[6].panel.geometry.y, keys.gbMenu.geometry.y + 148);
}

TEST_F(ButtonPage, EachOfButtonsSevenToTwelveTakesAFunctionInItsOwnThreeBytes) {
  struct Case {
    int button;
    int row;
    int position;
    std::array<std::uint8_t, 3> bytes;
    const char* caption;
  };
  const Case cases[] = {
      {7, kOffice, 1, {0x03, 0x01, 0x06}, "Copy"},
      {8, 4, 2, {0x04, 0x00, 0xCD}, "Play/Pause"},
      {9, kOffice, 1, {0x03, 0x01, 0x06}, "Copy"},
      {10, kKeyOffRow, 0, {0x06, 0x00, 0x00}, "按键关"},
      {11, 8, 1, {0x08, 0x01, 0x00}, "DPI+"},
      {12, 1, 7, {0x02, 0xFF, 0x00}, "右摆"},
  };
  keys.keyGroupClick(2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    const auto before = blocks.working;
    const auto captionsBefore = keys.captions();
    keys.KeyClick(c.button);
    keys.entryClick(c.row, c.position);
    EXPECT_EQ(keyBytes(c.button), c.bytes);
    const std::size_t at = settings::keyActionOffset(c.button);
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (i < at || i >= at + 3) {
        EXPECT_EQ(blocks.working[i], before[i]) << "byte " << i;
      }
    }
    for (int b = 1; b <= 12; ++b) {
      const std::size_t k = static_cast<std::size_t>(b - 1);
      EXPECT_EQ(keys.Key[k].caption, b == c.button ? c.caption : captionsBefore[k]);
    }
    EXPECT_TRUE(std::equal(blocks.working.begin() + 1, blocks.working.end(),
                           blocks.storedBlock(2).begin() + 1));
    EXPECT_EQ(host.leftKeyWarnings, 0);
  }
}

TEST_F(ButtonPage, HoveringACategoryOpensItsPanelBesideTheMenu) {
  keys.KeyClick(1);
  keys.categoryEnter(1);
  keys.categoryEnter(kOffice);
  const CategoryPanel& office = keys.panels[kOffice - 1];
  EXPECT_EQ(office.name, "gboffice");
  EXPECT_TRUE(office.panel.visible);
  EXPECT_FALSE(keys.panels[0].panel.visible);
  EXPECT_EQ(office.panel.geometry.x, keys.gbMenu.geometry.x + 165);
  EXPECT_EQ(office.panel.geometry.y, keys.gbMenu.geometry.y + 52);
  EXPECT_EQ(keys.TB_menu.position, 2);
  keys.categoryLeave(kOffice);  // into the panel: the row stays marked
  EXPECT_TRUE(keys.menuRow[kOffice - 1].highlighted);

  keys.categoryEnter(kModeRow);
  EXPECT_FALSE(office.panel.visible);
  EXPECT_EQ(keys.TB_menu.position, 8);
  keys.categoryLeave(kModeRow);
  EXPECT_FALSE(keys.menuRow[kModeRow - 1].highlighted);
  EXPECT_FALSE(keys.menuRow[kOffice - 1].highlighted);
}

TEST_F(ButtonPage, ChoosingCopyForTheBackButtonWritesItsBytesAndName) {
  keys.KeyClick(4);
  keys.categoryEnter(kOffice);
  keys.entryEnter(kOffice, 1);
  EXPECT_EQ(keys.panels[kOffice - 1].slider.position, 0);
  keys.entryClick(kOffice, 1);
  EXPECT_EQ(keyBytes(4), (std::array<std::uint8_t, 3>{0x03, 0x01, 0x06}));
  EXPECT_EQ(blocks.storedBlock(2)[17], 0x03);
  EXPECT_EQ(keys.Key[3].caption, "Copy");
  EXPECT_FALSE(keys.gbMenu.visible);
  EXPECT_EQ(keys.selectedButton(), 0);
  EXPECT_EQ(host.leftKeyWarnings, 0);
}

TEST_F(ButtonPage, TakingTheLastLeftClickAwayWarnsAndGivesItBack) {
  keys.setCaption(2, "右键");
  keys.setCaption(3, "中键");
  keys.KeyClick(1);
  keys.entryClick(kKeyOffRow, 0);
  EXPECT_EQ(host.leftKeyWarnings, 1);
  EXPECT_EQ(keyBytes(1), (std::array<std::uint8_t, 3>{0x01, 0x01, 0x00}));
  EXPECT_EQ(keys.Key[0].caption, "左键");

  keys.KeyClick(10);  // the mode switch keeps the left click where it is
  keys.entryClick(kModeRow, 0);
  EXPECT_EQ(keyBytes(10), (std::array<std::uint8_t, 3>{0x07, 0x01, 0x00}));
  EXPECT_EQ(keys.Key[9].caption, "模式切换");
  EXPECT_EQ(host.leftKeyWarnings, 1);
}

TEST_F(ButtonPage, TheMacroEntryAssignsTheChosenMacroByItsPosition) {
  macros = {"alpha", "beta", "gamma"};
  keys.KeyClick(2);
  host.macroChoice = std::nullopt;  // Cancel: nothing assigned, the button stays selected
  keys.entryClick(kGaming, 5);
  EXPECT_EQ(host.offeredMacros, macros);
  EXPECT_EQ(keys.selectedButton(), 2);
  EXPECT_TRUE(keys.Key[1].highlighted);
  EXPECT_FALSE(keys.gbMenu.visible);

  host.macroChoice = 2;
  keys.entryClick(kGaming, 5);
  EXPECT_EQ(keyBytes(2), (std::array<std::uint8_t, 3>{0x09, 0x02, 0x00}));
  EXPECT_EQ(keys.Key[1].caption, "gamma");
  EXPECT_EQ(keys.selectedButton(), 0);
}

TEST_F(ButtonPage, ABackgroundClickClosesEverything) {
  keys.KeyClick(3);
  keys.categoryEnter(1);
  keys.page_MseKeysClick();
  EXPECT_FALSE(keys.gbMenu.visible);
  EXPECT_FALSE(keys.panels[0].panel.visible);
  EXPECT_EQ(keys.selectedButton(), 0);
  EXPECT_FALSE(keys.Key[2].highlighted);
  const auto before = blocks.working;
  keys.entryClick(kOffice, 1);  // nothing selected: no button changes
  EXPECT_EQ(std::vector<std::uint8_t>(before.begin() + 8, before.begin() + 44),
            std::vector<std::uint8_t>(blocks.working.begin() + 8, blocks.working.begin() + 44));
}

}  // namespace
}  // namespace korvane::app
