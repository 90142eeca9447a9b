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
#include "support/recording_pointer_sink.h"
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

TEST_F(AssignmentRoad, ConfirmedMacroBlocksAreWhatApplySendsWhenALaterCompileStopsEarly) {
  MainWindowModel& m = startWindow();
  ASSERT_EQ(
      macros::writeMacroFile(macroFile("tap"), {"1", "1 A CODE:0004", "0 50", "2 A CODE:0004"}),
      std::nullopt);
  m.macro.openLibrary(m.state().MacroDir);
  m.macro.lbl_saveClick();
  const macros::MacroBlock confirmed = m.macroBlocks()[0];
  ASSERT_NE(confirmed, macros::MacroBlock{});

  // Emptied afterwards: Apply's compile stops at it and keeps block 0.
  ASSERT_EQ(macros::writeMacroFile(macroFile("tap"), {}), std::nullopt);
  m.ApplyClick();
  ASSERT_TRUE(host.messages.empty());
  EXPECT_TRUE(std::equal(confirmed.begin(), confirmed.end(), mouse.macros()[0].begin()));
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
