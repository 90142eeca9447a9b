#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_window_model.h"
#include "app/message_texts.h"
#include "support/fake_host.h"
#include "support/no_hid.h"
#include "support/recording_pointer_sink.h"
#include "support/temp_dir.h"

namespace korvane::app {
namespace {

using korvane::testing::FakeHost;
using korvane::testing::NoHid;
using korvane::testing::TempDir;

// A start folder with the skin images the window needs, and a program folder
// of its own (started from a shortcut whose working folder differs).
class Startup : public ::testing::Test {
 protected:
  Startup() {
    for (const char* name : {"basemap", "title_base_1", "title_base_2", "title_base_3", "btn_base",
                             "macro_base", "dpi_base", "led_base", "sys_base", "mode_base_1"}) {
      start.write(std::string("skins/") + name + ".png", "png");
    }
    program.write("korvane-driver", "");
  }

  MainWindowModel& model() {
    if (!model_) {
      model_ = std::make_unique<MainWindowModel>(host, hid, pointerSink, start.path(),
                                                 program.path() / "korvane-driver");
    }
    return *model_;
  }

  TempDir start;
  TempDir program;
  FakeHost host;
  NoHid hid;
  korvane::testing::RecordingPointerSink pointerSink;
  std::unique_ptr<MainWindowModel> model_;
};

TEST_F(Startup, ResourcesComeFromTheStartFolderAndMacrosFromTheProgramFolder) {
  MainWindowModel& m = model();
  m.FormCreate();
  const std::string startDir = start.path().string();
  EXPECT_EQ(m.state().StartDir, startDir);
  EXPECT_EQ(m.state().SkinDir, startDir + "/skins");
  EXPECT_EQ(m.state().ConfigDir, startDir + "/configure");
  EXPECT_EQ(m.state().DataDir, startDir + "/data");
  EXPECT_EQ(m.state().LanguageDir, startDir + "/Language");
  EXPECT_EQ(m.state().ImageExt, "png");
  const std::string programDir = std::filesystem::canonical(program.path()).string() + "/";
  EXPECT_EQ(m.state().ProgramDir, programDir);
  EXPECT_EQ(m.state().MacroDir, programDir + "Macro/");
  EXPECT_TRUE(std::filesystem::is_directory(program.path() / "Macro"));
  EXPECT_FALSE(std::filesystem::exists(start.path() / "Macro"));
  EXPECT_EQ(m.themeFile1(), startDir + "/VQX_A.sui");
  EXPECT_EQ(m.themeFile2(), startDir + "/VQX_B.sui");
  EXPECT_EQ(m.img_base.picture, start.path() / "skins/basemap.png");
}

TEST_F(Startup, EndsOnPageOneWithTheMonitorOnAndSavingStillSuppressed) {
  MainWindowModel& m = model();
  m.FormCreate();
  EXPECT_EQ(m.visiblePage(), 1);
  EXPECT_TRUE(m.page_MseKeys.visible);
  EXPECT_FALSE(m.page_Device.visible);
  EXPECT_EQ(m.img_title[0].picture.filename(), "title_base_3.png");
  for (std::size_t i = 1; i < kPageCount; ++i) {
    EXPECT_EQ(m.img_title[i].picture.filename(), "title_base_1.png");
  }
  EXPECT_TRUE(m.state().StartupDone);
  EXPECT_TRUE(m.state().SaveSuppressed);
  EXPECT_TRUE(m.monitorRunning());
  // Before the first page, while it is shown, and before the macros are read.
  EXPECT_GE(host.pumps, 3);
  // No mouse yet: every device-dependent control waits for the monitor.
  ASSERT_EQ(m.deviceControls().size(), 46u);
  for (Control* control : m.deviceControls()) {
    EXPECT_FALSE(control->enabled);
  }
  EXPECT_TRUE(m.TntLabel13.enabled);
  EXPECT_TRUE(m.btnClose.enabled);
  // No HID interface at all: the count stays at its initial 0, nothing is tried.
  m.DetectHIDDeviceCounterTimer();
  EXPECT_FALSE(m.Apply.enabled);
}

TEST_F(Startup, StepsRunInOrderAndTheGeneralFileOnlyMarksTheMode) {
  start.write("configure/GM.ini", "[GM]\r\ncbMode=2\r\n");
  start.write("configure/Mode3.ini", "[Mode3]\r\nReportRate=1\r\n");
  MainWindowModel& m = model();
  // What the window looks like each time start-up lets window messages run.
  struct Seen {
    int active;
    std::uint8_t workingMode;
    bool startupDone;
    bool monitor;
    int page;
    bool macroFolder;
    bool operator==(const Seen&) const = default;
  };
  std::vector<Seen> seen;
  host.onPump = [&] {
    const Seen now{m.modes.activeMode(),  m.blocks.working[0],
                   m.state().StartupDone, m.monitorRunning(),
                   m.visiblePage(),       std::filesystem::exists(program.path() / "Macro")};
    if (seen.empty() || !(seen.back() == now)) {
      seen.push_back(now);
    }
  };
  m.FormCreate();
  const std::vector<Seen> expected = {
      {0, 0, false, false, 1, false},  // page 1 shown, nothing active yet
      {3, 0, false, false, 1, false},  // GM.ini marks mode 3 by its panel, loads nothing
      {3, 3, true, true, 1, false},    // loaded once start-up is done and the monitor runs
  };
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(m.blocks.working[settings::kReportRateOffset], 2);     // from Mode3.ini
  EXPECT_TRUE(std::filesystem::exists(program.path() / "Macro"));  // the macro folder is made
}

TEST_F(Startup, AMacroFolderThatCannotBeMadeLeavesTheListsEmptyWithoutAMessage) {
  model_ = std::make_unique<MainWindowModel>(host, hid, pointerSink, start.path(),
                                             start.path() / "no" / "such" / "korvane-driver");
  model_->FormCreate();
  EXPECT_FALSE(std::filesystem::exists(start.path() / "no"));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(model_->state().StartupDone);
}

TEST_F(Startup, NothingIsSavedBeforeTheWindowWasActivated) {
  MainWindowModel& m = model();
  std::filesystem::create_directories(start.path() / "data");
  std::filesystem::create_directories(start.path() / "configure");
  m.FormCreate();
  m.modes.pnl_modeClick(3);
  m.SaveConfClick();
  EXPECT_FALSE(std::filesystem::exists(start.path() / "data/Mode3_data.ini"));
  EXPECT_FALSE(std::filesystem::exists(start.path() / "configure/Mode3.ini"));
  EXPECT_TRUE(m.FormCloseQuery());
  EXPECT_FALSE(std::filesystem::exists(start.path() / "configure/GM.ini"));

  m.FormActivate();
  EXPECT_FALSE(m.state().SaveSuppressed);
  m.SaveConfClick();
  const std::string text = start.read("data/Mode3_data.ini");
  EXPECT_NE(text.find("Data0=3"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(start.path() / "configure/Mode3.ini"));
  EXPECT_FALSE(std::filesystem::exists(start.path() / "data/Mode1_data.ini"));
  EXPECT_FALSE(host.busyVisible);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(Startup, ARefusedSaveIsReportedAndTheWindowStaysUsable) {
  MainWindowModel& m = model();
  m.FormCreate();  // no configure folder: the write is refused
  m.FormActivate();
  m.modes.pnl_modeClick(2);
  m.SaveConfClick();
  ASSERT_EQ(host.messages.size(), 1u);
  // No language file for this locale: the built-in text, with the system's reason.
  EXPECT_EQ(host.messages[0], "无法写入 " + start.path().string() +
                                  "/configure/Mode2.ini：No such file or directory");
  EXPECT_FALSE(host.busyVisible);
  // The commands come back as the connection has them: no mouse, no commands.
  EXPECT_FALSE(m.SaveConf.enabled);
  EXPECT_FALSE(m.Apply.enabled);
  m.DefaultSettingClick();  // the reset's label works without a mouse
  EXPECT_FALSE(m.Apply.enabled);
}

// An installed program: resources and factory files read-only in the data
// directory, the user's files in the user's own folders.
TEST_F(Startup, InstalledProgramKeepsTheUsersFilesInTheUsersFolders) {
  const std::filesystem::path shared = program.path() / "share";
  const std::filesystem::path user = program.path() / "user";
  program.write("share/configure/Default_GM.ini", "[GM]\r\nMode1=Mode 1\r\nSelect=1\r\n");
  program.write("share/configure/Default_Mode1.ini", "[Mode1]\r\nKey1=Left\r\n");
  program.write("share/data/Default_Mode1_data.ini", "[Mode1_data]\r\nData8=1\r\n");
  paths::Folders folders;
  folders.mode = paths::FolderMode::Installed;
  folders.resourceDir = start.path();
  folders.factoryConfigDir = shared / "configure";
  folders.factoryDataDir = shared / "data";
  folders.configDir = user / "config/configure";
  folders.dataDir = user / "config/data";
  folders.macroDir = user / "data/Macro";
  folders.programDir = program.path();
  MainWindowModel m(host, hid, pointerSink, folders);
  m.FormCreate();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(m.state().SkinDir, start.path().string() + "/skins");
  EXPECT_EQ(m.state().MacroDir, folders.macroDir.string() + "/");
  EXPECT_TRUE(std::filesystem::is_directory(folders.macroDir));
  EXPECT_TRUE(std::filesystem::is_regular_file(folders.configDir / "GM.ini"));
  EXPECT_TRUE(std::filesystem::is_regular_file(folders.configDir / "Mode1.ini"));
  EXPECT_TRUE(std::filesystem::is_regular_file(folders.dataDir / "Mode1_data.ini"));
  // Nothing lands beside the factory files or in the start folder.
  EXPECT_FALSE(std::filesystem::exists(shared / "configure/GM.ini"));
  EXPECT_FALSE(std::filesystem::exists(start.path() / "configure"));

  std::filesystem::remove(folders.configDir / "Mode1.ini");
  m.FormActivate();
  m.SaveConfClick();
  EXPECT_TRUE(std::filesystem::is_regular_file(folders.configDir / "Mode1.ini"));
  EXPECT_TRUE(std::filesystem::is_regular_file(folders.dataDir / "Mode1_data.ini"));
  EXPECT_FALSE(std::filesystem::exists(shared / "configure/Mode1.ini"));
}

TEST_F(Startup, AUserFolderThatCannotBeMadeIsReportedOnce) {
  program.write("blocked", "a file, not a folder");
  paths::Folders folders;
  folders.mode = paths::FolderMode::Installed;
  folders.resourceDir = start.path();
  folders.configDir = program.path() / "blocked/configure";
  folders.dataDir = program.path() / "blocked/data";
  folders.macroDir = program.path() / "blocked/Macro";
  MainWindowModel m(host, hid, pointerSink, folders);
  m.FormCreate();
  ASSERT_EQ(host.messages.size(), 1U);
  EXPECT_EQ(host.messages[0], LoadMessageText(m.state(), i18n::Message::UnableToCreateFolder,
                                              {folders.configDir.string()}));
  EXPECT_NE(host.messages[0].find(folders.configDir.string()), std::string::npos);
}

TEST_F(Startup, ChromeCommandsGoToTheWindowingSystem) {
  MainWindowModel& m = model();
  m.FormCreate();
  m.btnMinimizeClick();
  m.btnCloseClick();
  m.Btn_ExitClick();
  m.img_baseMouseDown();
  EXPECT_EQ(host.minimized, 1);
  EXPECT_EQ(host.closeRequests, 2);
  EXPECT_EQ(host.drags, 1);
}

}  // namespace
}  // namespace korvane::app
