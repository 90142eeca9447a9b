// The mode settings files, the general file, Save, the factory reset and the
// mode rename, on a start folder laid out like the shipped one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

#include "app/main_window_model.h"
#include "files/file_io.h"
#include "i18n/language.h"
#include "platform/hid/emulated_mouse.h"
#include "settings/code_page.h"
#include "settings/ini_file.h"
#include "support/fake_host.h"
#include "support/recording_pointer_sink.h"
#include "support/scoped_locale.h"
#include "support/shipped_window.h"
#include "support/temp_dir.h"

namespace korvane::app {
namespace {

using korvane::platform::EmulatedMouse;
using korvane::testing::FakeHost;
using korvane::testing::TempDir;

const std::filesystem::path kDist = std::filesystem::path(KORVANE_SOURCE_DIR) / "dist";

// The shipped start folder, with what the file tests read of it.
class ConfigFiles : public korvane::testing::ShippedWindow {
 protected:
  std::string read(const std::string& relative) { return start.read(relative); }

  std::set<std::string> filesWithTimes() {
    std::set<std::string> listing;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(start.path())) {
      if (entry.is_regular_file()) {
        listing.insert(entry.path().string() + "@" +
                       std::to_string(entry.last_write_time().time_since_epoch().count()) + ":" +
                       start.read(std::filesystem::relative(entry.path(), start.path())));
      }
    }
    return listing;
  }
};

TEST_F(ConfigFiles, AFirstStartHasModeOneActiveWithTheShippedSettings) {
  MainWindowModel& m = startWindow();
  EXPECT_EQ(m.modes.activeMode(), 1);
  EXPECT_EQ(m.blocks.working[0], 1);
  EXPECT_EQ(m.keys.Key[3].caption, "后退");
  EXPECT_EQ(m.sensitivity.gb1.checkedIndex(), 3);
  EXPECT_EQ(m.blocks.working[settings::kReportRateOffset], 4);
  EXPECT_EQ(m.blocks.working[settings::kDpiLevelOffset], 1);  // the settings file wins
  EXPECT_EQ(m.modes.label[4].caption, "设置模式5");
}

TEST_F(ConfigFiles, SavingModeThreeWritesOnlyItsTwoFiles) {
  MainWindowModel& m = startWindow();
  m.modes.pnl_modeClick(3);
  m.sensitivity.btn_hzClick(2);
  const std::set<std::string> before = filesWithTimes();
  m.SaveConfClick();
  const std::set<std::string> after = filesWithTimes();
  std::vector<std::string> changed;
  for (const std::string& entry : after) {
    if (before.count(entry) == 0) {
      changed.push_back(std::filesystem::path(entry.substr(0, entry.find('@'))).filename());
    }
  }
  EXPECT_EQ(changed, (std::vector<std::string>{"Mode3.ini", "Mode3_data.ini"}));
  const std::string data = read("data/Mode3_data.ini");
  EXPECT_NE(data.find("Data0=3\r\n"), std::string::npos);
  EXPECT_NE(data.find("Data3=2\r\n"), std::string::npos);
  EXPECT_NE(read("configure/Mode3.ini").find("ReportRate=1\r\n"), std::string::npos);
}

// Fault: a file refused at start-up as too large was replaced by the next
// Save (or, for GM.ini, the close) with the few keys built from nothing.
// The user's own lines stand at its top, as a real settings file would.
std::string refusedAsTooLarge(const std::string& section) {
  return "[" + section + "]\r\nKey1=mine\r\n" + std::string(files::kMaxFileBytes, '\n');
}

TEST_F(ConfigFiles, AFileRefusedAsTooLargeIsNeverReplacedBySaveOrClose) {
  struct Case {
    std::string file;
    std::string section;
  };
  for (const Case& c :
       {Case{"configure/Mode1.ini", "Mode1"}, Case{"data/Mode1_data.ini", "Mode1_data"},
        Case{"configure/GM.ini", "GM"}}) {
    SCOPED_TRACE(c.file);
    const std::string refused = refusedAsTooLarge(c.section);
    const std::filesystem::path path = start.write(c.file, refused);
    MainWindowModel& m = startWindow();
    host.messages.clear();
    if (c.section == "GM") {
      m.FormCloseQuery();
    } else {
      m.SaveConfClick();
    }
    EXPECT_EQ(host.messages, std::vector<std::string>{"文件 " + path.string() +
                                                      " 大于 1 MiB，未读取，因此没有覆盖它。"});
    EXPECT_EQ(read(c.file), refused);
    host.messages.clear();
    model.reset();
    // The next start makes it again from its factory copy.
    std::filesystem::remove(path);
  }
}

// Fault: a present file without its own section (here a list of accounts,
// as a copy or behind a link) got the program's keys appended by Save or
// the close.
TEST_F(ConfigFiles, AFileWithoutItsOwnSectionIsNeverWrittenInto) {
  const std::filesystem::path fixture =
      std::filesystem::path(KORVANE_FIXTURES_DIR) / "ini" / "NotOursAccountList.txt";
  const std::string accounts = TempDir::readFile(fixture);
  const TempDir elsewhere;
  struct Case {
    std::string file;
    std::string section;
    bool throughLink;
  };
  for (const Case& c :
       {Case{"configure/Mode1.ini", "Mode1", false},
        Case{"data/Mode1_data.ini", "Mode1_data", true}, Case{"configure/GM.ini", "GM", true}}) {
    SCOPED_TRACE(c.file);
    const std::filesystem::path path = start.path() / c.file;
    std::filesystem::path target = path;
    std::filesystem::remove(path);
    if (c.throughLink) {
      target = elsewhere.write(c.section + ".txt", accounts);
      std::filesystem::create_symlink(target, path);
    } else {
      start.write(c.file, accounts);
    }
    MainWindowModel& m = startWindow();
    host.messages.clear();
    if (c.section == "GM") {
      m.FormCloseQuery();
    } else {
      m.SaveConfClick();
    }
    EXPECT_EQ(host.messages, std::vector<std::string>{path.string() + " 中没有 [" + c.section +
                                                      "] 节，不是本程序的文件，因此没有写入。"});
    EXPECT_EQ(TempDir::readFile(target), accounts);
    host.messages.clear();
    model.reset();
    std::filesystem::remove(path);
  }
}

TEST_F(ConfigFiles, ALinkToADataFileOfOursIsWrittenThrough) {
  const TempDir elsewhere;
  MainWindowModel& first = startWindow();
  static_cast<void>(first);
  model.reset();
  const std::filesystem::path path = start.path() / "data/Mode1_data.ini";
  const std::filesystem::path target =
      elsewhere.write("backup.ini", start.read("data/Mode1_data.ini"));
  std::filesystem::remove(path);
  std::filesystem::create_symlink(target, path);
  MainWindowModel& m = startWindow();
  m.sensitivity.btn_hzClick(2);
  m.SaveConfClick();
  EXPECT_TRUE(host.messages.empty()) << host.messages.front();
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_NE(TempDir::readFile(target).find("Data3=2\r\n"), std::string::npos);
}

TEST_F(ConfigFiles, GeneralFileAtCloseHoldsTheSettingsThenItsOwnKeysInOrder) {
  MainWindowModel& m = startWindow();
  m.modes.pnl_modeClick(2);
  m.FormCloseQuery();
  const settings::IniFile gm =
      settings::IniFile::load(start.path() / "configure/GM.ini", settings::CodePage());
  EXPECT_EQ(gm.readInt("GM", "cbMode"), 1);
  const std::string text = read("configure/GM.ini");
  const std::vector<std::string> order = {
      "Key1=",   "Speed=",     "XYPos=",        "MotorStr=", "Mode1=",     "Mode5=",
      "cbMode=", "Cycle_Max=", "CycleMaxFlag=", "Cycle=",    "CycleFlag=", "Cycle_Count="};
  std::size_t at = 0;
  for (const std::string& key : order) {
    const std::size_t found = text.find("\n" + key, at);
    ASSERT_NE(found, std::string::npos) << key;
    at = found;
  }
}

TEST_F(ConfigFiles, GeneralFileChoosesTheModeOrNone) {
  struct Case {
    const char* cbMode;  // nullptr: no GM.ini at all
    int active;
  };
  const Case cases[] = {{"2", 3}, {"0", 1}, {"9", 0}, {"-1", 0}, {"abc", 1}, {nullptr, 0}};
  // Without its factory copy a missing GM.ini stays missing at start-up.
  std::filesystem::remove(start.path() / "configure/Default_GM.ini");
  for (const Case& c : cases) {
    std::filesystem::remove(start.path() / "configure/GM.ini");
    if (c.cbMode != nullptr) {
      start.write("configure/GM.ini", std::string("[GM]\r\ncbMode=") + c.cbMode + "\r\n");
    }
    MainWindowModel& m = startWindow();
    EXPECT_EQ(m.modes.activeMode(), c.active) << (c.cbMode ? c.cbMode : "no GM.ini");
    if (c.active == 0) {
      // Nothing is stored in any mode and Save writes nothing.
      std::filesystem::remove_all(start.path() / "data");
      m.sensitivity.btn_hzClick(1);
      m.SaveConfClick();
      EXPECT_FALSE(std::filesystem::exists(start.path() / "data"));
      std::filesystem::copy(kDist / "data", start.path() / "data");
    }
  }
}

TEST_F(ConfigFiles, SettingsFileValuesAndTheirEffects) {
  struct Case {
    const char* text;  // the body of [Mode1] after the captions
    int reportChoice;  // gb1 after reading; -1 unchecked
    int reportByte;
    int lightLow, lightSpeed, vibrationOn;
  };
  // The data file gives report byte 4, lighting 2/2 and vibration off.
  const Case cases[] = {
      {"ReportRate=1\r\nLEDSwitch=0\r\nBreathe=2\r\nFreq=0\r\nMotor=1\r\n", 1, 2, 3, 1, 0},
      // Lighting off, but the missing Breathe and Freq that follow select
      // their first choices and write the effect and speed bytes again.
      {"ReportRate=7\r\nLEDSwitch=1\r\nMotor=1\r\n", -1, 4, 1, 1, 0},
      {"ReportRate=7\r\nLEDSwitch=1\r\nBreathe=5\r\nFreq=5\r\n", -1, 4, 0, 0, 1},
      {"ReportRate=x\r\n", 0, 1, 1, 1, 1},  // not a number reads as 0: choice 0
      {"", 0, 1, 1, 1, 1},  // missing keys: lighting on, vibration on, first choices
      {"ReportRate=99999999999\r\nTB_Step1=-3\r\nTB_Step1=4\r\nSpeed=77\r\n", -1, 4, 1, 1, 1},
  };
  for (const Case& c : cases) {
    start.write("configure/Mode1.ini", std::string("[Mode1]\r\n") + c.text);
    start.write("data/Mode1_data.ini",
                korvane::testing::TempDir::readFile(kDist / "data/Default_Mode1_data.ini"));
    MainWindowModel& m = startWindow();
    const auto& w = m.blocks.working;
    EXPECT_EQ(m.sensitivity.gb1.checkedIndex(), c.reportChoice) << c.text;
    EXPECT_EQ(w[settings::kReportRateOffset], c.reportByte) << c.text;
    EXPECT_EQ(w[settings::kLightAndMotorOffset] & settings::kLightEffectMask, c.lightLow) << c.text;
    EXPECT_EQ(w[settings::kLightFrequencyOffset], c.lightSpeed) << c.text;
    EXPECT_EQ((w[settings::kLightAndMotorOffset] & settings::kVibrationOnBit) != 0, c.vibrationOn)
        << c.text;
    EXPECT_TRUE(std::equal(w.begin() + 1, w.end(), m.blocks.storedBlock(1).begin() + 1));
    // Whatever was read, the next save writes values in range.
    m.SaveConfClick();
    const settings::IniFile saved =
        settings::IniFile::load(start.path() / "configure/Mode1.ini", settings::CodePage());
    EXPECT_GE(saved.readInt("Mode1", "Speed"), 0);
    EXPECT_LE(saved.readInt("Mode1", "Speed"), 10);
    EXPECT_GE(saved.readInt("Mode1", "TB_Step1"), 0);
    EXPECT_LE(saved.readInt("Mode1", "TB_Step1"), 4);
  }
}

TEST_F(ConfigFiles, ChangesInTwoModesSurviveARestart) {
  MainWindowModel& m = startWindow();
  m.modes.pnl_modeClick(2);
  m.sensitivity.btn_hzClick(1);
  m.sensitivity.tb_step[2].set(4);
  m.pointer.spin_msespeed.set(7);
  m.keys.KeyClick(4);
  m.keys.entryClick(3, 1);  // Copy
  m.SaveConfClick();
  m.modes.pnl_modeClick(4);
  m.lighting.choiceClick(LightingChoice::LEDcolor3);
  m.SaveConfClick();
  host.modeName = "Work";
  m.MenuNameClick();
  const auto stored2 = m.blocks.storedBlock(2);
  const auto stored4 = m.blocks.storedBlock(4);

  restart();
  EXPECT_EQ(model->modes.activeMode(), 4);
  EXPECT_EQ(model->modes.label[3].caption, "Work");
  EXPECT_EQ(model->blocks.storedBlock(2), stored2);
  EXPECT_EQ(model->blocks.storedBlock(4), stored4);
  EXPECT_EQ(model->blocks.working[settings::kLightColourOffset], 3);
  model->modes.pnl_modeClick(2);
  EXPECT_EQ(model->keys.Key[3].caption, "Copy");
  EXPECT_EQ(model->sensitivity.tb_step[2].position, 4);
  EXPECT_EQ(model->pointer.spin_msespeed.position, 7);
  EXPECT_EQ(model->blocks.working[settings::keyActionOffset(4) + 2], 6);
}

TEST_F(ConfigFiles, FactoryResetRestoresTheDefaultsAndSendsThem) {
  MainWindowModel& m = startWindow();
  std::filesystem::remove(start.path() / "configure/Mode4.ini");
  m.modes.pnl_modeClick(2);
  m.sensitivity.btn_hzClick(1);
  m.SaveConfClick();
  m.FormCloseQuery();
  mouse.clearTransfers();

  m.DefaultSettingClick();
  EXPECT_FALSE(std::filesystem::exists(start.path() / "configure/Mode4.ini"));
  EXPECT_EQ(read("configure/Mode2.ini"), read("configure/Default_Mode2.ini"));
  EXPECT_EQ(read("data/Mode2_data.ini"), read("data/Default_Mode2_data.ini"));
  EXPECT_EQ(read("configure/GM.ini"), read("configure/Default_GM.ini"));
  EXPECT_EQ(m.modes.activeMode(), 1);
  EXPECT_TRUE(m.state().StartupDone);
  EXPECT_TRUE(m.Apply.enabled);
  EXPECT_EQ(mouse.modes()[1][settings::kReportRateOffset], 4);  // 1000 Hz again
  EXPECT_EQ(mouse.modes()[0][0], 1);
  EXPECT_FALSE(host.busyVisible);
}

TEST_F(ConfigFiles, ChineseCaptionsRoundTripInGbk) {
  ::setenv("LC_ALL", "zh_CN.GBK", 1);
  std::filesystem::remove_all(start.path() / "configure");
  std::filesystem::remove_all(start.path() / "data");
  std::filesystem::create_directories(start.path() / "configure");
  std::filesystem::create_directories(start.path() / "data");
  start.write("configure/GM.ini", "[GM]\r\ncbMode=0\r\n");
  // A settings file brought over from the original platform, in GBK.
  start.write("configure/Mode1.ini",
              korvane::testing::TempDir::readFile(std::filesystem::path(KORVANE_FIXTURES_DIR) /
                                                  "ini/GbkMode1FromTheOriginal.ini"));
  MainWindowModel& m = startWindow();
  EXPECT_EQ(m.languageCode(), "CHS");
  m.keys.KeyClick(1);
  m.keys.setCaption(2, "左键");
  m.keys.entryClick(1, 3);  // 右键 on button 1
  m.SaveConfClick();
  host.modeName = "办公";
  m.MenuNameClick();
  restart();
  ::unsetenv("LC_ALL");
  const std::string gbkRight = settings::CodePage::forLanguage("CHS").fromUtf8("右键");
  EXPECT_NE(read("configure/Mode1.ini").find("Key1=" + gbkRight + "\r\n"), std::string::npos);
  EXPECT_EQ(model->keys.Key[0].caption, "右键");
  EXPECT_EQ(model->modes.label[0].caption, "办公");
}

// --- files by their content, live files in the user's language -------------

using korvane::testing::ScopedLocale;

// A settings file that is not UTF-8 is read in the code page of the user's
// language, GBK when the language is none of the three.
TEST_F(ConfigFiles, ASettingsFileNotInUtf8IsReadInTheCodePageOfTheLanguage) {
  struct Case {
    const char* locale;
    std::string key1;  // bytes of the file
    std::string caption;
  };
  const Case cases[] = {
      {"zh_CN.UTF-8", "\xD7\xF3\xBC\xFC", "左键"},  // GBK
      {"zh_TW.UTF-8", "\xA5\xAA\xC1\xE4", "左鍵"},  // Big5
      {"en_US.UTF-8", "Clic gauche \xE9", "Clic gauche é"},
      {"C.UTF-8", "\xD7\xF3\xBC\xFC", "左键"},
      // Valid UTF-8 is UTF-8 under every locale.
      {"en_US.UTF-8", "左键", "左键"},
  };
  for (const Case& c : cases) {
    const ScopedLocale locale(c.locale);
    start.write("configure/Mode1.ini", "[Mode1]\r\nKey1=" + c.key1 + "\r\nReportRate=3\r\n");
    EXPECT_EQ(startWindow().keys.Key[0].caption, c.caption) << c.locale;
  }
}

// The first start makes the live files from the factory copies, with the
// default button and mode names in the user's language.
class LiveFilesInTheLanguage : public ConfigFiles,
                               public ::testing::WithParamInterface<const char*> {
 protected:
  LiveFilesInTheLanguage() {
    std::filesystem::copy(kDist / "Language", start.path() / "Language",
                          std::filesystem::copy_options::recursive);
  }

  // The shipped language file of the locale, read as the program reads it.
  settings::IniFile languageFile(std::string& section) const {
    const auto file =
        i18n::languageFile(start.path() / "Language", i18n::languageCodeFromEnvironment());
    section = file->section;
    return settings::IniFile::load(file->path, settings::CodePage());
  }

  // The names in the live files, as key -> text, read as UTF-8.
  std::map<std::string, std::string> namesInLiveFiles() const {
    std::map<std::string, std::string> names;
    const auto gm =
        settings::IniFile::load(start.path() / "configure/GM.ini", settings::CodePage());
    for (int i = 1; i <= 5; ++i) {
      const std::string key = "Mode" + std::to_string(i);
      names[key] = gm.readString("GM", key);
      const auto mode = settings::IniFile::load(start.path() / "configure" / (key + ".ini"),
                                                settings::CodePage());
      for (int k = 1; k <= 12; ++k) {
        const std::string button = "Key" + std::to_string(k);
        names[key + "/" + button] = mode.readString(key, button);
        EXPECT_EQ(gm.readString("GM", button), mode.readString(key, button)) << button;
      }
    }
    return names;
  }

  void expectNamesOfTheLanguage() {
    std::string section;
    const settings::IniFile texts = languageFile(section);
    const std::map<std::string, std::string> names = namesInLiveFiles();
    for (int i = 1; i <= 5; ++i) {
      const std::string mode = "Mode" + std::to_string(i);
      EXPECT_EQ(names.at(mode), texts.readString(section, mode)) << mode;
      EXPECT_EQ(model->modes.label[static_cast<std::size_t>(i - 1)].caption,
                texts.readString(section, mode));
      for (int k = 1; k <= 12; ++k) {
        const std::string text = texts.readString(section, "K" + std::to_string(k));
        EXPECT_EQ(names.at(mode + "/Key" + std::to_string(k)), text) << mode << " K" << k;
      }
    }
    for (std::size_t k = 0; k < 12; ++k) {
      EXPECT_EQ(model->keys.Key[k].caption, texts.readString(section, "K" + std::to_string(k + 1)));
    }
  }
};

TEST_P(LiveFilesInTheLanguage, FirstStartWritesTheDefaultNamesInTheLanguage) {
  const ScopedLocale locale(GetParam());
  startWindow();
  for (const char* live :
       {"configure/GM.ini", "configure/Mode3.ini", "data/Mode1_data.ini", "data/Mode5_data.ini"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(start.path() / live)) << live;
  }
  expectNamesOfTheLanguage();
  // The data files are the factory ones byte for byte.
  EXPECT_EQ(read("data/Mode2_data.ini"), read("data/Default_Mode2_data.ini"));
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Locales, LiveFilesInTheLanguage,
                         ::testing::Values("zh_CN.UTF-8", "zh_TW.UTF-8", "en_US.UTF-8"));

TEST_F(LiveFilesInTheLanguage, FactoryResetUnderEnglishGivesEnglishNames) {
  // Live files made under another locale, with a name of the user's own.
  startWindow();
  host.modeName = "FPS";
  model->MenuNameClick();
  model->FormCloseQuery();
  ASSERT_NE(read("configure/GM.ini").find("Mode1=FPS"), std::string::npos);
  ASSERT_NE(read("configure/Mode2.ini").find("Key1=左键"), std::string::npos);

  const ScopedLocale locale("en_US.UTF-8");
  startWindow();
  // The user's files are kept as they are; the names the program gave show
  // in the user's language.
  EXPECT_EQ(model->keys.Key[0].caption, "Left Button");
  EXPECT_NE(read("configure/Mode2.ini").find("Key1=左键"), std::string::npos);
  model->DefaultSettingClick();
  expectNamesOfTheLanguage();
  EXPECT_EQ(model->keys.Key[0].caption, "Left Button");
  EXPECT_EQ(model->modes.label[0].caption, "Mode 1");
}

// A locale without a language file keeps the shipped names.
TEST_F(ConfigFiles, WithoutALanguageFileTheLiveFilesAreTheFactoryFiles) {
  const ScopedLocale locale("en_US.UTF-8");
  startWindow();
  for (const char* name : {"GM", "Mode1", "Mode5"}) {
    EXPECT_EQ(read(std::string("configure/") + name + ".ini"),
              read(std::string("configure/Default_") + name + ".ini"))
        << name;
  }
}

TEST_F(ConfigFiles, RenameTakesOnlyANonEmptyNameForTheActiveMode) {
  MainWindowModel& m = startWindow();
  host.modeName = "";
  m.MenuNameClick();
  EXPECT_EQ(m.modes.label[0].caption, "设置模式1");
  host.modeName = std::nullopt;  // Cancel
  m.MenuNameClick();
  EXPECT_EQ(m.modes.label[0].caption, "设置模式1");
  EXPECT_EQ(host.modeNameLimit, 15u);
  host.modeName = "FPS";
  m.MenuNameClick();
  EXPECT_EQ(m.modes.label[0].caption, "FPS");
}

}  // namespace
}  // namespace korvane::app
