// The macro page: library commands, editing commands and the repeat option,
// with files in a temporary macro folder.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/macro_page.h"
#include "app/main_window_model.h"
#include "app/window_context.h"
#include "files/file_io.h"
#include "macros/macro_file.h"
#include "settings/mode_block.h"
#include "support/fake_host.h"
#include "support/fake_keyboard.h"
#include "support/no_hid.h"
#include "support/recording_pointer_sink.h"
#include "support/temp_dir.h"

namespace korvane::app {
namespace {

using korvane::testing::FakeClock;
using korvane::testing::FakeHost;
using korvane::testing::FakeKeySource;
using korvane::testing::TempDir;
using macros::KeyEvent;

class MacroPageTest : public ::testing::Test {
 protected:
  MacroPageTest() {
    state.buildResourceFolders(start.path().string());
    macroDir = (start.path() / "Macro").string() + "/";
    std::filesystem::create_directories(macroDir);
    page.attachKeyboard(keyboard, clock);
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
  WindowContext context{host, state, blocks, [] {}, [] {}, [] {}, {}, {}};
  macros::MacroBlocks macroBlocks{};
  MacroPage page{context, language, macroBlocks};
  FakeKeySource keyboard;
  FakeClock clock;
};

TEST_F(MacroPageTest, NewMacroThenAClickGoesToItsFileAtTheNextSavingEdit) {
  page.openLibrary(macroDir);
  host.typedNames = {"", "alpha"};
  page.lbl_newClick();
  // No language file here: the built-in words.
  EXPECT_EQ(host.messages, std::vector<std::string>{"文件名不能为空"});
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
  EXPECT_GT(page.meterBytes, 0u);
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

TEST_F(MacroPageTest, TenMacrosDisableNewAndRefuseAnEleventhLoad) {
  for (int i = 0; i < 10; ++i) {
    writeMacro("m" + std::to_string(i), {"1"});
  }
  page.openLibrary(macroDir);
  EXPECT_FALSE(page.lbl_new.enabled);
  EXPECT_FALSE(page.img_new.enabled);
  EXPECT_EQ(page.macro_list.items.back(), "10. m9");
  host.typedNames = {"eleven"};
  page.lbl_newClick();
  EXPECT_EQ(host.nameDialogs, 0);

  const TempDir elsewhere;
  const std::filesystem::path eleventh = elsewhere.path() / "eleven.spm";
  ASSERT_FALSE(macros::writeMacroFile(eleventh, {"1"}));
  host.chosenFile = eleventh.string();
  page.lbl_loadClick();
  EXPECT_EQ(host.messages, std::vector<std::string>{"鼠标只能保存 10 个宏，请先删除一个再载入。"});
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(macroDir) / "eleven.spm"));
  EXPECT_EQ(page.macro_list.items.size(), 10u);

  // One that replaces a macro of the library still loads.
  host.messages.clear();
  const std::filesystem::path replacement = elsewhere.path() / "m3.spm";
  ASSERT_FALSE(macros::writeMacroFile(replacement, {"1", "0 10"}));
  host.chosenFile = replacement.string();
  page.lbl_loadClick();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(readMacro("m3"), (macros::MacroScript{"1", "0 10"}));

  // Below ten, "新建" is itself again.
  page.macro_listClick(0);
  page.lbl_deleteClick();
  EXPECT_TRUE(page.lbl_new.enabled);
  EXPECT_TRUE(page.img_new.enabled);
}

TEST_F(MacroPageTest, ACancelledNameDialogLeavesNoMacroForAnEditToGoTo) {
  writeMacro("alpha", {"1"});
  page.openLibrary(macroDir);
  // "Alpha" is refused as held already, then the dialog is cancelled.
  host.typedNames = {"Alpha"};
  page.lbl_newClick();
  ASSERT_EQ(host.messages, std::vector<std::string>{"该文件名已存在"});
  host.messages.clear();

  const std::string ask = "请先在列表中选择一个宏，或用“新建”创建一个。";
  for (void (MacroPage::*edit)() : {&MacroPage::lbl_MseLeftClick, &MacroPage::lbl_RECClick,
                                    &MacroPage::lbl_delkeyClick, &MacroPage::lbl_TimeClick}) {
    (page.*edit)();
    EXPECT_EQ(host.messages, std::vector<std::string>{ask});
    host.messages.clear();
  }
  EXPECT_FALSE(page.recording());
  EXPECT_TRUE(page.macro_content.items.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(macroDir),
                          std::filesystem::directory_iterator()),
            1);

  // A macro deleted after it was created is no place for edits either.
  host.typedNames = {"beta"};
  page.lbl_newClick();
  page.macro_listClick(1);
  page.lbl_deleteClick();
  page.lbl_MseLeftClick();
  EXPECT_EQ(host.messages, std::vector<std::string>{ask});
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(macroDir) / "beta.spm"));
}

TEST_F(MacroPageTest, CompilingSaysWhatItDidOnTheResultLine) {
  page.openLibrary(macroDir);
  page.lbl_saveClick();
  EXPECT_EQ(page.lbl_result.caption, "没有宏，鼠标的宏将被清空");
  writeMacro("a", {"1", "1 A CODE:0004", "0 20", "2 A CODE:0004"});
  writeMacro("b", {});
  page.openLibrary(macroDir);
  page.lbl_saveClick();
  EXPECT_EQ(page.lbl_result.caption, "已编译 2 个宏，最大 9 / 128 字节");
  EXPECT_TRUE(host.messages.empty());
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
  host.typedNames = {"gamma"};
  page.lbl_newClick();
  page.lbl_RECClick();  // no language file
  EXPECT_EQ(host.messages, std::vector<std::string>{"\"English.ini\" File No Find"});
  EXPECT_EQ(page.lbl_REC.caption, "开始录制");

  start.write("Language/1033/English.ini", "[English]\r\nMacro5=Record\r\nMacro10=Stop\r\n");
  page.lbl_REC.caption = "Record";  // as the language loader sets it
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
  EXPECT_EQ(*error, "宏“b”超出鼠标的 128 字节宏空间(需要 285 字节)。");
  EXPECT_NE(blocks[0], macros::MacroBlock{});
  EXPECT_EQ(blocks[1], macros::MacroBlock{});
  page.lbl_saveClick();
  EXPECT_EQ(host.messages, std::vector<std::string>{*error});
  EXPECT_EQ(page.lbl_result.caption, "“b”放不下：285 / 128 字节");

  page.macro_listClick(1);
  EXPECT_FALSE(page.meterFits);
  EXPECT_GT(page.meterBytes, 128u);
}

TEST_F(MacroPageTest, TheMeterCountsPausesPastTheBlockWithoutWrapping) {
  // Recorded pauses have no limit; 900 of the longest need 2264924702 bytes.
  macros::MacroScript pauses = {"1"};
  pauses.insert(pauses.end(), 900, "0 2147483647");
  writeMacro("pauses", pauses);
  page.openLibrary(macroDir);
  page.macro_listClick(0);
  EXPECT_FALSE(page.meterFits);
  EXPECT_EQ(page.meterBytes, 2264924702u);
  EXPECT_EQ(page.lbl_meter.caption, "2264924702 / 128 字节");
}

// --- recording -------------------------------------------------------------------

// Keystrokes as the keyboard delivers them: the virtual-key code and the
// flags whose scan code names the modifier's side.
KeyEvent key(macros::VirtualKey code, bool down, std::uint8_t scanCode = 0, bool extended = false) {
  return {code, down, macros::keystrokeFlags(scanCode, extended, down, !down)};
}

constexpr macros::VirtualKey kA = 0x41;
constexpr macros::VirtualKey kCtrl = 0x11;
constexpr macros::VirtualKey kShift = 0x10;

class RecordingTest : public MacroPageTest {
 protected:
  RecordingTest() {
    language.clear();  // a locale with no language file: the built-in texts
    writeMacro("Keep", kept);
    keptBytes = files::readWholeFile(macroFile("Keep")).value();
    writeMacro("Other", {"1", "1 B CODE:0005", "0 30", "2 B CODE:0005"});
    page.openLibrary(macroDir);
    page.macro_listClick(0);  // "Keep"
  }

  std::filesystem::path macroFile(const std::string& name) const {
    return std::filesystem::path(macroDir) / (name + ".spm");
  }

  // Each key `gap` ms after the one before.
  void type(std::initializer_list<KeyEvent> events, std::uint32_t gap = 40) {
    for (const KeyEvent& event : events) {
      clock.now += gap;
      page.keyEvent(event);
    }
  }

  const macros::MacroScript kept = {"1", "1 Left Key  CODE:0071", "0 50", "2 Left Key  CODE:0071"};
  std::string keptBytes;
};

TEST_F(RecordingTest, ARecordingWithoutEventsLeavesTheMacroAsItWas) {
  page.macro_contentClick(1);
  page.lbl_RECClick();
  EXPECT_TRUE(page.recording());
  EXPECT_TRUE(keyboard.capturing);
  EXPECT_EQ(page.lbl_REC.caption, "停止录制");
  EXPECT_TRUE(page.macro_content.items.empty());
  // A Ctrl the key watch cannot name writes no line.
  type({key(kCtrl, true), key(kCtrl, false)});

  page.lbl_RECClick();
  EXPECT_FALSE(page.recording());
  EXPECT_FALSE(keyboard.capturing);
  EXPECT_EQ(page.lbl_REC.caption, "开始录制");
  EXPECT_EQ(page.editor().script, kept);
  EXPECT_EQ(page.macro_content.items.size(), 3u);
  EXPECT_EQ(page.macro_content.selected, 1);
  EXPECT_EQ(files::readWholeFile(macroFile("Keep")).value(), keptBytes);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(RecordingTest, ARecordingReplacesTheMacroWithTheKeysTyped) {
  page.lbl_RECClick();
  type({key(kCtrl, true, 0x1D), key(kA, true), key(kA, false), key(kCtrl, false, 0x1D),
        key(kShift, true, 0x36), key(kA, true), key(kA, false), key(kShift, false, 0x36)});
  page.lbl_RECClick();
  const macros::MacroScript expected = {
      "1",    "1 Ctrl CODE:1111", "0 40", "1 A CODE:0004",           "0 40", "2 A CODE:0004",
      "0 40", "2 Ctrl CODE:1111", "0 40", "1 Right Shift CODE:4444", "0 40", "1 A CODE:0004",
      "0 40", "2 A CODE:0004",    "0 40", "2 Right Shift CODE:4444"};
  EXPECT_EQ(page.editor().script, expected);
  EXPECT_EQ(readMacro("Keep"), expected);
  EXPECT_EQ(keyboard.starts, 1);
  EXPECT_EQ(keyboard.stops, 1);
  EXPECT_FALSE(keyboard.capturing);
}

TEST_F(RecordingTest, TheTenthReleaseStopsAndSavesWithAModifierReleasedLast) {
  page.lbl_RECClick();
  host.waits.clear();
  for (int i = 0; i < 9; ++i) {
    type({key(kA, true), key(kA, false)});
  }
  EXPECT_TRUE(page.recording());
  type({key(kShift, true, 0x2A), key(kShift, false, 0x2A)});
  EXPECT_FALSE(page.recording());
  EXPECT_FALSE(keyboard.capturing);
  EXPECT_EQ(page.lbl_REC.caption, "开始录制");
  EXPECT_EQ(page.lbl_result.caption, "录制已结束：一个宏最多录制 10 次按键松开。");
  EXPECT_EQ(host.waits, std::vector<int>{200});  // the stop command's button feedback
  const macros::MacroScript saved = readMacro("Keep");
  ASSERT_EQ(saved.size(), 40u);
  EXPECT_EQ(saved[37], "1 Shift CODE:3333");
  EXPECT_EQ(saved.back(), "2 Shift CODE:3333");

  // Keys after the stop no longer reach the macro.
  type({key(kA, true), key(kA, false)});
  EXPECT_EQ(page.editor().script, saved);
}

TEST_F(RecordingTest, NoRecordingStartsWithoutTheKeyboardOrTheLanguageFile) {
  keyboard.available = false;
  page.lbl_RECClick();
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"无法独占键盘(可能被其他程序占用)，录制未开始。"});
  EXPECT_FALSE(page.recording());
  EXPECT_EQ(page.lbl_REC.caption, "开始录制");
  EXPECT_EQ(page.editor().script, kept);

  keyboard.available = true;
  host.messages.clear();
  language = "CHT";  // a language whose file is missing
  page.lbl_RECClick();
  EXPECT_EQ(host.messages, std::vector<std::string>{"沒有發現\"Traditional Chinese.ini\"檔案"});
  EXPECT_EQ(keyboard.starts, 1);
  EXPECT_FALSE(page.recording());
}

TEST_F(RecordingTest, ChoosingAnotherMacroEndsTheRecordingIntoItsOwnMacroFirst) {
  page.lbl_RECClick();
  type({key(kA, true), key(kA, false)});
  page.macro_listClick(1);  // "Other"
  EXPECT_FALSE(page.recording());
  EXPECT_FALSE(keyboard.capturing);
  EXPECT_EQ(readMacro("Keep"),
            (macros::MacroScript{"1", "1 A CODE:0004", "0 40", "2 A CODE:0004"}));
  EXPECT_EQ(page.editor().script.size(), 4u);
  EXPECT_EQ(page.editor().script[1], "1 B CODE:0005");
}

TEST(RecordingWindowTest, AnotherPageOrClosingTheWindowEndsTheRecording) {
  TempDir start;
  FakeHost host;
  korvane::testing::NoHid hid;
  korvane::testing::RecordingPointerSink sink;
  FakeKeySource keyboard;
  FakeClock clock;
  MainWindowModel model{host, hid, sink, start.path(), start.path() / "korvane-driver"};
  model.macro.attachKeyboard(keyboard, clock);
  std::filesystem::create_directories(start.path() / "Macro");
  ASSERT_FALSE(macros::writeMacroFile(start.path() / "Macro" / "m.spm", {"1"}));
  model.macro.openLibrary((start.path() / "Macro").string() + "/");
  model.macro.macro_listClick(0);
  model.ShowPage(2);

  for (const auto& leave : std::vector<std::function<void()>>{
           [&model] { model.ShowPage(1); }, [&model] { model.FormCloseQuery(); }}) {
    model.macro.lbl_RECClick();
    ASSERT_TRUE(model.macro.recording());
    model.ShowPage(2);  // the page already shown: the recording goes on
    EXPECT_TRUE(keyboard.capturing);
    leave();
    EXPECT_FALSE(model.macro.recording());
    EXPECT_FALSE(keyboard.capturing);
    model.ShowPage(2);
  }
}

// Fault: a macro file whose lines stopped deciphering was replaced by the
// next edit with the few lines read before the bad one.
TEST_F(MacroPageTest, AMacroFileThatDidNotDecipherIsNeverReplaced) {
  const std::filesystem::path broken = std::filesystem::path(macroDir) / "broken.spm";
  std::filesystem::copy_file(
      std::filesystem::path(KORVANE_FIXTURES_DIR) / "macros" / "BrokenHexLine.spm", broken);
  const std::string before = TempDir::readFile(broken);
  page.openLibrary(macroDir);
  page.macro_listClick(0);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Error: not a Hex String"});
  // A click, then a new length for its "0 50" (the header read counts as
  // no entry, so after it the pause is the third).
  const auto savingEdit = [this](int pauseEntry) {
    page.lbl_MseLeftClick();
    page.macro_contentClick(pauseEntry);
    page.Edt_ModifyTimeChange("100");
    page.lbl_TimeClick();
  };
  savingEdit(2);
  EXPECT_EQ(host.messages.back(), broken.string() + " 无法解密，因此没有覆盖它。");
  EXPECT_EQ(TempDir::readFile(broken), before);

  // Another macro made afterwards is saved as usual.
  host.typedNames = {"fresh"};
  page.lbl_newClick();
  savingEdit(1);
  EXPECT_EQ(readMacro("fresh"),
            (macros::MacroScript{"1", "1 Left Key  CODE:0071", "0 100", "2 Left Key  CODE:0071"}));
}

TEST_F(MacroPageTest, AMacroFileTooLargeToReadIsRefusedWithAMessage) {
  const TempDir elsewhere;
  const std::filesystem::path huge = std::filesystem::path(macroDir) / "huge.spm";
  const std::filesystem::path outside =
      elsewhere.write("outside.spm", std::string(files::kMaxFileBytes + 1, '\n'));
  std::filesystem::copy_file(outside, huge);
  page.openLibrary(macroDir);
  page.macro_listClick(0);
  EXPECT_TRUE(page.editor().script.empty());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "文件 " + huge.string() + " 大于 1 MiB，未读取。");

  // Loading one into the library is refused the same way, and copies nothing.
  host.chosenFile = outside.string();
  page.lbl_loadClick();
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1], "文件 " + outside.string() + " 大于 1 MiB，未读取。");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(macroDir) / "outside.spm"));
}

}  // namespace
}  // namespace korvane::app
