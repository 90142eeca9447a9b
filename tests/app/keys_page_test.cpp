// The button page: from a click on a button to a function in its KeyAction.
#include <gtest/gtest.h>

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
  WindowContext context{host, state, blocks, [] {}, [] {}, [] {}, [this] { return macros; }};
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

  keys.KeyClick(12);  // from the label's centre, highlight untouched
  EXPECT_EQ(keys.gbMenu.geometry.x, 418 + 495 + 120);
  EXPECT_EQ(keys.gbMenu.geometry.y, 149 + 210 + 12 - 253);
  EXPECT_TRUE(keys.Key[5].highlighted);
  EXPECT_EQ(keys.selectedButton(), 12);
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
