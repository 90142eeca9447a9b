#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/main_window_model.h"
#include "platform/hid/emulated_mouse.h"
#include "support/fake_host.h"
#include "support/recording_pointer_sink.h"
#include "support/temp_dir.h"

namespace korvane::testing {

// A start folder with the shipped configuration and data files, the emulated
// mouse, and a window model over them that can be restarted on the same
// folder, as a user closes the window and starts it again.
class ShippedWindow : public ::testing::Test {
 protected:
  ShippedWindow() {
    const std::filesystem::path dist = std::filesystem::path(KORVANE_SOURCE_DIR) / "dist";
    for (const char* folder : {"configure", "data"}) {
      std::filesystem::copy(dist / folder, start.path() / folder,
                            std::filesystem::copy_options::recursive);
    }
  }

  // Started, activated, and the mouse found by the first tick.
  app::MainWindowModel& startWindow() {
    model = std::make_unique<app::MainWindowModel>(host, mouse, sink, start.path(),
                                                   start.path() / "korvane-driver");
    model->FormCreate();
    model->FormActivate();
    model->DetectHIDDeviceCounterTimer();
    return *model;
  }

  void restart() {
    model->FormCloseQuery();
    startWindow();
  }

  TempDir start;
  FakeHost host;
  platform::EmulatedMouse mouse;
  RecordingPointerSink sink;
  std::unique_ptr<app::MainWindowModel> model;
};

}  // namespace korvane::testing
