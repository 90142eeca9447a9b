#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "device/device_session.h"
#include "device/link_host.h"
#include "device/monitor.h"
#include "device/protocol.h"
#include "platform/hid/emulated_mouse.h"

namespace korvane::device::testing {

// A data report as the mouse sees it: report id 0, then the data.
inline std::vector<std::uint8_t> dataReport(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> report(data.size() + 1, 0x00);
  std::copy(data.begin(), data.end(), report.begin() + 1);
  return report;
}

// A host that never pauses: it records what it was asked, in order, as
// "sleep 10", "wait 200", "pump", "show", "hide", "progress 3/25".
class RecordingHost : public LinkHost {
 public:
  void sleep(int ms) override { calls.push_back("sleep " + std::to_string(ms)); }
  void wait(int ms) override {
    calls.push_back("wait " + std::to_string(ms));
    ++waits;
    if (onWait) {
      onWait(waits);
    }
  }
  void pumpEvents() override {
    calls.push_back("pump");
    if (onPump) {
      onPump();
    }
  }
  void showBusy() override { calls.push_back("show"); }
  void hideBusy() override { calls.push_back("hide"); }
  void setBusyProgress(int done, int total) override {
    calls.push_back("progress " + std::to_string(done) + "/" + std::to_string(total));
  }

  int count(const std::string& call) const {
    int n = 0;
    for (const std::string& c : calls) {
      n += c == call ? 1 : 0;
    }
    return n;
  }

  std::vector<std::string> calls;
  int waits = 0;
  // Runs inside the n-th wait, where window messages (and monitor ticks) run.
  std::function<void(int n)> onWait;
  std::function<void()> onPump;  // runs where pending window messages would
};

class RecordingObserver : public LinkObserver {
 public:
  void disableDeviceControls() override { events.push_back("disable"); }
  void enableDeviceControls() override { events.push_back("enable"); }
  void firmwareVersionChanged(const std::string& versionText) override {
    events.push_back("version" + versionText);
  }
  std::vector<std::string> events;
};

// The device link of the window, wired to an emulated mouse.
struct LinkRig {
  explicit LinkRig(platform::EmulatedMouseConfig config = {})
      : mouse(config), link(session, host), monitor(mouse, session, table, link, observer) {}

  // One monitor tick, with the log and host calls of the connection cleared.
  void connect() {
    monitor.tick();
    mouse.clearTransfers();
    host.calls.clear();
    observer.events.clear();
  }

  platform::EmulatedMouse mouse;
  DeviceSession session;
  RecordingHost host;
  RecordingObserver observer;
  VendorProductTable table = defaultVendorProductTable();
  DeviceLink link;
  ConnectionMonitor monitor;
};

}  // namespace korvane::device::testing
