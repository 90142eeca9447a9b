#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/discovery.h"
#include "device/protocol.h"
#include "link_rig.h"
#include "platform/hid/emulated_mouse.h"
#include "platform/hid/hid_backend_factory.h"
#include "platform/hid/hidapi_backend.h"
#include "platform/hid/hidraw_watch.h"
#include "platform/hid/trace_file.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;

// A scratch folder removed after the test.
class TempDir {
 public:
  TempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::temp_directory_path() /
            (std::string("korvane_") + info->test_suite_name() + "_" + info->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good());
}

std::vector<std::string> readLines(const fs::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    lines.push_back(line);
  }
  return lines;
}

TEST(SysfsReportDescriptor, ReadFromTheHidrawNodesDeviceFolder) {
  TempDir sysfs;
  const std::vector<std::uint8_t> descriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0};
  writeFile(sysfs.path() / "hidraw3" / "device" / "report_descriptor", descriptor);
  writeFile(sysfs.path() / "hidraw7" / "device" / "report_descriptor",
            std::vector<std::uint8_t>(5000, 0x81));

  EXPECT_EQ(readReportDescriptor("/dev/hidraw3", sysfs.path()), descriptor);
  EXPECT_EQ(readReportDescriptor("/dev/hidraw4", sysfs.path()), std::nullopt) << "no such node";
  EXPECT_EQ(readReportDescriptor("/dev/hidraw7", sysfs.path()), std::nullopt) << "too large";
  EXPECT_EQ(readReportDescriptor("/dev/hidraw", sysfs.path()), std::nullopt);
  EXPECT_EQ(readReportDescriptor("1-2:1.0", sysfs.path()), std::nullopt) << "not a hidraw path";
}

TEST(HidapiBackend, PathThatCannotOpenGivesNoHandle) {
  HidapiBackend backend;
  EXPECT_EQ(backend.open("/dev/hidraw-that-does-not-exist"), nullptr);
}

TEST(TraceFile, OneLinePerAcceptedTransfer) {
  EXPECT_EQ(formatTraceLine("write", std::vector<std::uint8_t>{0x00, 0x0A, 0xFF}),
            "write 00 0A FF");

  TempDir dir;
  const fs::path trace = dir.path() / "trace.txt";
  device::testing::LinkRig rig;
  rig.mouse.setFirmwareVersion(0x2A);
  rig.mouse.traceTo(trace.string());
  rig.monitor.tick();
  rig.mouse.failTransfer(1);  // refused: not traced
  settings::ModeBlock block{};
  block[63] = 0xBE;
  rig.link.WriteMode(1, block);

  const std::vector<std::string> lines = readLines(trace);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "set-feature 00 C0 00 00 00 00 00 00 00");
  EXPECT_EQ(lines[1], "get-feature 00 C0 2A 00 00 00 00 00 00");
  std::string write = "write 00";
  for (int i = 0; i < 63; ++i) {
    write += " 00";
  }
  EXPECT_EQ(lines[2], write + " BE");
}

TEST(EmulatedMouse, UnplugKillsOpenHandlesForGood) {
  EmulatedMouse mouse;
  device::DeviceSession session;
  ASSERT_TRUE(device::OpenDevice(mouse, session, 0x4321, 0x6789));
  const std::vector<std::uint8_t> command = {0x00, 0xC0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(session.FeatureHandle->setFeature(command));

  mouse.unplug();
  EXPECT_EQ(device::CountHidInterfaces(mouse), 0);
  mouse.replug();
  EXPECT_EQ(device::CountHidInterfaces(mouse), 2);
  EXPECT_FALSE(session.FeatureHandle->setFeature(command));
  EXPECT_EQ(session.FeatureHandle->attributes(), std::nullopt);
}

TEST(HidBackendFactory, EnvironmentChoosesTheEmulator) {
  TempDir dir;
  const fs::path trace = dir.path() / "trace.txt";
  ASSERT_EQ(setenv(kDeviceVariable, kEmulatedDeviceValue, 1), 0);
  ASSERT_EQ(setenv(kEmulatorTraceVariable, trace.c_str(), 1), 0);
  auto backend = makeHidBackendFromEnvironment();
  ASSERT_EQ(unsetenv(kDeviceVariable), 0);
  ASSERT_EQ(unsetenv(kEmulatorTraceVariable), 0);

  ASSERT_NE(dynamic_cast<EmulatedMouse*>(backend.get()), nullptr);
  device::DeviceSession session;
  ASSERT_TRUE(device::OpenDevice(*backend, session, 0x4321, 0x6789));
  const std::vector<std::uint8_t> command = {0x00, 0x03, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(session.FeatureHandle->setFeature(command));
  EXPECT_EQ(readLines(trace), (std::vector<std::string>{"set-feature 00 03 00 00 00 00 00 00 00"}));

  EXPECT_NE(dynamic_cast<HidapiBackend*>(makeHidBackendFromEnvironment().get()), nullptr);
}

TEST(HidrawWatch, ReportsHidrawNodesComingGoingAndChangingAccess) {
  TempDir dev;
  const std::unique_ptr<HidrawWatch> watch = HidrawWatch::open(dev.path());
  ASSERT_NE(watch, nullptr);
  struct Step {
    const char* name;
    std::function<void()> change;
    bool reported;
  };
  const fs::path node = dev.path() / "hidraw3";
  const Step steps[] = {
      {"nothing happened", [] {}, false},
      {"a node appears", [&] { std::ofstream(node).put('x'); }, true},
      {"reported once only", [] {}, false},
      {"its access changes",
       [&] { fs::permissions(node, fs::perms::owner_read, fs::perm_options::replace); }, true},
      {"another kind of node", [&] { std::ofstream(dev.path() / "ttyS4").put('x'); }, false},
      {"the node vanishes", [&] { fs::remove(node); }, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.change();
    EXPECT_EQ(watch->takeChanges(), step.reported);
  }
}

TEST(HidrawWatch, AFolderThatCannotBeWatchedGivesNoWatch) {
  EXPECT_EQ(HidrawWatch::open("/nonexistent/korvane"), nullptr);
}

}  // namespace
}  // namespace korvane::platform
