// The macro page: library commands, editing commands and the repeat option,
// with files in a temporary macro folder.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/macro_page.h"
#include "app/window_context.h"
#include "macros/macro_file.h"
#include "settings/mode_block.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace korvane::app {
namespace {

using korvane::testing::FakeHost;
using korvane::testing::TempDir;

class MacroPageTest : public ::testing::Test {
 protected:
  MacroPageTest() {
    state.buildResourceFolders(start.path().string());
    macroDir = (start.path() / "Macro").string() + "/";
    std::filesystem::create_directories(macroDir);
  }

  void writeMacro(const std::string& name, const macros::MacroScript& script) {
    ASSERT_FALSE(macros::writeMacroFile(std::filesystem::path(macroDir) / (name + ".spm"), script));
  }

  macros::MacroScript readMacro(const std::string& name) {
    return macros::readMacroFile(std::filesystem::path(macroDir) / (name + ".spm")).script;
  }

  TempDir start;
  std::string macroDir;
  FakeHost host;
  AppState state;
  settings::ModeBlocks blocks;
  std::string language = "ENU";
  WindowContext context{host, state, blocks, [] {}, [] {}, [] {}, {}};
  MacroPage page{context, language};
};

TEST_F(MacroPageTest, NewMacroThenAClickGoesToItsFileAtTheNextSavingEdit) {
  page.openLibrary(macroDir);
  host.typedNames = {"", "alpha"};
  page.lbl_newClick();
  EXPECT_EQ(host.messages, std::vector<std::string>{"Macro Name Empty"});
  EXPECT_EQ(page.macro_list.items, std::vector<std::string>{"1. alpha"});
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(macroDir) / "alpha.spm"));
  EXPECT_EQ(host.waits, std::vector<int>{200});

  page.lbl_MseLeftClick();
  EXPECT_EQ(page.macro_content.items.size(), 3u);
  EXPECT_EQ(page.macro_content.selected, 2);
  EXPECT_TRUE(readMacro("alpha").empty());  // the click itself does not save

  page.macro_contentClick(1);  // the "0 50" between press and release
  page.Edt_ModifyTimeChange("9999");
  EXPECT_EQ(page.Edt_ModifyTime.text, "2550");
  page.lbl_TimeClick();
  EXPECT_EQ(readMacro("alpha"),
            (macros::MacroScript{"1", "1 Left Key  CODE:0071", "0 2550", "2 Left Key  CODE:0071"}));
  const auto drawing = page.contentDrawing(1);
  ASSERT_TRUE(drawing);
  EXPECT_EQ(drawing->text, "2550 ms");
  EXPECT_GT(page.meterBytes, 0);
  EXPECT_TRUE(page.meterFits);
}

TEST_F(MacroPageTest, SelectingLoadsTheMacroAndDeletingEmptiesTheEditor) {
  writeMacro("beta", {"1", "1 A CODE:0004", "0 20", "2 A CODE:0004"});
  writeMacro("Alpha", {"1"});
  page.openLibrary(macroDir);
  EXPECT_EQ(page.macro_list.items, (std::vector<std::string>{"1. Alpha", "2. beta"}));
  page.macro_listClick(1);
  EXPECT_EQ(page.editor().script.size(), 4u);
  EXPECT_EQ(page.macro_content.items.size(), 3u);
  EXPECT_FALSE(page.macro_content.selected.has_value());

  page.lbl_deleteClick();
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(macroDir) / "beta.spm"));
  EXPECT_EQ(page.macro_list.items, std::vector<std::string>{"1. Alpha"});
  EXPECT_TRUE(page.macro_content.items.empty());
}

TEST_F(MacroPageTest, TenMacrosDisableNew) {
  for (int i = 0; i < 10; ++i) {
    writeMacro("m" + std::to_string(i), {"1"});
  }
  page.openLibrary(macroDir);
  EXPECT_FALSE(page.lbl_new.enabled);
  EXPECT_EQ(page.macro_list.items.back(), "10. m9");
}

TEST_F(MacroPageTest, RepeatOptionTransitionsKeepMirrorsAndEditInStep) {
  struct Step {
    bool clickEndless;
    bool endless, counted, editEnabled;
  };
  const Step steps[] = {
      {true, true, false, false},   // neither -> endless, edit off
      {true, false, false, false},  // endless -> neither, edit stays off
      {false, false, true, true},   // neither -> counted, edit on
      {true, true, false, false},   // counted -> endless
      {false, false, true, true},   // endless -> counted
      {false, false, false, true},  // counted -> neither, edit on
  };
  for (const Step& step : steps) {
    step.clickEndless ? page.lbl_cycle_maxClick() : page.lbl_cycleClick();
    EXPECT_EQ(page.cbCycle_Max.checked, step.endless);
    EXPECT_EQ(page.lbl_cycle_max_check.visible, step.endless);
    EXPECT_EQ(page.cbCycle.checked, step.counted);
    EXPECT_EQ(page.lbl_cycle_check.visible, step.counted);
    EXPECT_EQ(page.edt_cycle.enabled, step.editEnabled);
  }
  page.edt_cycleChange("12");
  page.edt_cycleChange("x");
  EXPECT_EQ(page.edt_cycle.text, "1");
  page.edt_cycleChange("7");
  EXPECT_EQ(page.repeatOption().count, "7");
}

TEST_F(MacroPageTest, RecordingTogglesByTheLanguageTextsAndSavesOnStop) {
  page.openLibrary(macroDir);
  page.lbl_RECClick();  // no language file
  EXPECT_EQ(host.messages, std::vector<std::string>{"\"English.ini\" File No Find"});
  EXPECT_EQ(page.lbl_REC.caption, "开始录制");

  start.write("Language/1033/English.ini", "[English]\r\nMacro5=Record\r\nMacro10=Stop\r\n");
  page.lbl_REC.caption = "Record";  // as the language loader sets it
  host.typedNames = {"gamma"};
  page.lbl_newClick();
  page.lbl_RECClick();
  EXPECT_EQ(page.lbl_REC.caption, "Stop");
  page.lbl_MseRightClick();
  page.lbl_RECClick();
  EXPECT_EQ(page.lbl_REC.caption, "Record");
  EXPECT_EQ(readMacro("gamma").size(), 4u);
}

TEST_F(MacroPageTest, CompileFillsBlocksInLibraryOrderAndRefusesWhatDoesNotFit) {
  writeMacro("a", {"1", "1 A CODE:0004", "0 20", "2 A CODE:0004"});
  macros::MacroScript huge = {"1"};
  for (int i = 0; i < 40; ++i) {
    huge.insert(huge.end(), {"0 50", "1 B CODE:0005", "0 50", "2 B CODE:0005"});
  }
  writeMacro("b", huge);
  page.openLibrary(macroDir);
  macros::MacroBlocks blocks{};
  const auto error = page.compileAll(blocks);
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("\"b\""), std::string::npos) << *error;
  EXPECT_NE(blocks[0], macros::MacroBlock{});
  EXPECT_EQ(blocks[1], macros::MacroBlock{});

  page.macro_listClick(1);
  EXPECT_FALSE(page.meterFits);
  EXPECT_GT(page.meterBytes, 128);
}

}  // namespace
}  // namespace korvane::app
