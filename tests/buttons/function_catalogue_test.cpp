#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "buttons/function_catalogue.h"

namespace korvane::buttons {
namespace {

KeyAction bytes(int type, int param1, int param2) {
  return {static_cast<KeyActionType>(type), static_cast<std::uint8_t>(param1),
          static_cast<std::uint8_t>(param2)};
}

// "7Keys" -> 7: the skin names each menu image after its number of entries.
int entryCountOfImage(std::string_view image) {
  return std::stoi(std::string(image.substr(0, image.find("Keys"))));
}

TEST(FunctionCatalogueTest, HasFiftySevenEntriesWithDistinctNamesAndKeys) {
  std::set<std::string_view> controls;
  std::set<std::string_view> textKeys;
  for (const FunctionEntry& entry : kFunctionCatalogue) {
    EXPECT_FALSE(entry.builtInName.empty()) << entry.control;
    controls.insert(entry.control);
    textKeys.insert(entry.textKey);
  }
  controls.erase("");
  textKeys.erase("");
  EXPECT_EQ(controls.size(), 57u);
  EXPECT_EQ(textKeys.size(), 57u);
}

TEST(FunctionCatalogueTest, UsesOnlyTheNineTypeCodes) {
  for (const FunctionEntry& entry : kFunctionCatalogue) {
    const int type = static_cast<int>(entry.action.type);
    EXPECT_GE(type, 1) << entry.control;
    EXPECT_LE(type, 9) << entry.control;
  }
}

TEST(FunctionCatalogueTest, EachPanelHoldsAsManyEntriesAsItsImageShows) {
  EXPECT_EQ(entryCountOfImage(kMenuImage), static_cast<int>(kMenuRows.size()));
  std::size_t reached = 0;
  for (const MenuRowInfo& row : kMenuRows) {
    const std::span<const FunctionEntry> entries = entriesOf(row.row);
    reached += entries.size();
    if (row.panel.empty()) {
      // Rows 9 and 10 are entries of their own, under the same label and text.
      ASSERT_EQ(entries.size(), 1u) << row.control;
      EXPECT_EQ(entries[0].control, row.control);
      EXPECT_EQ(entries[0].builtInName, row.builtInName);
      EXPECT_EQ(entries[0].textKey, row.textKey);
      continue;
    }
    EXPECT_EQ(static_cast<int>(entries.size()), entryCountOfImage(row.panelImage)) << row.panel;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i].menu, row.row) << entries[i].control;
      EXPECT_EQ(entries[i].position, static_cast<int>(i) + 1) << entries[i].control;
    }
  }
  EXPECT_EQ(reached, kFunctionCatalogue.size());
}

TEST(FunctionCatalogueTest, OnlyTheMacroEntryOpensTheMacroDialog) {
  for (const FunctionEntry& entry : kFunctionCatalogue) {
    EXPECT_EQ(entry.opensMacroDialog, entry.control == "lbl_gaming_kbd_maro") << entry.control;
    EXPECT_EQ(entry.opensMacroDialog, entry.action.type == KeyActionType::DeviceMacro)
        << entry.control;
  }
  EXPECT_EQ(deviceMacroAction(2), bytes(9, 2, 0));
  EXPECT_EQ(deviceMacroAction(10), bytes(9, 10, 0));
}

TEST(FunctionCatalogueTest, DocumentedEntries) {
  struct Case {
    std::string_view control;
    std::string_view builtInName;
    std::string_view textKey;
    KeyAction action;
  };
  const std::array cases = {
      Case{"lbl_msekey_left", "左键", "KBK1", bytes(1, 1, 0)},
      Case{"lbl_msekey_right", "右键", "KBK2", bytes(1, 2, 0)},
      Case{"lbl_msekey_mid", "中键", "KBK3", bytes(1, 4, 0)},
      Case{"lbl_msekey_rtilt", "右摆", "KBK7", bytes(2, 255, 0)},
      Case{"lbl_office_copy", "Copy", "KOF1", bytes(3, 1, 6)},
      Case{"lbl_office_email", "E-mail", "KOF9", bytes(4, 0x01, 0x8A)},
      Case{"lbl_media_stop", "Stop", "KA3", bytes(4, 0, 183)},
      Case{"lbl_ie_stop", "WWW Stop", "KIE5", bytes(4, 0, 183)},
      Case{"lbl_media_vold", "Volume + ", "KA5", bytes(4, 0, 0xE9)},
      Case{"lbl_media_voli", "Volume - ", "KA4", bytes(4, 0, 0xEA)},
      Case{"lbl_media_next", "Next Track  ", "KA7", bytes(4, 0, 0xB5)},
      Case{"lbl_win8_setting", "Install", "KW84", bytes(3, 8, 0x0C)},
      Case{"lbl_win8_bill", "程式窗清单浏览", "KW86", bytes(3, 9, 0x2B)},
      Case{"lbl_os_lock", "Lock PC", "KOS6", bytes(3, 5, 0x4C)},
      Case{"lbl_os_win", "Windows", "KOS7", bytes(3, 8, 0)},
      Case{"lbl_other_dpid", "DPI+", "KOT1", bytes(8, 1, 0)},
      Case{"lbl_other_dpii", "DPI-", "KOT2", bytes(8, 2, 0)},
      Case{"lbl_mode", "模式切换", "KM9", bytes(7, 1, 0)},
      Case{"lbl_keyoff", "按键关", "KM10", bytes(6, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    const FunctionEntry* entry = findByControl(c.control);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->builtInName, c.builtInName);
    EXPECT_EQ(entry->textKey, c.textKey);
    EXPECT_EQ(entry->action, c.action);
  }
}

TEST(FunctionCatalogueTest, DocumentedMenuRows) {
  EXPECT_EQ(menuRowInfo(MenuRow::Office).builtInName, "办公命令");
  EXPECT_EQ(menuRowInfo(MenuRow::Office).panel, "gboffice");
  EXPECT_EQ(menuRowInfo(MenuRow::Win8).builtInName, "Windows8命令");
  EXPECT_EQ(menuRowInfo(MenuRow::KeyOff).textKey, "KM10");
  ASSERT_NE(findMenuRow("lbl_other"), nullptr);
  EXPECT_EQ(findMenuRow("lbl_other")->row, MenuRow::Other);
  EXPECT_EQ(findMenuRow("gbother"), nullptr);
}

TEST(FunctionCatalogueTest, FindByControlFindsEveryEntryAndNothingElse) {
  for (const FunctionEntry& entry : kFunctionCatalogue) {
    EXPECT_EQ(findByControl(entry.control), &entry);
  }
  EXPECT_EQ(findByControl("lbl_basekeys"), nullptr);
  EXPECT_EQ(findByControl(""), nullptr);
}

TEST(FunctionCatalogueTest, FindByActionMatchesBytes) {
  for (const FunctionEntry& entry : kFunctionCatalogue) {
    const FunctionEntry* found = findByAction(entry.action);
    ASSERT_NE(found, nullptr) << entry.control;
    EXPECT_EQ(found->action, entry.action) << entry.control;
  }
  struct Case {
    KeyAction action;
    std::string_view control;  // empty: no entry
  };
  const std::array cases = {
      Case{bytes(4, 0, 183), "lbl_media_stop"},  // shared with "WWW Stop"; the first row wins
      Case{bytes(9, 7, 0), "lbl_gaming_kbd_maro"},
      Case{bytes(9, 12, 0), "lbl_gaming_kbd_maro"},
      Case{bytes(9, 1, 5), ""},
      Case{bytes(0, 0, 0), ""},
      Case{bytes(1, 32, 0), ""},
      Case{bytes(3, 1, 7), ""},
  };
  for (const Case& c : cases) {
    const FunctionEntry* found = findByAction(c.action);
    if (c.control.empty()) {
      EXPECT_EQ(found, nullptr) << found->control;
    } else {
      ASSERT_NE(found, nullptr) << c.control;
      EXPECT_EQ(found->control, c.control);
    }
  }
}

TEST(KeyActionPlacementTest, ButtonsOccupyTheirThreeBytesOnly) {
  // Button n at 8 + 3(n - 1): Key1 = 8..10, Key4 = 17..19, Key12 = 41..43.
  const std::array<std::pair<int, std::size_t>, 3> documented = {{{1, 8}, {4, 17}, {12, 41}}};
  for (const auto& [button, offset] : documented) {
    std::array<std::uint8_t, settings::kModeBlockSize> block{};
    writeKeyAction(block, button, bytes(2, 255, 7));
    std::array<std::uint8_t, settings::kModeBlockSize> expected{};
    expected[offset] = 2;
    expected[offset + 1] = 255;
    expected[offset + 2] = 7;
    EXPECT_EQ(block, expected) << "button " << button;
    EXPECT_EQ(readKeyAction(block, button), bytes(2, 255, 7));
  }
}

}  // namespace
}  // namespace korvane::buttons
