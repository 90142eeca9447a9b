// The pointer settings of an Apply: the record keeps every registry write
// and call, the desktops get the values once, at the system step, and the
// record names what each desktop set or skipped.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/main_window_model.h"
#include "fake_desktop_sink.h"
#include "platform/desktop_pointer/desktop_pointer_sink.h"
#include "platform/hid/emulated_mouse.h"
#include "platform/pointer_file/registry_file_sink.h"
#include "settings/code_page.h"
#include "settings/ini_file.h"
#include "settings/pointer_settings.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace korvane::platform::desktop_pointer {
namespace {

using korvane::testing::FakeDesktopSink;
using korvane::testing::TempDir;

struct Rig {
  explicit Rig(const std::filesystem::path& record) {
    SinkReport set;
    set.sink = "GSettings";
    set.set = {"speed=0.4", "accel-profile=adaptive"};
    set.skipped = {"wheel lines: no setting on GNOME"};
    SinkReport notApplied;
    notApplied.sink = "KDE";
    notApplied.notApplied = "not a KDE session";
    auto gnome = std::make_unique<FakeDesktopSink>(set);
    auto kde = std::make_unique<FakeDesktopSink>(notApplied);
    first = gnome.get();
    second = kde.get();
    std::vector<std::unique_ptr<DesktopSink>> desktops;
    desktops.push_back(std::move(gnome));
    desktops.push_back(std::move(kde));
    sink = std::make_unique<DesktopPointerSink>(record, std::move(desktops));
  }
  FakeDesktopSink* first = nullptr;
  FakeDesktopSink* second = nullptr;
  std::unique_ptr<DesktopPointerSink> sink;
};

settings::IniFile reload(const std::filesystem::path& file) {
  return settings::IniFile::load(file, settings::CodePage(settings::CodePageId::Utf8));
}

TEST(DesktopPointerSink, DesktopsGetTheValuesOnlyAtTheSystemStep) {
  TempDir dir;
  const auto record = dir.path() / "KorvaneDriver" / "registry.ini";
  Rig rig(record);
  settings::PointerSettings pointer;

  pointer.registryStep1(*rig.sink, 7, true, 10);
  pointer.registryStep2(*rig.sink, 3, false);
  EXPECT_TRUE(rig.first->received.empty());
  EXPECT_EQ(reload(record).readString("Control Panel\\Mouse", "MouseSensitivity"), "14");

  pointer.systemStep(*rig.sink);
  ASSERT_EQ(rig.first->received.size(), 1U);
  ASSERT_EQ(rig.second->received.size(), 1U);
  const settings::DesktopPointerValues& values = rig.first->received[0];
  EXPECT_DOUBLE_EQ(values.acceleration.value_or(99), 0.4);
  EXPECT_TRUE(values.adaptiveProfile);
  EXPECT_EQ(values.doubleClickMs, 270);
  EXPECT_EQ(values.wheelLines, 3);

  const settings::IniFile ini = reload(record);
  EXPECT_EQ(ini.readString("SystemParametersInfo", "SPI_SETMOUSESPEED"),
            "uiParam=0;pvParam=14;fWinIni=2");
  EXPECT_EQ(ini.readString("Desktop", "GSettings"), "set speed=0.4, accel-profile=adaptive");
  EXPECT_EQ(ini.readString("Desktop", "GSettings skipped"), "wheel lines: no setting on GNOME");
  EXPECT_EQ(ini.readString("Desktop", "KDE"), "not applied: not a KDE session");
  EXPECT_FALSE(rig.sink->lastError());
}

TEST(DesktopPointerSink, ApplyStoppedByTheMouseRunsNoDesktop) {
  TempDir start;
  TempDir config;
  const std::filesystem::path dist = std::filesystem::path(KORVANE_SOURCE_DIR) / "dist";
  for (const char* folder : {"configure", "data"}) {
    for (const auto& entry : std::filesystem::directory_iterator(dist / folder)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("Default_")) {
        start.write(std::string(folder) + "/" + name.substr(8), TempDir::readFile(entry.path()));
      }
    }
  }
  for (const bool failing : {false, true}) {
    Rig rig(config.path() / (failing ? "failing.ini" : "completed.ini"));
    korvane::testing::FakeHost host;
    EmulatedMouse mouse;
    app::MainWindowModel model(host, mouse, *rig.sink, start.path(), start.path() / "program");
    model.keepLiveFilesAsTheyAre();
    model.FormCreate();
    model.DetectHIDDeviceCounterTimer();
    if (failing) {
      mouse.failTransfer(3);
    }
    EXPECT_EQ(model.ApplyClick() == device::ApplyOutcome::Completed, !failing);
    EXPECT_EQ(rig.first->received.size(), failing ? 0U : 1U) << (failing ? "failed" : "completed");
  }
}

}  // namespace
}  // namespace korvane::platform::desktop_pointer
