// Runs the built korvanectl's device commands against a temporary start
// folder and the emulated mouse, and compares with the window model's own
// run on the same folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "app/main_window_model.h"
#include "files/file_io.h"
#include "files/hex.h"
#include "macros/macro_file.h"
#include "macros/script.h"
#include "platform/hid/emulated_mouse.h"
#include "settings/code_page.h"
#include "settings/ini_file.h"
#include "support/fake_host.h"
#include "support/recording_pointer_sink.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace korvane::cli {
namespace {

namespace fs = std::filesystem;
using korvane::testing::TempDir;

using CliRun = korvane::testing::CommandRun;

class CompanionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The shipped factory files as the live ones, mode 3 active.
    const fs::path dist = fs::path(KORVANE_SOURCE_DIR) / "dist";
    for (const char* folder : {"configure", "data"}) {
      for (const auto& entry : fs::directory_iterator(dist / folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("Default_")) {
          start_.write(std::string(folder) + "/" + name.substr(8), TempDir::readFile(entry.path()));
        }
      }
    }
    start_.write("configure/GM.ini", "[GM]\r\ncbMode=2\r\n");
    start_.write("data/Mode4_data.ini", "[Mode4_data]\r\nData3=2\r\nData8=9\r\nData9=1\r\n");
  }

  // Pacing is off: the emulated mouse needs no pauses and tests never sleep.
  CliRun run(const std::string& arguments, const std::string& environment = "") const {
    // Apply's pointer settings reach no desktop of the tester's: no X display,
    // no Plasma, no session bus (GSettings stay in memory for every test).
    const std::string command =
        "LC_ALL=C.UTF-8 KORVANE_DEVICE= KORVANE_EMULATOR_PACING=off "
        "DISPLAY= XDG_CURRENT_DESKTOP= DBUS_SESSION_BUS_ADDRESS= "
        "XDG_RUNTIME_DIR= " +
        std::string("XDG_CONFIG_HOME='") + config_.path().string() + "' " + environment +
        " '" KORVANECTL_PATH "' --dir '" + start_.path().string() + "' " + arguments +
        " </dev/null";
    return korvane::testing::runCommand(command, io_.path() / "stderr");
  }

  // Every file of the start folder with its content.
  std::map<std::string, std::string> snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(start_.path())) {
      if (entry.is_regular_file()) {
        files[entry.path().string()] = TempDir::readFile(entry.path());
      }
    }
    return files;
  }

  TempDir start_;
  TempDir config_;
  TempDir io_;
};

TEST_F(CompanionTest, ShowStatusAndVerifyWriteNothing) {
  const auto before = snapshot();

  // The stored blocks after the window's own start-up on this folder.
  testing::FakeHost host;
  platform::EmulatedMouse mouse;
  testing::RecordingPointerSink sink;
  app::MainWindowModel model(host, mouse, sink, start_.path(), start_.path() / "korvane-driver");
  model.keepLiveFilesAsTheyAre();
  model.FormCreate();
  ASSERT_EQ(model.blocks.activeMode, 3);

  const CliRun json = run("show --json");
  EXPECT_EQ(json.status, 0) << json.err;
  EXPECT_NE(json.out.find("{\"activeMode\":3,"), std::string::npos) << json.out;
  for (int mode = 1; mode <= settings::kModeCount; ++mode) {
    const std::string bytes = "\"bytes\":\"" + files::toHex(model.blocks.storedBlock(mode)) + "\"";
    EXPECT_NE(json.out.find(bytes), std::string::npos) << "mode " << mode;
  }
  const CliRun text = run("show");
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("\n3: "), std::string::npos);
  EXPECT_NE(text.out.find(" *\n"), std::string::npos);
  // Mode 4's first button plays macro block 1, the library's second entry;
  // its second button's bytes name no function and are shown in hex.
  EXPECT_NE(text.out.find("   1  宏定义 2\n   2  00 00 00\n"), std::string::npos) << text.out;

  EXPECT_EQ(run("status").out, "no mouse\n");
  EXPECT_EQ(run("status").status, 1);
  const CliRun status = run("--emulated status");
  EXPECT_EQ(status.status, 0) << status.err;
  EXPECT_EQ(status.out, "mouse 4321:6789 firmware 1\n");

  // A fresh emulated mouse holds nothing of the stored modes.
  const CliRun verify = run("--emulated verify");
  EXPECT_EQ(verify.status, 1);
  EXPECT_NE(verify.out.find("reportRate"), std::string::npos);

  EXPECT_EQ(snapshot(), before);
  EXPECT_TRUE(fs::is_empty(config_.path()));
}

TEST_F(CompanionTest, ApplyWritesWhatTheWindowWrites) {
  const fs::path windowTrace = io_.path() / "window.trace";
  {
    testing::FakeHost host;
    platform::EmulatedMouse mouse;
    mouse.traceTo(windowTrace.string());
    testing::RecordingPointerSink sink;
    app::MainWindowModel model(host, mouse, sink, start_.path(),
                               fs::path(KORVANECTL_PATH).parent_path() / "korvane-driver");
    model.FormCreate();
    model.DetectHIDDeviceCounterTimer();
    ASSERT_EQ(model.ApplyClick(), device::ApplyOutcome::Completed);
  }
  const fs::path cliTrace = io_.path() / "cli.trace";
  const CliRun apply = run("--emulated --trace '" + cliTrace.string() + "' apply");
  EXPECT_EQ(apply.status, 0) << apply.err;
  EXPECT_EQ(TempDir::readFile(cliTrace), TempDir::readFile(windowTrace));
  EXPECT_FALSE(TempDir::readFile(cliTrace).empty());
  // One progress line per data write: five modes and twenty macro halves.
  EXPECT_EQ(std::count(apply.err.begin(), apply.err.end(), '\n'), 25) << apply.err;
  // The pointer settings went to the user's registry file.
  EXPECT_FALSE(fs::is_empty(config_.path()));

  const CliRun verified = run("--emulated apply --verify");
  EXPECT_EQ(verified.status, 0) << verified.err;
  EXPECT_NE(verified.out.find("一致"), std::string::npos) << verified.out;

  // A mouse that does not keep byte 5 of mode 2: verify names the field.
  const CliRun stuck = run("--emulated apply --verify", "KORVANE_EMULATOR_STUCK_BYTE=2:5:81");
  EXPECT_EQ(stuck.status, 1);
  EXPECT_NE(stuck.out.find("模式 2 lightAndMotor"), std::string::npos) << stuck.out;
  EXPECT_NE(stuck.out.find(" 81"), std::string::npos) << stuck.out;
}

// The data report korvanectl sent for the n-th data write, as hex byte texts
// (the report-id byte first).
std::vector<std::string> nthWrite(const std::string& trace, int n) {
  std::istringstream lines(trace);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("write ", 0) == 0 && --n == 0) {
      std::istringstream bytes(line.substr(6));
      return {std::istream_iterator<std::string>(bytes), std::istream_iterator<std::string>()};
    }
  }
  return {};
}

TEST_F(CompanionTest, ApplyMovesAMacroButtonToItsMacroAndRefusesAMacroTooLong) {
  // Mode 3's back button plays "cc", stored when it was the first macro.
  start_.write("configure/Mode3.ini", "[Mode3]\r\nKey4=cc\r\n");
  start_.write("data/Mode3_data.ini", "[Mode3_data]\r\nData17=9\r\nData18=0\r\n");
  const TempDir macroDir;
  for (const char* name : {"aa", "bb", "cc"}) {
    ASSERT_EQ(macros::writeMacroFile(macroDir.path() / (std::string(name) + ".spm"), {"1"}),
              std::nullopt);
  }
  const std::string macroOption = "--macro-dir '" + macroDir.path().string() + "' ";
  const fs::path trace = io_.path() / "apply.trace";
  const CliRun apply = run(macroOption + "--emulated --trace '" + trace.string() + "' apply");
  ASSERT_EQ(apply.status, 0) << apply.err;
  // The active mode goes last: the fifth data write. Its byte 17 is at 1 + 17.
  const std::vector<std::string> mode3 = nthWrite(TempDir::readFile(trace), 5);
  ASSERT_EQ(mode3.size(), 65u);
  EXPECT_EQ(mode3[18], "09");
  EXPECT_EQ(mode3[19], "02");

  macros::ScriptEditor clicks;
  for (int i = 0; i < 19; ++i) {
    macros::insertMouseClick(clicks, macros::MouseButton::Left);
  }
  ASSERT_EQ(macros::writeMacroFile(macroDir.path() / "dd.spm", clicks.script), std::nullopt);
  const fs::path refused = io_.path() / "refused.trace";
  const CliRun tooLong = run(macroOption + "--emulated --trace '" + refused.string() + "' apply");
  EXPECT_EQ(tooLong.status, 1);
  EXPECT_NE(tooLong.err.find("宏“dd”超出鼠标的 128 字节宏空间(需要 135 字节)。"), std::string::npos)
      << tooLong.err;
  EXPECT_TRUE(nthWrite(fs::exists(refused) ? TempDir::readFile(refused) : "", 1).empty());
}

// korvanectl apply reaches the desktops the window reaches: here GSettings
// (kept in a key file) and the KDE files, with no X display and no bus.
TEST_F(CompanionTest, ApplyReachesTheDesktops) {
  const CliRun apply = run(
      "--emulated apply", "GSETTINGS_BACKEND=keyfile XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=x11");
  ASSERT_EQ(apply.status, 0) << apply.err;
  const settings::IniFile record =
      settings::IniFile::load(config_.path() / "KorvaneDriver" / "registry.ini",
                              settings::CodePage(settings::CodePageId::Utf8));
  // The speed the system step passed, as the desktops take it.
  const std::string call = record.readString("SystemParametersInfo", "SPI_SETMOUSESPEED");
  const int speed = std::stoi(call.substr(call.find("pvParam=") + 8));
  std::ostringstream acceleration;
  acceleration << (speed - 10) / 10.0;

  EXPECT_EQ(record.readString("Desktop", "GSettings").rfind("set speed=" + acceleration.str(), 0),
            0U)
      << record.readString("Desktop", "GSettings");
  EXPECT_EQ(record.readString("Desktop", "GSettings skipped"), "wheel lines: no setting on GNOME");
  EXPECT_EQ(record.readString("Desktop", "KDE skipped"), "change signal: no session bus");
  EXPECT_EQ(record.readString("Desktop", "X11"), "not applied: no X display");
  EXPECT_NE(config_.read("glib-2.0/settings/keyfile").find("[org/gnome/desktop/peripherals/mouse]"),
            std::string::npos);
  EXPECT_NE(config_.read("kcminputrc").find("XLbInptPointerAcceleration=" + acceleration.str()),
            std::string::npos)
      << config_.read("kcminputrc");
  EXPECT_NE(config_.read("kdeglobals").find("[KDE]\nDoubleClickInterval="), std::string::npos);
}

// A pointer record that cannot be written (the file a folder, its folder a
// file) fails Apply with the message of every refused write.
TEST_F(CompanionTest, AnUnwritableRecordFailsApply) {
  const fs::path folder = config_.path() / "KorvaneDriver";
  for (const bool recordIsAFolder : {true, false}) {
    SCOPED_TRACE(recordIsAFolder ? "registry.ini a folder" : "the config folder a file");
    fs::remove_all(folder);
    if (recordIsAFolder) {
      fs::create_directories(folder / "registry.ini");
    } else {
      config_.write("KorvaneDriver", "");
    }
    const CliRun apply = run("--emulated apply");
    EXPECT_EQ(apply.status, 1);
    EXPECT_NE(apply.err.find("无法写入 " + (folder / "registry.ini").string() + "："),
              std::string::npos)
        << apply.err;
  }
}

TEST_F(CompanionTest, ReadSaveBacksUpWhatTheMouseHolds) {
  // The fresh emulated mouse holds zeros in every mode.
  const CliRun read = run("--emulated read --save");
  EXPECT_EQ(read.status, 0) << read.err;
  EXPECT_NE(read.out.find("1: "), std::string::npos);
  const std::string data = start_.read("data/Mode1_data.ini");
  EXPECT_NE(data.find("Data3=0\r\n"), std::string::npos) << data;
  EXPECT_NE(data.find("Data60=0\r\n"), std::string::npos) << data;
}

// A typo in --macro-dir would compile an empty library and erase every macro
// on the mouse: it is an error before anything is sent, and no folder is made.
TEST_F(CompanionTest, AMistypedMacroFolderIsAnErrorBeforeAnythingIsSent) {
  const fs::path typo = io_.path() / "Macr0";
  const fs::path trace = io_.path() / "typo.trace";
  for (const std::string& arguments :
       {"--emulated --trace '" + trace.string() + "' apply", std::string("macro compile")}) {
    SCOPED_TRACE(arguments);
    const CliRun result = run("--macro-dir '" + typo.string() + "' " + arguments);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("找不到宏文件夹 " + typo.string()), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(typo));
  }
  EXPECT_EQ(TempDir::readFile(trace), "");
  EXPECT_TRUE(fs::is_empty(config_.path()));  // no pointer settings either

  // An existing folder, even an empty one, is the library it holds.
  fs::create_directory(typo);
  const CliRun apply = run("--macro-dir '" + typo.string() + "' --emulated apply");
  EXPECT_EQ(apply.status, 0) << apply.err;
}

// Fault: a data file refused as too large was replaced by the backup.
TEST_F(CompanionTest, ReadSaveNeverReplacesADataFileRefusedAsTooLarge) {
  const std::string refused =
      "[Mode2_data]\r\nData3=2\r\n" + std::string(files::kMaxFileBytes, '\n');
  const fs::path path = start_.write("data/Mode2_data.ini", refused);
  const CliRun read = run("--emulated read --save");
  EXPECT_EQ(read.status, 1);
  EXPECT_NE(read.err.find("文件 " + path.string() + " 大于 1 MiB，未读取，因此没有覆盖它。"),
            std::string::npos)
      << read.err;
  EXPECT_EQ(start_.read("data/Mode2_data.ini"), refused);
}

// Fault: a data file that is a link to some other text file got the 64
// Data keys appended by the backup.
TEST_F(CompanionTest, ReadSaveNeverWritesIntoADataFileThatIsNotOurs) {
  const std::string accounts =
      TempDir::readFile(fs::path(KORVANE_FIXTURES_DIR) / "ini" / "NotOursAccountList.txt");
  const fs::path target = io_.write("accounts.txt", accounts);
  const fs::path path = start_.path() / "data/Mode1_data.ini";
  fs::remove(path);
  fs::create_symlink(target, path);
  const CliRun read = run("--emulated read --save");
  EXPECT_EQ(read.status, 1);
  EXPECT_NE(read.err.find(path.string() + " 中没有 [Mode1_data] 节"), std::string::npos)
      << read.err;
  EXPECT_EQ(TempDir::readFile(target), accounts);
}

TEST_F(CompanionTest, FailuresExitWithOneAndUsageErrorsWithTwo) {
  struct Case {
    const char* arguments;
    const char* environment;
  };
  // Transfers 1 and 2 read the firmware version at connection; 3 and 4 are
  // the first mode's command and data.
  const Case failures[] = {
      {"apply", ""},                                              // no mouse
      {"verify", ""},                                             // no mouse
      {"--emulated apply", "KORVANE_EMULATOR_FAIL_TRANSFER=4"},   // a mode write fails
      {"--emulated read", "KORVANE_EMULATOR_FAIL_TRANSFER=4"},    // a mode read fails
      {"--emulated verify", "KORVANE_EMULATOR_FAIL_TRANSFER=3"},  // a read command fails
      {"--emulated status", "KORVANE_EMULATOR_FAIL_TRANSFER=1"},  // no version answer
      {"--dir /nonexistent/start show", ""},
      {"--dir /nonexistent/start --emulated apply", ""},
  };
  for (const Case& c : failures) {
    SCOPED_TRACE(c.arguments);
    const CliRun result = run(c.arguments, c.environment);
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(result.err.empty() && result.out.empty());
  }
  // A fault the emulated mouse cannot play is said to be ignored, never
  // dropped in silence.
  for (const char* environment :
       {"KORVANE_EMULATOR_FAIL_TRANSFER=x", "KORVANE_EMULATOR_STUCK_BYTE=2:5",
        "KORVANE_EMULATOR_STUCK_BYTE=6:5:81", "KORVANE_EMULATOR_STUCK_BYTE=0:5:81",
        "KORVANE_EMULATOR_STUCK_BYTE=2:64:81"}) {
    SCOPED_TRACE(environment);
    const CliRun ignored = run("--emulated status", environment);
    EXPECT_EQ(ignored.status, 0) << ignored.err;
    const std::string variable(environment, std::string_view(environment).find('='));
    EXPECT_NE(ignored.err.find(variable), std::string::npos) << ignored.err;
    EXPECT_NE(ignored.err.find("is ignored"), std::string::npos) << ignored.err;
  }

  const CliRun modeFailed = run("--emulated apply", "KORVANE_EMULATOR_FAIL_TRANSFER=4");
  // Worded as the window words it; no language file in this locale.
  EXPECT_NE(modeFailed.err.find("设置未能写入鼠标(模式 1)。模式 1、模式 2、模式 4、模式 5、模式 3、"
                                "宏和指针设置未写入。"),
            std::string::npos)
      << modeFailed.err;
  EXPECT_TRUE(fs::is_empty(config_.path()));  // no pointer step after a failed write

  for (const char* arguments :
       {"status extra", "show --verify", "apply --json", "read --verify", "verify --save",
        "--trace x status", "apply --count 3", "macro compile --json", "--trace"}) {
    SCOPED_TRACE(arguments);
    const CliRun result = run(arguments);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("Usage: korvanectl"), std::string::npos);
  }
}

}  // namespace
}  // namespace korvane::cli
