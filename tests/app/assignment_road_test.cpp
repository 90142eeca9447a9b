// The road from a button to the mouse through the whole window model: all
// twelve buttons, the macro selection dialog and the confirmed macro blocks,
// on a start folder laid out like the shipped one, against the emulated mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/dialog_skin.h"
#include "app/main_window_model.h"
#include "macros/macro_file.h"
#include "platform/hid/emulated_mouse.h"
#include "settings/mode_block.h"
#include "support/fake_host.h"
#include "support/mouse_transfers.h"
#include "support/recording_pointer_sink.h"
#include "support/scoped_locale.h"
#include "support/shipped_window.h"
#include "support/temp_dir.h"

namespace korvane::app {
namespace {

using korvane::platform::EmulatedMouse;
using korvane::testing::FakeHost;
using korvane::testing::TempDir;

constexpr int kOffice = 3;
constexpr int kGaming = 2;
constexpr int kMacroEntry = 5;

class AssignmentRoad : public korvane::testing::ShippedWindow {
 protected:
  std::filesystem::path macroFile(const std::string& name) const {
    return std::filesystem::path(model->state().MacroDir) / (name + ".spm");
  }
};

TEST_F(AssignmentRoad, ButtonsSevenToTwelveSurviveSaveRestartAndReachTheMouse) {
  struct Case {
    int button;
    int row;
    int position;
    std::array<std::uint8_t, 3> bytes;
    const char* caption;
  };
  const Case cases[] = {
      {7, 4, 8, {0x04, 0x00, 0xE2}, "Mute"},        {8, kOffice, 2, {0x03, 0x01, 0x19}, "Paste"},
      {9, kOffice, 1, {0x03, 0x01, 0x06}, "Copy"},  {10, 8, 3, {0x08, 0x03, 0x00}, "DPI"},
      {11, 7, 1, {0x03, 0x04, 0x2B}, "Switch Win"}, {12, 5, 1, {0x04, 0x02, 0x23}, "WWW Home"},
  };
  MainWindowModel& m = startWindow();
  m.keys.keyGroupClick(2);
  for (const Case& c : cases) {
    m.keys.KeyClick(c.button);
    m.keys.entryClick(c.row, c.position);
  }
  m.SaveConfClick();
  ASSERT_TRUE(host.messages.empty());

  restart();
  MainWindowModel& again = *model;
  const int active = again.blocks.activeMode;
  ASSERT_EQ(active, 1);
  again.ApplyClick();
  ASSERT_TRUE(host.messages.empty());
  const auto& sent = mouse.modes()[static_cast<std::size_t>(active - 1)];
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    EXPECT_EQ(again.keys.Key[static_cast<std::size_t>(c.button - 1)].caption, c.caption);
    const std::size_t at = settings::keyActionOffset(c.button);
    EXPECT_EQ((std::array<std::uint8_t, 3>{sent[at], sent[at + 1], sent[at + 2]}), c.bytes);
  }
  EXPECT_TRUE(std::equal(sent.begin(), sent.end(), again.blocks.storedBlock(active).begin()));
}

// Files saved in one language and read in another: the names the program
// gave show in the language of the day, so the left-click rule still finds
// the left button; a macro's name stays as it is, even one that is also a
// function's name.
TEST_F(AssignmentRoad, NamesSavedInOneLanguageShowInTheLanguageOfTheNextStart) {
  using korvane::testing::ScopedLocale;
  std::filesystem::copy(std::filesystem::path(KORVANE_SOURCE_DIR) / "dist" / "Language",
                        start.path() / "Language", std::filesystem::copy_options::recursive);
  struct Shown {
    const char* locale;
    std::array<const char*, 4> keys;  // Key1, Key4 (Copy), Key5 (the macro "Copy"), Key8
  };
  const Shown shown[] = {
      {"en_US.UTF-8", {"Left Button", "Copy", "Copy", "Browser Key"}},
      {"zh_CN.UTF-8", {"左键", "复制", "Copy", "浏览器快捷键"}},
      {"zh_TW.UTF-8", {"左鍵", "複製", "Copy", "瀏覽器快速鍵"}},
      {"C.UTF-8", {"左键", "Copy", "Copy", "IE快捷键"}},
      {"en_US.UTF-8", {"Left Button", "Copy", "Copy", "Browser Key"}},
  };
  {
    ScopedLocale locale(shown[0].locale);
    MainWindowModel& m = startWindow();
    ASSERT_EQ(macros::writeMacroFile(macroFile("Copy"), {"1"}), std::nullopt);
    m.keys.KeyClick(4);
    m.keys.entryClick(kOffice, 1);
    host.macroChoice = 0;
    m.keys.KeyClick(5);
    m.keys.entryClick(kGaming, kMacroEntry);
    m.SaveConfClick();
    m.FormCloseQuery();
  }
  for (const Shown& s : shown) {
    SCOPED_TRACE(s.locale);
    ScopedLocale locale(s.locale);
    host.messages.clear();
    MainWindowModel& m = startWindow();
    for (std::size_t i = 0; i < s.keys.size(); ++i) {
      const std::size_t button = std::array<std::size_t, 4>{0, 3, 4, 7}[i];
      EXPECT_EQ(m.keys.Key[button].caption, s.keys[i]) << "Key" << button + 1;
    }
    // Button 2 takes another function: button 1 keeps the left click, so
    // no warning, and button 1 is untouched.
    m.keys.KeyClick(2);
    m.keys.entryClick(kOffice, 2);
    EXPECT_EQ(host.leftKeyWarnings, 0);
    EXPECT_EQ(m.keys.Key[0].caption, s.keys[0]);
    EXPECT_EQ(m.keys.Key[1].caption, m.keys.panels[2].entries[1].caption);
    // Saved in this language for the next start.
    m.SaveConfClick();
    m.FormCloseQuery();
    EXPECT_TRUE(host.messages.empty());
  }
}

TEST_F(AssignmentRoad, TheMacroDialogListsTheFolderAsItIsWhenItOpens) {
  MainWindowModel& m = startWindow();
  ASSERT_TRUE(m.macro.macroNames().empty());
  // Added after start, outside the program, in reverse order.
  ASSERT_EQ(macros::writeMacroFile(macroFile("zeta"), {"1"}), std::nullopt);
  ASSERT_EQ(macros::writeMacroFile(macroFile("Alpha"), {"1"}), std::nullopt);

  host.macroChoice = 1;
  m.keys.KeyClick(5);
  m.keys.entryClick(kGaming, kMacroEntry);
  EXPECT_EQ(host.offeredMacros, (std::vector<std::string>{"Alpha", "zeta"}));
  const std::size_t at = settings::keyActionOffset(5);
  EXPECT_EQ(m.blocks.working[at], 0x09);
  EXPECT_EQ(m.blocks.working[at + 1], 0x01);  // the second entry is device macro 1
  EXPECT_EQ(m.keys.Key[4].caption, "zeta");
  // The macro page numbers them the same way.
  EXPECT_EQ(m.macro.macro_list.items, (std::vector<std::string>{"1. Alpha", "2. zeta"}));

  // The macro being edited stays selected when the dialog rereads the folder.
  m.macro.macro_listClick(1);
  ASSERT_EQ(macros::writeMacroFile(macroFile("beta"), {"1"}), std::nullopt);
  host.macroChoice = std::nullopt;
  m.keys.KeyClick(5);
  m.keys.entryClick(kGaming, kMacroEntry);
  EXPECT_EQ(host.offeredMacros, (std::vector<std::string>{"Alpha", "beta", "zeta"}));
  EXPECT_EQ(m.macro.library().selectedName(), "zeta");

  // A folder removed meanwhile is made again and lists nothing.
  std::filesystem::remove_all(m.state().MacroDir);
  m.keys.entryClick(kGaming, kMacroEntry);
  EXPECT_TRUE(host.offeredMacros.empty());
  EXPECT_TRUE(std::filesystem::is_directory(m.state().MacroDir));
}

TEST_F(AssignmentRoad, AButtonPlaysTheMacroItsNameShowsWhateverTheLibraryDoes) {
  MainWindowModel& m = startWindow();
  for (const char* name : {"bb", "cc"}) {
    ASSERT_EQ(macros::writeMacroFile(macroFile(name), {"1"}), std::nullopt);
  }
  m.macro.openLibrary(m.state().MacroDir);
  // Mode 1's back button plays "cc", mode 2's forward button "bb"; both saved.
  const auto assignMacro = [&](int button, int choice) {
    host.macroChoice = choice;
    m.keys.KeyClick(button);
    m.keys.entryClick(kGaming, kMacroEntry);
  };
  m.modes.pnl_modeClick(2);
  assignMacro(5, 0);
  m.SaveConfClick();
  m.modes.pnl_modeClick(1);
  assignMacro(4, 1);
  m.SaveConfClick();
  ASSERT_EQ(m.keys.Key[3].caption, "cc");
  const std::size_t back = settings::keyActionOffset(4);
  const std::size_t forward = settings::keyActionOffset(5);
  const auto param = [](const settings::ModeBlock& block, std::size_t at) {
    return std::array<std::uint8_t, 2>{block[at], block[at + 1]};
  };

  // "aa" sorts first: every position moves up, in the mode being edited and
  // in the one that is not.
  host.typedNames = {"aa"};
  m.macro.lbl_newClick();
  EXPECT_EQ(param(m.blocks.working, back), (std::array<std::uint8_t, 2>{9, 2}));
  EXPECT_EQ(param(m.blocks.storedBlock(1), back), (std::array<std::uint8_t, 2>{9, 2}));
  EXPECT_EQ(param(m.blocks.storedBlock(2), forward), (std::array<std::uint8_t, 2>{9, 1}));
  EXPECT_EQ(m.ApplyClick(), device::ApplyOutcome::Completed);
  EXPECT_EQ(param(mouse.modes()[0], back), (std::array<std::uint8_t, 2>{9, 2}));
  EXPECT_EQ(param(mouse.modes()[1], forward), (std::array<std::uint8_t, 2>{9, 1}));

  // Switching modes rereads the data files, which still hold the old
  // positions: the load step puts them right again.
  m.modes.pnl_modeClick(2);
  EXPECT_EQ(param(m.blocks.working, forward), (std::array<std::uint8_t, 2>{9, 1}));
  m.modes.pnl_modeClick(1);

  // Deleting "aa" moves them back.
  m.macro.macro_listClick(0);
  m.macro.lbl_deleteClick();
  EXPECT_EQ(param(m.blocks.working, back), (std::array<std::uint8_t, 2>{9, 1}));
  EXPECT_EQ(param(m.blocks.storedBlock(2), forward), (std::array<std::uint8_t, 2>{9, 0}));

  // Nine macros put into the folder by hand push "cc" past the tenth block:
  // Apply names the button and writes nothing.
  for (int i = 0; i < 9; ++i) {
    ASSERT_EQ(macros::writeMacroFile(macroFile("a" + std::to_string(i)), {"1"}), std::nullopt);
  }
  m.keys.KeyClick(6);  // the macro dialog rereads the folder
  host.macroChoice = std::nullopt;
  m.keys.entryClick(kGaming, kMacroEntry);
  m.keys.page_MseKeysClick();
  ASSERT_TRUE(host.messages.empty());
  const std::size_t writes = korvane::testing::dataWrites(mouse);
  EXPECT_EQ(m.ApplyClick(), device::ApplyOutcome::CompileFailed);
  EXPECT_EQ(korvane::testing::dataWrites(mouse), writes);
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"模式 1 的按键 4 播放宏“cc”(列表第 11 个)，但鼠标只能保存 "
                                     "10 个宏，未写入任何设置。"});
}

TEST_F(AssignmentRoad, AnEmptyOrDeletedMacroSilencesNoOtherAndKeepsNoOldBlock) {
  MainWindowModel& m = startWindow();
  const macros::MacroScript tap = {"1", "1 A CODE:0004", "0 50", "2 A CODE:0004"};
  for (const char* name : {"a", "c", "d"}) {
    ASSERT_EQ(macros::writeMacroFile(macroFile(name), tap), std::nullopt);
  }
  m.macro.openLibrary(m.state().MacroDir);
  m.macro.lbl_saveClick();
  const macros::MacroBlock tapBlock = m.macroBlocks()[0];
  ASSERT_EQ(m.macroBlocks()[2], tapBlock);

  // "新建" makes an empty "b" between a and c; d is deleted.
  host.typedNames = {"b"};
  m.macro.lbl_newClick();
  m.macro.macro_listClick(3);
  m.macro.lbl_deleteClick();
  ASSERT_EQ(m.macro.macroNames(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(m.ApplyClick(), device::ApplyOutcome::Completed);
  ASSERT_TRUE(host.messages.empty()) << host.messages.front();
  macros::MacroBlock empty{};
  empty[1] = 1;  // one (terminal) record
  EXPECT_TRUE(std::equal(tapBlock.begin(), tapBlock.end(), mouse.macros()[0].begin()));
  EXPECT_TRUE(std::equal(empty.begin(), empty.end(), mouse.macros()[1].begin()));
  EXPECT_TRUE(std::equal(tapBlock.begin(), tapBlock.end(), mouse.macros()[2].begin()));
  // d's old block does not go on playing.
  EXPECT_TRUE(std::all_of(mouse.macros()[3].begin(), mouse.macros()[3].end(),
                          [](std::uint8_t byte) { return byte == 0; }));
}

TEST_F(AssignmentRoad, AMacroTooLongStopsApplyBeforeTheFirstMode) {
  MainWindowModel& m = startWindow();
  macros::ScriptEditor clicks;
  for (int i = 0; i < 19; ++i) {
    macros::insertMouseClick(clicks, macros::MouseButton::Left);
  }
  ASSERT_EQ(macros::writeMacroFile(macroFile("long"), clicks.script), std::nullopt);
  m.macro.openLibrary(m.state().MacroDir);
  m.sensitivity.btn_hzClick(2);  // a change the mouse must not receive
  const std::size_t before = korvane::testing::dataWrites(mouse);
  EXPECT_EQ(m.ApplyClick(), device::ApplyOutcome::CompileFailed);
  EXPECT_EQ(korvane::testing::dataWrites(mouse), before) << "no mode, no macro";
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"宏“long”超出鼠标的 128 字节宏空间(需要 135 字节)。"});
}

TEST(DialogLayout, TheDialogsOfTheRoadAreLaidOutAsDesigned) {
  const DialogLayout select = dialogLayout(DialogKind::MacroSelect);
  EXPECT_EQ(select.title.x, 20);
  EXPECT_EQ(select.title.y, 24);
  EXPECT_EQ(select.input, DialogInput::List);
  EXPECT_EQ(select.inputArea.x, 51);
  EXPECT_EQ(select.inputArea.y, 66);
  EXPECT_EQ(select.inputArea.width, 145);
  EXPECT_EQ(select.ok.x, 46);
  EXPECT_EQ(select.ok.y, 111);
  ASSERT_TRUE(select.cancel);
  EXPECT_EQ(select.cancel->x, 141);
  EXPECT_EQ(select.cancel->y, 111);

  const DialogLayout warning = dialogLayout(DialogKind::LeftKeyWarning);
  EXPECT_EQ(warning.title.x, 6);
  EXPECT_EQ(warning.title.y, 40);
  EXPECT_EQ(warning.title.width, 276);
  EXPECT_EQ(warning.title.height, 26);
  EXPECT_EQ(warning.ok.x, 94);
  EXPECT_EQ(warning.ok.y, 96);
  EXPECT_FALSE(warning.cancel);
  EXPECT_EQ(warning.input, DialogInput::None);
}

}  // namespace
}  // namespace korvane::app
