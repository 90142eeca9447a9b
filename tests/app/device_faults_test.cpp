// The window with the emulated mouse under the faults a user meets: a monitor
// tick or a second click inside Apply's pauses, a close during Apply, an
// unplug or a quick replug, and a device that only looks like the mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/main_window_model.h"
#include "platform/hid/emulated_mouse.h"
#include "support/fake_host.h"
#include "support/mouse_transfers.h"
#include "support/recording_pointer_sink.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace korvane::app {
namespace {

using korvane::platform::EmulatedMouse;
using korvane::testing::commandCodes;
using korvane::testing::dataWrites;

// A full Apply: five mode writes and both halves of ten macro blocks.
constexpr std::size_t kApplyCommands = 25;

using korvane::testing::ScopedLocale;

class DeviceFaults : public ::testing::Test {
 protected:
  DeviceFaults() : locale("zh_CN.UTF-8") {
    start.write("data/.keep", "");
    start.write("configure/.keep", "");
    for (const char* file :
         {"2052/Simplified Chinese.ini", "1028/Traditional Chinese.ini", "1033/English.ini"}) {
      const std::filesystem::path shipped =
          std::filesystem::path(KORVANE_SOURCE_DIR) / "dist/Language" / file;
      // The byte-order mark makes the file read as UTF-8 whatever the locale's
      // code page.
      start.write(std::string("Language/") + file,
                  "\xEF\xBB\xBF" + korvane::testing::TempDir::readFile(shipped));
    }
  }

  MainWindowModel& model() {
    if (!model_) {
      model_ = std::make_unique<MainWindowModel>(host, mouse, pointerSink, start.path(),
                                                 start.path() / "korvane-driver");
      model_->FormCreate();
      model_->FormActivate();
    }
    return *model_;
  }

  // Start-up, the first tick, and mode 5 active: Apply writes 1, 2, 3, 4, 5.
  MainWindowModel& connected() {
    MainWindowModel& m = model();
    m.DetectHIDDeviceCounterTimer();
    m.modes.pnl_modeClick(5);
    mouse.clearTransfers();
    return m;
  }

  ::testing::AssertionResult allDeviceControlsEnabled(bool enabled) {
    const auto controls = model().deviceControls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (controls[i]->enabled != enabled) {
        return ::testing::AssertionFailure()
               << "device control " << i << " is " << (enabled ? "off" : "on");
      }
    }
    return ::testing::AssertionSuccess();
  }

  ScopedLocale locale;
  korvane::testing::TempDir start;
  korvane::testing::FakeHost host;
  EmulatedMouse mouse;
  korvane::testing::RecordingPointerSink pointerSink;
  std::unique_ptr<MainWindowModel> model_;
};

// Another device arrives during Apply: the tick that notices it would turn
// every control on again, Apply among them, and the user's second click
// would run a second Apply inside the first.
TEST_F(DeviceFaults, ApplyDoesNotRunInsideItself) {
  MainWindowModel& m = connected();
  std::vector<bool> applyEnabledInPauses;
  int waits = 0;
  host.onWait = [&] {
    ++waits;
    if (waits == 2) {
      mouse.addOtherDevice(0x1234, 0x5678, {.input = 8});
      m.DetectHIDDeviceCounterTimer();
      m.ApplyClick();
      m.SaveConfClick();
      m.DefaultSettingClick();
    }
    applyEnabledInPauses.push_back(m.Apply.enabled);
  };
  m.ApplyClick();
  host.onWait = nullptr;

  EXPECT_EQ(std::count(applyEnabledInPauses.begin(), applyEnabledInPauses.end(), true), 0);
  const std::vector<int> codes = commandCodes(mouse);
  // The one Apply, then the reconnect the tick had waited for.
  ASSERT_EQ(codes.size(), kApplyCommands + 1);
  EXPECT_EQ(std::vector<int>(codes.begin(), codes.begin() + 5), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(codes.back(), 0xC0);
  EXPECT_EQ(dataWrites(mouse), kApplyCommands);
  EXPECT_EQ(host.progress.back(), std::make_pair(25, 25));
  EXPECT_EQ(std::count_if(host.progress.begin(), host.progress.end(),
                          [](const auto& p) { return p.first == 0; }),
            1);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(allDeviceControlsEnabled(true));
  EXPECT_FALSE(m.commandRunning());
}

TEST_F(DeviceFaults, ClosingDuringApplyStopsAfterTheCurrentWriteThenCloses) {
  struct Case {
    const char* name;
    int closeInWait;
    std::size_t dataWrites;
  };
  const Case cases[] = {
      {"during the mode writes", 2, 2},
      // The last mode write's pause, where the macro writes begin next.
      {"as the mode writes end", 5, 5},
      {"between the halves of a macro: the block is finished", 6, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    model_.reset();
    host = korvane::testing::FakeHost();
    std::filesystem::remove(start.path() / "configure/GM.ini");
    MainWindowModel& m = connected();
    std::optional<bool> closedAtOnce;
    int waits = 0;
    host.onWait = [&] {
      if (++waits == c.closeInWait) {
        closedAtOnce = m.FormCloseQuery();
      }
    };
    const std::size_t pointerMark = pointerSink.calls.size();
    m.ApplyClick();
    host.onWait = nullptr;

    EXPECT_EQ(closedAtOnce, std::optional<bool>(false));
    EXPECT_EQ(dataWrites(mouse), c.dataWrites);
    EXPECT_TRUE(pointerSink.since(pointerMark).empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(host.busyVisible);
    // The window is closed again once the run has ended; that close saves.
    ASSERT_EQ(host.closeRequests, 1);
    EXPECT_FALSE(std::filesystem::exists(start.path() / "configure/GM.ini"));
    EXPECT_TRUE(m.FormCloseQuery());
    EXPECT_TRUE(std::filesystem::exists(start.path() / "configure/GM.ini"));
  }
}

TEST_F(DeviceFaults, ClosingDuringTheFactoryResetEndsItBeforeTheMouseIsWritten) {
  MainWindowModel& m = connected();
  bool asked = false;  // the close query pumps messages too
  host.onPump = [&] {
    if (!asked) {
      asked = true;
      m.FormCloseQuery();
    }
  };
  m.DefaultSettingClick();
  host.onPump = nullptr;
  EXPECT_EQ(dataWrites(mouse), 0u);
  EXPECT_EQ(host.closeRequests, 1);
  EXPECT_TRUE(m.FormCloseQuery());
}

// The user pulls the mouse during Apply; the monitor's tick comes in the
// same pause.
TEST_F(DeviceFaults, AnUnplugDuringApplyNamesWhatWasNotWritten) {
  struct Case {
    const char* locale;
    int unplugInWait;
    std::string message;
  };
  const Case cases[] = {
      {"zh_CN.UTF-8", 2, "模式 3、模式 4、模式 5、宏和指针设置未写入：鼠标已断开连接。"},
      {"zh_TW.UTF-8", 2, "模式 3、模式 4、模式 5、巨集和指標設定未寫入：滑鼠已中斷連線。"},
      {"en_US.UTF-8", 2,
       "mode 3, mode 4, mode 5, the macros and the pointer settings were not written: the mouse "
       "was disconnected."},
      {"en_US.UTF-8", 5,
       "the macros and the pointer settings were not written: the mouse was "
       "disconnected."},
      // Five modes, macro blocks 0 and 1, and the first half of block 2.
      {"en_US.UTF-8", 10,
       "macros 3 to 10 and the pointer settings were not written: the mouse "
       "was disconnected."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ScopedLocale caseLocale(c.locale);
    model_.reset();
    host = korvane::testing::FakeHost();
    mouse.replug();
    MainWindowModel& m = connected();
    int waits = 0;
    host.onWait = [&] {
      if (++waits == c.unplugInWait) {
        mouse.unplug();
        m.DetectHIDDeviceCounterTimer();
      }
    };
    const std::size_t pointerMark = pointerSink.calls.size();
    m.ApplyClick();
    host.onWait = nullptr;

    EXPECT_EQ(host.messages, std::vector<std::string>{c.message});
    EXPECT_TRUE(pointerSink.since(pointerMark).empty());
    // No mouse: the commands and every other device control are off.
    EXPECT_TRUE(allDeviceControlsEnabled(false));
    EXPECT_EQ(m.lbl_Ver.caption, "");
    EXPECT_FALSE(host.busyVisible);
  }
}

TEST_F(DeviceFaults, AReplugDuringApplyIsReportedAndReconnected) {
  MainWindowModel& m = connected();
  int waits = 0;
  host.onWait = [&] {
    ++waits;
    if (waits == 2) {
      mouse.unplug();
      m.DetectHIDDeviceCounterTimer();
    } else if (waits == 3) {
      mouse.replug();
      m.DetectHIDDeviceCounterTimer();
    }
  };
  m.ApplyClick();
  host.onWait = nullptr;
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "模式 3、模式 4、模式 5、宏和指针设置未写入：鼠标已断开连接。");
  EXPECT_TRUE(allDeviceControlsEnabled(true));

  // The next Apply writes everything.
  mouse.clearTransfers();
  m.ApplyClick();
  EXPECT_EQ(commandCodes(mouse).size(), kApplyCommands);
  EXPECT_EQ(host.messages.size(), 1u);
}

// Unplugged and plugged in again between two ticks: the count is the same,
// but the handles are dead.
TEST_F(DeviceFaults, AReplugBetweenTicksIsReconnectedAfterTheFailedTransfer) {
  MainWindowModel& m = connected();
  mouse.unplug();
  mouse.replug();
  m.DetectHIDDeviceCounterTimer();
  m.ApplyClick();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(allDeviceControlsEnabled(false));

  m.DetectHIDDeviceCounterTimer();
  EXPECT_TRUE(allDeviceControlsEnabled(true));
  mouse.clearTransfers();
  m.ApplyClick();
  EXPECT_EQ(commandCodes(mouse).size(), kApplyCommands);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(mouse.modes()[4][0], 5);
}

TEST_F(DeviceFaults, ADeviceThatDoesNotFitTheProtocolIsNotConnectedAndSaysWhy) {
  struct Case {
    const char* name;
    device::HidReportLengths lengths;
    std::optional<std::uint8_t> replyEcho;
    std::optional<std::size_t> replyLength;
    std::string status;
  };
  const Case cases[] = {
      {"a garbled version reply",
       {.input = 65, .output = 65, .feature = 9},
       0xA5,
       std::nullopt,
       "The mouse was found but not connected: its reply to the firmware-version command C0 "
       "echoes command A5."},
      {"a 2-byte version reply",
       {.input = 65, .output = 65, .feature = 9},
       std::nullopt,
       2,
       "The mouse was found but not connected: its reply to the firmware-version command has 2 "
       "bytes; 9 are needed."},
      {"a 64-byte output report",
       {.input = 65, .output = 64, .feature = 9},
       std::nullopt,
       std::nullopt,
       "The mouse was found but not connected: its output report has 64 bytes; the settings need "
       "65."},
      {"a feature report of 1 byte",
       {.input = 65, .output = 65, .feature = 1},
       std::nullopt,
       std::nullopt,
       "The mouse was found but not connected: its feature report has 1 bytes; the commands need "
       "9."},
  };
  ScopedLocale english("en_US.UTF-8");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    model_.reset();
    host = korvane::testing::FakeHost();
    mouse.setConfigLengths(c.lengths);
    mouse.setReplyFaults(c.replyEcho, c.replyLength);
    MainWindowModel& m = model();
    m.DetectHIDDeviceCounterTimer();

    EXPECT_TRUE(allDeviceControlsEnabled(false));
    EXPECT_EQ(m.lbl_Ver.caption, "");
    EXPECT_TRUE(m.lbl_DeviceStatus.visible);
    EXPECT_EQ(m.lbl_DeviceStatus.caption, c.status);
    EXPECT_EQ(m.session().FeatureHandle, nullptr);
  }

  // The mouse itself, plugged in instead: connected, and the line goes.
  mouse.setConfigLengths({.input = 65, .output = 65, .feature = 9});
  mouse.setReplyFaults(std::nullopt, std::nullopt);
  mouse.unplug();
  model_->DetectHIDDeviceCounterTimer();
  mouse.replug();
  model_->DetectHIDDeviceCounterTimer();
  EXPECT_TRUE(allDeviceControlsEnabled(true));
  EXPECT_FALSE(model_->lbl_DeviceStatus.visible);
  EXPECT_EQ(model_->lbl_DeviceStatus.caption, "");
}

}  // namespace
}  // namespace korvane::app
