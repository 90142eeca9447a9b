// The user-interface language: captions of the main window and texts of the
// dialogs from the language file of the locale, the missing-file messages,
// and the three language files that ship with the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/host.h"
#include "app/main_window_model.h"
#include "app/message_texts.h"
#include "buttons/function_catalogue.h"
#include "device/apply.h"
#include "files/file_io.h"
#include "i18n/language.h"
#include "i18n/messages.h"
#include "i18n/text_catalogue.h"
#include "macros/compiler.h"
#include "settings/code_page.h"
#include "settings/ini_file.h"
#include "settings/pointer_settings.h"
#include "support/fake_host.h"
#include "support/no_hid.h"
#include "support/recording_pointer_sink.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace korvane::app {
namespace {

using i18n::TextRow;
using i18n::TextTarget;
using korvane::testing::FakeHost;
using korvane::testing::NoHid;
using korvane::testing::TempDir;

using korvane::testing::ScopedLocale;

// What a catalogue row has set in the window; nullopt when nothing holds it.
std::optional<std::string> textIn(MainWindowModel& m, const TextRow& row) {
  const std::string name(row.control);
  switch (row.target) {
    case TextTarget::Caption:
    case TextTarget::AddedCaption:
      if (const Label* label = m.find<Label>(name)) {
        return label->caption;
      }
      return std::nullopt;
    case TextTarget::CheckBoxText:
      return m.checkBoxText(name);
    case TextTarget::MenuItem:
      return m.MenuName.caption;
    default:
      return std::nullopt;
  }
}

bool isText(const TextRow& row) {
  return row.target != TextTarget::Toggle;
}

using Texts = std::vector<std::pair<std::string, std::string>>;

// Every key of the main window holding its own name; toggles off.
Texts everyKeyNamingItself() {
  Texts texts;
  for (const TextRow& row : MainWindowModel::textCatalogue()) {
    texts.emplace_back(row.key, isText(row) ? std::string(row.key) : "0");
  }
  return texts;
}

class LanguageTexts : public ::testing::Test {
 protected:
  LanguageTexts() { program.write("korvane-driver", ""); }

  MainWindowModel& newWindow() {
    model = std::make_unique<MainWindowModel>(host, hid, pointerSink, start.path(),
                                              program.path() / "korvane-driver");
    return *model;
  }
  MainWindowModel& startWindow() {
    newWindow().FormCreate();
    return *model;
  }

  // The language file of `code` in that language's code page, as the build
  // lays it out in the start folder.
  void writeLanguageFile(const std::string& code, const Texts& texts) {
    const auto file = i18n::languageFile("Language", code);
    ASSERT_TRUE(file);
    std::string body = "[" + file->section + "]\r\n";
    for (const auto& [key, text] : texts) {
      body.append(key).append("=").append(text).append("\r\n");
    }
    start.write(file->path.string(), settings::CodePage::forLanguage(code).fromUtf8(body));
  }

  TempDir start;
  TempDir program;
  FakeHost host;
  NoHid hid;
  korvane::testing::RecordingPointerSink pointerSink;
  std::unique_ptr<MainWindowModel> model;
};

TEST(TextCatalogue, EveryRowReachesAControlOfTheWindowOnce) {
  FakeHost host;
  NoHid hid;
  korvane::testing::RecordingPointerSink sink;
  MainWindowModel m(host, hid, sink, "/nonexistent", "/nonexistent/korvane-driver");
  std::set<std::string_view> keys;
  std::set<std::pair<std::string_view, bool>> controls;
  for (const TextRow& row : MainWindowModel::textCatalogue()) {
    EXPECT_TRUE(keys.insert(row.key).second) << "key read twice: " << row.key;
    // A toggle's number and its caption are two things of one control.
    const bool number = row.target == TextTarget::Toggle;
    EXPECT_TRUE(controls.insert({row.control, number}).second)
        << "control set twice: " << row.control;
    switch (row.target) {
      case TextTarget::Caption:
      case TextTarget::AddedCaption:
      case TextTarget::CheckBoxText:
      case TextTarget::Toggle:
        EXPECT_NE(m.find(std::string(row.control)), nullptr)
            << row.key << ": the window has no " << row.control;
        break;
      case TextTarget::MenuItem:
        EXPECT_EQ(row.control, "MenuName");
        break;
      case TextTarget::FunctionMenu:
        ADD_FAILURE() << "placeholder left in the catalogue";
        break;
    }
  }
  // The function menu comes in whole: ten rows and every catalogued function.
  for (const buttons::FunctionEntry& entry : buttons::kFunctionCatalogue) {
    EXPECT_TRUE(keys.contains(entry.textKey)) << entry.textKey;
  }
}

TEST_F(LanguageTexts, EnglishFileCaptionsTheWholeWindowAndAMissingKeyBlanksItsControl) {
  ScopedLocale locale("en_US.UTF-8");
  Texts texts = everyKeyNamingItself();
  std::erase_if(texts, [](const auto& text) { return text.first == "KOF4"; });
  writeLanguageFile("ENU", texts);
  MainWindowModel& m = startWindow();

  EXPECT_TRUE(host.messages.empty());
  for (const TextRow& row : MainWindowModel::textCatalogue()) {
    if (isText(row)) {
      std::string text = textIn(m, row).value_or("");
      // Captions after a tick keep the blanks that make room for it.
      if (row.target == TextTarget::AddedCaption) {
        text.erase(0, text.find_first_not_of(' '));
      }
      EXPECT_EQ(text, row.key == "KOF4" ? "" : std::string(row.key)) << row.control;
    }
  }
  // The documented places of some keys, whatever the table says.
  const std::map<std::string, const Label*> places = {
      {"T2", &m.lbl_title[0]},
      {"K1", &m.keys.Key[0]},
      {"K12", &m.keys.Key[11]},
      {"KM1", m.keys.menuRow.data()},
      {"KM10", &m.keys.menuRow[9]},
      {"KBK3", &m.keys.panels[0].entries[1]},  // the middle button, second in its panel
      {"KA4", &m.keys.panels[3].entries[4]},   // volume down, fifth in its panel
      {"Macro5", &m.macro.lbl_REC},
      {"Mode1", &m.modes.label[0]},
      {"Ver", &m.lbl_version},
      {"MenuConf", &m.SaveConf},
      {"MenuName", &m.MenuName},
  };
  for (const auto& [key, label] : places) {
    EXPECT_EQ(label->caption, key);
  }
  EXPECT_EQ(m.keys.panels[2].entries[3].caption, "");  // Select All, whose key is missing
  EXPECT_EQ(m.checkBoxText("cb_msespeed"), "MS2");
}

// A language file is read by its content: UTF-8 (with or without a
// byte-order mark), or else in its own language's code page.
TEST_F(LanguageTexts, EachFileIsReadInUtf8OrInItsOwnLanguagesCodePage) {
  struct Case {
    const char* locale;
    const char* code;
    std::string text;  // K1 in UTF-8
    bool legacy;       // written in the language's code page, else UTF-8 with a mark
  };
  const Case cases[] = {
      {"zh_CN.UTF-8", "CHS", "左键", true},          {"zh_TW.UTF-8", "CHT", "左鍵", true},
      {"en_US.UTF-8", "ENU", "Left \xC3\xA9", true}, {"zh_TW.UTF-8", "CHT", "左鍵", false},
      {"en_US.UTF-8", "ENU", "左键", false},
  };
  for (const Case& c : cases) {
    ScopedLocale locale(c.locale);
    const auto file = i18n::languageFile("Language", c.code);
    const std::string body = "[" + file->section + "]\r\nK1=" + c.text + "\r\n";
    start.write(file->path.string(), c.legacy
                                         ? settings::CodePage::forLanguage(c.code).fromUtf8(body)
                                         : "\xEF\xBB\xBF" + body);
    EXPECT_EQ(startWindow().keys.Key[0].caption, c.text) << c.locale;
  }
}

TEST_F(LanguageTexts, ButtonNamesStoredForTheActiveModeReplaceTheFileTexts) {
  ScopedLocale locale("en_US.UTF-8");
  writeLanguageFile("ENU", everyKeyNamingItself());
  start.write("configure/GM.ini", "[GM]\r\ncbMode=0\r\n");
  start.write("configure/Mode1.ini", "[Mode1]\r\nKey1=Fire\r\n");
  MainWindowModel& m = startWindow();
  EXPECT_EQ(m.keys.Key[0].caption, "Fire");
  EXPECT_EQ(m.lbl_title[0].caption, "T2");
}

struct MissingFileCase {
  const char* locale;
  std::vector<std::string> messages;
};

void PrintTo(const MissingFileCase& c, std::ostream* os) {
  *os << c.locale;
}

class MissingLanguageFile : public LanguageTexts,
                            public ::testing::WithParamInterface<MissingFileCase> {};

TEST_P(MissingLanguageFile, SaysSoOnceByLanguageAndKeepsTheBuiltInTexts) {
  ScopedLocale locale(GetParam().locale);
  // The other languages' files do not stand in for the missing one.
  writeLanguageFile("CHS", everyKeyNamingItself());
  writeLanguageFile("ENU", everyKeyNamingItself());
  writeLanguageFile("CHT", everyKeyNamingItself());
  const auto own =
      i18n::languageFile(start.path() / "Language", i18n::languageCodeFromEnvironment());
  if (own) {
    std::filesystem::remove(own->path);
  }
  MainWindowModel& m = newWindow();
  std::vector<std::optional<std::string>> builtIn;
  for (const TextRow& row : MainWindowModel::textCatalogue()) {
    builtIn.push_back(textIn(m, row));
  }
  m.FormCreate();

  EXPECT_EQ(host.messages, GetParam().messages);
  std::size_t i = 0;
  for (const TextRow& row : MainWindowModel::textCatalogue()) {
    EXPECT_EQ(textIn(m, row), builtIn[i++]) << row.key;
  }
  EXPECT_FALSE(m.pointer.mse1Flag);
  EXPECT_TRUE(pointerSink.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Locales, MissingLanguageFile,
    ::testing::Values(MissingFileCase{"zh_CN.UTF-8", {"没有发现\"Simplified Chinese.ini\"文件"}},
                      MissingFileCase{"zh_TW.UTF-8", {"沒有發現\"Traditional Chinese.ini\"檔案"}},
                      MissingFileCase{"en_US.UTF-8", {"\"English.ini\" File No Find"}},
                      // 3076, Chinese (Hong Kong): no language of its own, no message.
                      MissingFileCase{"zh_HK.UTF-8", {}}, MissingFileCase{"en_GB.UTF-8", {}}));

// Captions the original language files have no key for: a file of that
// kind keeps their built-in texts; a key replaces the text after the blanks
// that make room for a tick.
TEST_F(LanguageTexts, AddedKeysCaptionTheirControlsAndAnOlderFileKeepsTheBuiltInTexts) {
  ScopedLocale locale("en_US.UTF-8");
  writeLanguageFile("ENU", {{"K1", "Left"}});
  MainWindowModel& older = startWindow();
  EXPECT_EQ(older.pointer.lbl_mse1.caption, "      提高指针精度");
  EXPECT_EQ(older.sensitivity.lbl_XY_1.caption, "      XY同步");
  EXPECT_EQ(older.macro.lbl_Time.caption, "修改延迟时间");
  EXPECT_EQ(older.keys.Key[1].caption, "");  // an ordinary key still blanks its control

  writeLanguageFile("ENU", {{"MS3", "Precision"},
                            {"MWS3", "Page"},
                            {"MWX", "Sideways"},
                            {"XY2", "Same"},
                            {"Fre1", "Speed"},
                            {"Macro20", "Delay"}});
  MainWindowModel& m = startWindow();
  EXPECT_EQ(m.pointer.lbl_mse1.caption, "      Precision");
  EXPECT_EQ(m.pointer.lbl_mse2.caption, "      Page");
  EXPECT_EQ(m.pointer.lbl_msewheel_X.caption, "Sideways");
  EXPECT_EQ(m.sensitivity.lbl_XY_1.caption, "      Same");
  EXPECT_EQ(m.lighting.lbl_LEDFreq.caption, "Speed");
  EXPECT_EQ(m.macro.lbl_Time.caption, "Delay");
}

TEST_F(LanguageTexts, PointerTogglesStartAsTheFileSays) {
  ScopedLocale locale("en_US.UTF-8");
  writeLanguageFile("ENU", {{"Mse1", "1"}});  // Mse2 missing: off
  MainWindowModel& m = startWindow();
  const PointerPage& page = m.pointer;
  EXPECT_TRUE(page.mse1Flag);
  EXPECT_TRUE(page.lbl_mse1_check.visible);
  EXPECT_TRUE(page.cb_msespeed.checked);
  EXPECT_FALSE(page.mse2Flag);
  EXPECT_FALSE(page.lbl_mse2_check.visible);
  EXPECT_FALSE(page.cb_msewheel.checked);
  // Each toggle's click wrote its pointer setting at once.
  auto& mouse = pointerSink.registry[std::string(settings::kMouseKeyPath)];
  EXPECT_EQ(mouse[std::string(settings::kMouseThreshold1Value)],
            std::to_string(settings::kPrecisionOn[0]));
  EXPECT_EQ(mouse[std::string(settings::kMouseSpeedValue)],
            std::to_string(settings::kPrecisionOn[2]));
  EXPECT_EQ(pointerSink.registry[std::string(settings::kDesktopKeyPath)]
                                [std::string(settings::kWheelScrollLinesValue)],
            "3");
}

TEST_F(LanguageTexts, DialogsReadTheirKeysFromTheFileEveryTimeTheyOpen) {
  ScopedLocale locale("en_US.UTF-8");
  Texts texts;
  for (const char* key :
       {"Form2_T", "Form2_O", "Form2_C", "Form3_T", "Form3_O", "Form5_T", "Form6_T"}) {
    texts.emplace_back(key, key);
  }
  writeLanguageFile("ENU", texts);  // without Form3_C
  MainWindowModel& m = startWindow();

  const std::vector<std::pair<DialogKind, DialogTexts>> expected = {
      {DialogKind::MacroSelect, {"Form2_T", "Form2_O", "Form2_C"}},
      {DialogKind::ModeName, {"Form3_T", "Form3_O", ""}},  // a blank Cancel, still there
      {DialogKind::LeftKeyWarning, {"Form5_T", "Form2_O", std::nullopt}},
      {DialogKind::MacroName, {"Form6_T", "Form2_O", "Form2_C"}},
  };
  for (const auto& [dialog, dialogTexts] : expected) {
    EXPECT_EQ(LoadDialogTexts(m.state(), dialog), dialogTexts) << static_cast<int>(dialog);
  }

  // The macro-name dialog of the macro page, opened after the file changed.
  writeLanguageFile("ENU", {{"Form6_T", "Name It"}, {"Form2_O", "Fine"}, {"Form2_C", "Back"}});
  host.state = &m.state();
  m.macro.lbl_newClick();  // and cancelled
  ASSERT_EQ(host.nameDialogs, 1);
  ASSERT_EQ(host.dialogTexts.size(), 1u);
  EXPECT_EQ(host.dialogTexts[0], (DialogTexts{"Name It", "Fine", "Back"}));
}

TEST_F(LanguageTexts, WithoutTheirFileDialogsKeepTheirBuiltInTextsSilently) {
  ScopedLocale locale("zh_TW.UTF-8");
  MainWindowModel& m = startWindow();
  ASSERT_EQ(host.messages, std::vector<std::string>{"沒有發現\"Traditional Chinese.ini\"檔案"});
  EXPECT_EQ(LoadDialogTexts(m.state(), DialogKind::MacroSelect),
            (DialogTexts{"Macro Select", "OK", "Cancel"}));
  EXPECT_EQ(LoadDialogTexts(m.state(), DialogKind::ModeName),
            (DialogTexts{"Configure New Name", "OK", "Cancel"}));
  EXPECT_EQ(LoadDialogTexts(m.state(), DialogKind::LeftKeyWarning),
            (DialogTexts{"Please Keep One 'Left Key'!", "OK", std::nullopt}));
  EXPECT_EQ(LoadDialogTexts(m.state(), DialogKind::MacroName),
            (DialogTexts{"Macro Name", "OK", "Cancel"}));
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(LanguageTexts, MessagesComeFromTheLocalesFileAndFallBackToTheBuiltInText) {
  ScopedLocale locale("en_US.UTF-8");
  writeLanguageFile(
      "ENU", {{"Msg_WriteFailedMode", "Mode %1 was not written (%2)"}, {"Msg_WriteFailed", ""}});
  MainWindowModel& m = startWindow();
  // Arguments fill their places; a place without an argument stays.
  EXPECT_EQ(LoadMessageText(m.state(), i18n::Message::WriteFailedMode, {"4"}),
            "Mode 4 was not written (%2)");
  // An empty or missing text is the built-in one.
  EXPECT_EQ(LoadMessageText(m.state(), i18n::Message::WriteFailed), "设置未能写入鼠标。");
  EXPECT_EQ(LoadMessageText(m.state(), i18n::Message::UnableToWrite, {"/x/GM.ini"}),
            "无法写入 /x/GM.ini");
}

// A file past the limit: one byte more than a file may hold, all line ends,
// the cheapest text to make a reader count lines.
std::string tooLargeFile() {
  return std::string(files::kMaxFileBytes + 1, '\n');
}

TEST_F(LanguageTexts, FilesTooLargeToReadAreRefusedWithAMessageInTheUsersLanguage) {
  ScopedLocale locale("en_US.UTF-8");
  Texts texts = everyKeyNamingItself();
  texts.emplace_back("Msg_FileTooLarge", "%1 is larger than %2 and was not read.");
  writeLanguageFile("ENU", texts);
  const std::filesystem::path data = start.write("data/Mode2_data.ini", tooLargeFile());
  const std::filesystem::path general = start.write("configure/GM.ini", tooLargeFile());
  MainWindowModel& m = startWindow();
  EXPECT_EQ(host.messages,
            (std::vector<std::string>{general.string() + " is larger than 1 MiB and was not read.",
                                      data.string() + " is larger than 1 MiB and was not read."}));
  EXPECT_EQ(m.lbl_version.caption, "Ver");  // the language file itself was read
}

TEST_F(LanguageTexts, ALanguageFileTooLargeToReadLeavesTheBuiltInTexts) {
  ScopedLocale locale("zh_CN.UTF-8");
  const auto file = i18n::languageFile("Language", "CHS");
  ASSERT_TRUE(file);
  const std::filesystem::path path = start.write(file->path.string(), tooLargeFile());
  MainWindowModel& m = newWindow();
  const std::string version = m.lbl_version.caption;
  m.FormCreate();
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"文件 " + path.string() + " 大于 1 MiB，未读取。"});
  EXPECT_EQ(m.lbl_version.caption, version);
  EXPECT_FALSE(version.empty());
  // Dialogs and messages keep their built-in texts too.
  EXPECT_EQ(LoadMessageText(m.state(), i18n::Message::WriteFailed), "设置未能写入鼠标。");
}

TEST(MessageTexts, ShippedFilesGiveEachLanguageItsOwnWords) {
  const std::vector<std::pair<const char*, const char*>> expected = {
      {"en_US.UTF-8", "The settings could not be written to the mouse (mode 3)."},
      {"zh_CN.UTF-8", "设置未能写入鼠标(模式 3)。"},
      {"zh_TW.UTF-8", "設定未能寫入滑鼠(模式 3)。"},
      {"C.UTF-8", "设置未能写入鼠标(模式 3)。"},
  };
  AppState state;
  state.LanguageDir = std::filesystem::path(KORVANE_SOURCE_DIR) / "dist" / "Language";
  for (const auto& [localeName, text] : expected) {
    ScopedLocale locale(localeName);
    EXPECT_EQ(LoadMessageText(state, i18n::Message::WriteFailedMode, {"3"}), text) << localeName;
  }
}

// What the window reports for the device, the files and the macros, worded
// from the shipped file of each locale.
TEST(MessageTexts, ReportsSpeakTheLanguageOfTheLocale) {
  struct Wording {
    const char* chs;
    const char* cht;
    const char* enu;
  };
  AppState state;
  state.LanguageDir = std::filesystem::path(KORVANE_SOURCE_DIR) / "dist" / "Language";
  const files::FileError unreadable{files::FileFailure::Read, "m", {}};
  const std::vector<std::pair<std::function<std::string()>, Wording>> cases = {
      {[&] {
         return applyFailureText(state, {device::ApplyFailure::Kind::ModeWrite, 3});
       },
       {"设置未能写入鼠标(模式 3)。", "設定未能寫入滑鼠(模式 3)。",
        "The settings could not be written to the mouse (mode 3)."}},
      {[&] {
         return applyFailureText(state, {device::ApplyFailure::Kind::MacroWrite, 2});
       },
       {"设置未能写入鼠标(宏 2)。", "設定未能寫入滑鼠(巨集 2)。",
        "The settings could not be written to the mouse (macro 2)."}},
      {[&] {
         return applyFailureText(state, {device::ApplyFailure::Kind::FirmwareRead, 0});
       },
       {"读取鼠标固件版本失败。", "讀取滑鼠韌體版本失敗。",
        "The mouse's firmware version could not be read."}},
      {[&] {
         return applyFailureText(state, {device::ApplyFailure::Kind::MacroWrite, 9, {{}, 8, true}});
       },
       {"设置未能写入鼠标(宏 9)。宏 9 至 10和指针设置未写入。",
        "設定未能寫入滑鼠(巨集 9)。巨集 9 至 10和指標設定未寫入。",
        "The settings could not be written to the mouse (macro 9). Not written: macros 9 to 10 "
        "and the pointer settings."}},
      {[&] {
         return fileErrorText(state, files::FileError{files::FileFailure::Write, "m", {}});
       },
       {"无法写入 m", "無法寫入 m", "Unable to write to m"}},
      {[&] { return fileErrorText(state, unreadable); },
       {"无法读取 m", "無法讀取 m", "Unable to read m"}},
      {[&] {
         return fileErrorText(state, files::FileError{files::FileFailure::List, "m", {}});
       },
       {"无法列出 m 中的文件", "無法列出 m 中的檔案", "Unable to list m"}},
      {[&] {
         return fileErrorText(state, files::FileError{files::FileFailure::Delete, "m", "busy"});
       },
       {"无法删除 m\nbusy", "無法刪除 m\nbusy", "Unable to delete m\nbusy"}},
      {[&] {
         return fileErrorText(state, files::FileError{files::FileFailure::WrongType, "m", {}});
       },
       {"只能载入宏文件(*.spm)：m", "只能載入巨集檔案(*.spm)：m",
        "Only macro files (*.spm) can be loaded: m"}},
      {[&] { return compileErrorText(state, macros::CompileError::tooLong("x", 135)); },
       {"宏“x”超出鼠标的 128 字节宏空间(需要 135 字节)。",
        "巨集「x」超出滑鼠的 128 位元組巨集空間(需要 135 位元組)。",
        "Macro \"x\" does not fit in the mouse's 128-byte macro block (it needs 135 bytes)."}},
      {[&] { return compileErrorText(state, macros::CompileError::unreadable("x", unreadable)); },
       {"宏“x”无法编译：无法读取 m", "巨集「x」無法編譯：無法讀取 m",
        "Macro \"x\" could not be compiled: Unable to read m"}},
      {[&] { return LoadMessageText(state, i18n::Message::MacroNameInvalid); },
       {"文件名无效", "檔名無效", "Macro Name Invalid"}},
      {[&] { return LoadMessageText(state, i18n::Message::MacroNameEmpty); },
       {"文件名不能为空", "檔名不能為空", "Macro Name Empty"}},
      {[&] { return LoadMessageText(state, i18n::Message::MacroNameExists); },
       {"该文件名已存在", "該檔名已存在", "Macro Name Already Exists"}},
  };
  for (const char* localeName : {"zh_CN.UTF-8", "zh_TW.UTF-8", "en_US.UTF-8"}) {
    ScopedLocale locale(localeName);
    for (const auto& [text, wording] : cases) {
      const std::string_view name(localeName);
      const char* expected = name.starts_with("zh_CN")   ? wording.chs
                             : name.starts_with("zh_TW") ? wording.cht
                                                         : wording.enu;
      EXPECT_EQ(text(), expected) << localeName;
    }
  }
}

TEST_F(LanguageTexts, AnInvalidMacroNameIsRefusedInTheLanguageOfTheLocale) {
  ScopedLocale locale("en_US.UTF-8");
  writeLanguageFile("ENU", {{"Msg_MacroNameInvalid", "No such name, please"}});
  MainWindowModel& m = startWindow();
  host.messages.clear();
  host.typedNames = {"a/b"};
  m.macro.lbl_newClick();
  EXPECT_EQ(host.messages, std::vector<std::string>{"No such name, please"});
}

// The name dialog's refusals in each locale, from the shipped files; with no
// language of the three the built-in Simplified Chinese ones, as the
// captions.
TEST_F(LanguageTexts, TheNameDialogSaysWhyItRefusesANameInEveryLocale) {
  std::filesystem::copy(std::filesystem::path(KORVANE_SOURCE_DIR) / "dist" / "Language",
                        start.path() / "Language", std::filesystem::copy_options::recursive);
  const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
      {"zh_CN.UTF-8", {"文件名不能为空", "该文件名已存在"}},
      {"zh_TW.UTF-8", {"檔名不能為空", "該檔名已存在"}},
      {"en_US.UTF-8", {"Macro Name Empty", "Macro Name Already Exists"}},
      {"C.UTF-8", {"文件名不能为空", "该文件名已存在"}},
  };
  for (const auto& [localeName, said] : cases) {
    ScopedLocale locale(localeName);
    MainWindowModel& m = startWindow();
    host.messages.clear();
    host.typedNames = {"Same"};
    m.macro.lbl_newClick();
    host.typedNames = {"  ", "same", "Other"};
    m.macro.lbl_newClick();
    EXPECT_EQ(host.messages, said) << localeName;
    for (const char* name : {"Same", "Other"}) {
      std::filesystem::remove(m.state().MacroDir + std::string(name) + ".spm");
    }
  }
}

// --- the shipped language files -------------------------------------------

// Every key a language file holds: the main window's, the dialogs' and the
// recording toggle's stop text.
std::vector<std::string> everyFileKey() {
  std::vector<std::string> keys;
  for (const TextRow& row : MainWindowModel::textCatalogue()) {
    keys.emplace_back(row.key);
  }
  for (const i18n::DialogTextRow& dialog : i18n::kDialogTexts) {
    for (const std::optional<i18n::DialogText>& text :
         {std::optional(dialog.title), std::optional(dialog.ok), dialog.cancel}) {
      if (text && std::ranges::find(keys, text->key) == keys.end()) {
        keys.emplace_back(text->key);
      }
    }
  }
  keys.emplace_back(i18n::kStopRecordingKey);
  for (const i18n::MessageRow& message : i18n::kMessages) {
    keys.emplace_back(message.key);
  }
  return keys;
}

std::optional<i18n::LanguageFile> shippedFile(const std::string& code) {
  return i18n::languageFile(std::filesystem::path(KORVANE_SOURCE_DIR) / "dist" / "Language", code);
}

class ShippedLanguageFile : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedLanguageFile, HoldsEveryKeyInTextsItsCodePageCanHold) {
  const std::string code = GetParam();
  const auto file = shippedFile(code);
  ASSERT_TRUE(file);
  // Shipped in UTF-8 and copied unchanged. Every text also fits the
  // language's legacy code page, so a copy converted for the original
  // platform loses nothing.
  const settings::IniFile ini = settings::IniFile::load(file->path, settings::CodePage());
  ASSERT_TRUE(ini.exists()) << file->path;
  EXPECT_EQ(ini.codePage().id(), settings::CodePageId::Utf8);
  const settings::CodePage codePage = settings::CodePage::forLanguage(code);
  for (const std::string& key : everyFileKey()) {
    EXPECT_TRUE(ini.hasKey(file->section, key)) << code << " lacks " << key;
    const std::string text = ini.readString(file->section, key);
    EXPECT_EQ(codePage.toUtf8(codePage.fromUtf8(text)), text) << code << " " << key;
  }
  EXPECT_EQ(ini.readString(file->section, "Mse1"), "0");
  EXPECT_EQ(ini.readString(file->section, "Mse2"), "0");
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedLanguageFile, ::testing::Values("CHS", "CHT", "ENU"));

// Latin a Simplified Chinese text may keep: the DPI, the report rates' "Hz",
// the system's name, the program's own name and the macro files' pattern.
bool chineseOrAllowedLatin(std::string text) {
  for (const std::string_view latin : {"KorvaneDriver", "Windows", "DPI", "Hz", "*.spm"}) {
    for (std::size_t at = text.find(latin); at != std::string::npos; at = text.find(latin)) {
      text.erase(at, latin.size());
    }
  }
  return std::ranges::none_of(text, [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; });
}

TEST(ShippedLanguageFiles, SimplifiedChineseSpeaksChineseAndTheOthersLeaveNothingBlank) {
  const auto load = [](const std::string& code) {
    const auto file = shippedFile(code);
    return std::pair{settings::IniFile::load(file->path, settings::CodePage()), file->section};
  };
  const auto [chs, chsSection] = load("CHS");
  for (const std::string& key : everyFileKey()) {
    const std::string text = chs.readString(chsSection, key);
    EXPECT_TRUE(chineseOrAllowedLatin(text)) << key << "=" << text;
  }
  // The messages' built-in texts are the Simplified Chinese file's.
  for (const i18n::MessageRow& message : i18n::kMessages) {
    EXPECT_EQ(chs.readString(chsSection, message.key), message.builtIn) << message.key;
  }

  for (const char* code : {"CHT", "ENU"}) {
    const auto [ini, section] = load(code);
    for (const std::string& key : everyFileKey()) {
      EXPECT_NE(ini.readString(section, key), "") << code << " " << key;
    }
  }
}

// A function a button can be given has a name of its own in every language:
// the menu shows no two entries alike, and a stored name points to one.
TEST(ShippedLanguageFiles, NoTwoFunctionsShareAName) {
  for (const char* code : {"CHS", "CHT", "ENU"}) {
    const auto file = shippedFile(code);
    const settings::IniFile ini = settings::IniFile::load(file->path, settings::CodePage());
    std::map<std::string, std::string_view> owner;
    for (const buttons::FunctionEntry& entry : buttons::kFunctionCatalogue) {
      const auto [it, fresh] =
          owner.emplace(ini.readString(file->section, entry.textKey), entry.textKey);
      EXPECT_TRUE(fresh) << code << ": " << entry.textKey << " and " << it->second << " are both "
                         << it->first;
    }
  }
}

}  // namespace
}  // namespace korvane::app
