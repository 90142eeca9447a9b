// The window with the emulated mouse: the monitor finds it, the controls
// follow, and Apply sends the stored modes.
#include <gtest/gtest.h>

#include "app/main_window_model.h"
#include "platform/hid/emulated_mouse.h"
#include "support/fake_host.h"
#include "support/mouse_transfers.h"
#include "support/recording_pointer_sink.h"
#include "support/temp_dir.h"

namespace korvane::app {
namespace {

using korvane::platform::EmulatedMouse;

class WindowWithMouse : public ::testing::Test {
 protected:
  WindowWithMouse()
      : model(host, mouse, pointerSink, start.path(), start.path() / "korvane-driver") {
    start.write("data/.keep", "");
    mouse.setFirmwareVersion(12);
    model.FormCreate();
    model.FormActivate();
  }

  bool allDeviceControlsEnabled() {
    for (Control* control : model.deviceControls()) {
      if (!control->enabled) {
        return false;
      }
    }
    return true;
  }

  korvane::testing::TempDir start;
  korvane::testing::FakeHost host;
  EmulatedMouse mouse;
  korvane::testing::RecordingPointerSink pointerSink;
  MainWindowModel model;
};

TEST_F(WindowWithMouse, TheFirstTickFindsTheMouseAndShowsItsVersion) {
  EXPECT_FALSE(allDeviceControlsEnabled());
  model.DetectHIDDeviceCounterTimer();
  EXPECT_TRUE(allDeviceControlsEnabled());
  EXPECT_EQ(model.lbl_Ver.caption, " Ver-12");
  EXPECT_EQ(model.lbl_Ver.geometry.x,
            model.lbl_version.geometry.x + model.lbl_version.geometry.width);
}

TEST_F(WindowWithMouse, UnplugAndReplugTurnTheControlsOffAndOn) {
  model.DetectHIDDeviceCounterTimer();
  mouse.unplug();
  model.DetectHIDDeviceCounterTimer();
  EXPECT_FALSE(allDeviceControlsEnabled());
  EXPECT_EQ(model.lbl_Ver.caption, "");
  mouse.replug();
  model.DetectHIDDeviceCounterTimer();
  EXPECT_TRUE(allDeviceControlsEnabled());
}

TEST_F(WindowWithMouse, ApplySendsTheStoredModesWithTheActiveOneLast) {
  model.DetectHIDDeviceCounterTimer();
  model.modes.pnl_modeClick(3);
  EXPECT_EQ(model.blocks.activeMode, 3);
  model.sensitivity.btn_hzClick(2);
  mouse.clearTransfers();

  model.ApplyClick();

  const std::vector<int> codes = korvane::testing::commandCodes(mouse);
  ASSERT_GE(codes.size(), 5u);
  EXPECT_EQ(std::vector<int>(codes.begin(), codes.begin() + 5),
            (std::vector<int>{0x01, 0x02, 0x04, 0x05, 0x03}));
  EXPECT_EQ(codes.size(), 25u);
  EXPECT_EQ(mouse.modes()[2][settings::kReportRateOffset], 2);
  EXPECT_EQ(mouse.modes()[2][0], 3);
  EXPECT_FALSE(host.busyVisible);
  EXPECT_TRUE(model.Apply.enabled);
  EXPECT_TRUE(host.messages.empty());
}

// The mouse took every write but the pointer record was refused: that is
// said as every refused write is, never passed in silence.
TEST_F(WindowWithMouse, ARefusedPointerRecordIsReported) {
  model.DetectHIDDeviceCounterTimer();
  pointerSink.error =
      files::FileError{files::FileFailure::Write, "/c/registry.ini", "Is a directory"};
  EXPECT_EQ(model.ApplyClick(), device::ApplyOutcome::PointerSettingsFailed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "无法写入 /c/registry.ini：Is a directory");
  EXPECT_FALSE(host.busyVisible);
  EXPECT_TRUE(model.Apply.enabled);
}

TEST_F(WindowWithMouse, AFailedWriteIsReportedOnce) {
  model.DetectHIDDeviceCounterTimer();
  model.modes.pnl_modeClick(1);
  mouse.clearTransfers();
  mouse.failTransfer(5);  // the third mode's command: two transfers per mode
  model.ApplyClick();
  ASSERT_EQ(host.messages.size(), 1u);
  // No language file in this locale: the built-in text names the refused
  // mode and everything else that did not reach the mouse.
  EXPECT_EQ(host.messages[0],
            "设置未能写入鼠标(模式 4)。模式 4、模式 5、模式 1、宏和指针设置未写入。");
  EXPECT_FALSE(host.busyVisible);
  EXPECT_TRUE(model.SaveConf.enabled);
}

}  // namespace
}  // namespace korvane::app
