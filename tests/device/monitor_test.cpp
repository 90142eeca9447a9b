#include "device/monitor.h"

#include <gtest/gtest.h>

#include <deque>
#include <utility>
#include <vector>

#include "device/hid_change_watch.h"
#include "link_rig.h"

namespace korvane::device {
namespace {

using platform::EmulatedMouseConfig;
using testing::LinkRig;
using testing::RecordingHost;
using testing::RecordingObserver;

// A system whose interface count follows a script, one entry per listing
// (the last repeats). Its interfaces open but belong to no mouse.
class CountScriptBackend : public HidBackend {
 public:
  explicit CountScriptBackend(std::deque<int> counts) : counts_(std::move(counts)) {}

  void setScript(std::deque<int> counts) {
    counts_ = std::move(counts);
    listings = 0;
  }

  std::vector<std::string> listInterfacePaths() override {
    ++listings;
    const int count = counts_.front();
    if (counts_.size() > 1) {
      counts_.pop_front();
    }
    return std::vector<std::string>(static_cast<std::size_t>(count), "stranger");
  }
  std::unique_ptr<HidHandle> open(const std::string&) override {
    return std::make_unique<StrangerHandle>();
  }

  int listings = 0;

 private:
  class StrangerHandle : public HidHandle {
   public:
    std::optional<HidAttributes> attributes() override { return HidAttributes{1, 1}; }
    std::optional<HidReportLengths> reportLengths() override { return HidReportLengths{}; }
    bool setFeature(std::span<const std::uint8_t>) override { return false; }
    std::optional<std::size_t> getFeature(std::span<std::uint8_t>) override { return std::nullopt; }
    bool write(std::span<const std::uint8_t>) override { return false; }
    bool read(std::span<std::uint8_t>, int) override { return false; }
  };

  std::deque<int> counts_;
};

TEST(ConnectionMonitor, DebouncesTheCount) {
  struct Case {
    const char* name;
    std::deque<int> counts;  // ten counts: five samples of two
    int lastCount;           // after the tick, which started from 0
  };
  const Case cases[] = {
      {"all samples agree", {3, 3, 3, 3, 3, 3, 3, 3, 3, 3}, 3},
      {"one disagreeing sample is tolerated", {3, 4, 3, 3, 3, 3, 3, 3, 3, 3}, 3},
      {"a disagreeing fifth sample still gives its first count", {3, 3, 3, 3, 3, 3, 3, 3, 3, 4}, 3},
      {"two disagreeing samples change nothing", {3, 4, 3, 3, 3, 2, 3, 3, 3, 3}, 0},
      {"the fifth sample's first count is taken", {2, 2, 2, 2, 2, 2, 2, 2, 5, 5}, 5},
      {"a count of 0 equals the start: nothing happens", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CountScriptBackend backend(c.counts);
    DeviceSession session;
    RecordingHost host;
    RecordingObserver observer;
    const VendorProductTable table = defaultVendorProductTable();
    DeviceLink link(session, host);
    ConnectionMonitor monitor(backend, session, table, link, observer);
    monitor.tick();
    EXPECT_EQ(monitor.LastCount, c.lastCount);
    const bool accepted = c.lastCount != 0;
    // An accepted change switches the controls off and looks for both slots.
    EXPECT_EQ(observer.events,
              accepted ? std::vector<std::string>{"disable"} : std::vector<std::string>{});
    EXPECT_EQ(backend.listings, accepted ? 12 : 10);
    EXPECT_FALSE(monitor.TickBusy);
  }
}

TEST(ConnectionMonitor, BusyTickReturnsAtOnce) {
  CountScriptBackend backend({3});
  DeviceSession session;
  RecordingHost host;
  RecordingObserver observer;
  const VendorProductTable table = defaultVendorProductTable();
  DeviceLink link(session, host);
  ConnectionMonitor monitor(backend, session, table, link, observer);
  monitor.TickBusy = true;
  monitor.tick();
  EXPECT_EQ(backend.listings, 0);
  EXPECT_EQ(monitor.LastCount, 0);
}

TEST(ConnectionMonitor, FindsTheMouseAndReadsItsVersion) {
  LinkRig rig;
  rig.mouse.setFirmwareVersion(12);
  rig.monitor.tick();
  EXPECT_EQ(rig.observer.events, (std::vector<std::string>{"disable", "version Ver-12", "enable"}));
  EXPECT_EQ(rig.monitor.LastCount, 2);
  EXPECT_EQ(rig.session.VendorId, 0x4321u);
  EXPECT_EQ(rig.session.ProductId, 0x6789u);
  EXPECT_EQ(rig.session.FeatureReportLength, 9);
  EXPECT_NE(rig.session.FeatureHandle, nullptr);
  EXPECT_EQ(rig.session.InputHandle, rig.session.FeatureHandle);
  EXPECT_EQ(rig.session.OutputHandle, rig.session.FeatureHandle);
  EXPECT_EQ(rig.session.VersionText, " Ver-12");

  // Nothing changed: nothing is re-opened.
  const auto handle = rig.session.FeatureHandle;
  rig.observer.events.clear();
  rig.mouse.clearTransfers();
  rig.monitor.tick();
  EXPECT_TRUE(rig.observer.events.empty());
  EXPECT_TRUE(rig.mouse.transfers().empty());
  EXPECT_EQ(rig.session.FeatureHandle, handle);
}

TEST(ConnectionMonitor, AnyDeviceArrivingReconnectsAndUnplugDisconnects) {
  LinkRig rig;
  rig.connect();
  const std::weak_ptr<HidHandle> first = rig.session.FeatureHandle;

  rig.mouse.addOtherDevice(0x046D, 0xC077, {.input = 8});
  rig.monitor.tick();
  EXPECT_EQ(rig.observer.events, (std::vector<std::string>{"disable", "version Ver-1", "enable"}));
  EXPECT_EQ(rig.monitor.LastCount, 3);
  EXPECT_TRUE(first.expired()) << "the old handles are dropped";
  EXPECT_NE(rig.session.FeatureHandle, nullptr);

  rig.observer.events.clear();
  rig.mouse.unplug();
  rig.monitor.tick();
  EXPECT_EQ(rig.observer.events, (std::vector<std::string>{"disable"}));
  EXPECT_EQ(rig.monitor.LastCount, 1);
  EXPECT_EQ(rig.session.VendorId, 0u);
  EXPECT_EQ(rig.session.ProductId, 0u);
  EXPECT_EQ(rig.session.FeatureHandle, nullptr);
  EXPECT_EQ(rig.session.InputHandle, nullptr);
  EXPECT_EQ(rig.session.OutputHandle, nullptr);
}

TEST(ConnectionMonitor, StartWithoutAnyInterfaceMakesNoAttempt) {
  LinkRig rig;
  rig.mouse.unplug();
  rig.monitor.tick();
  EXPECT_TRUE(rig.observer.events.empty());
  EXPECT_EQ(rig.monitor.LastCount, 0);
}

TEST(ConnectionMonitor, FailedVersionReadStillConnects) {
  LinkRig rig;
  rig.mouse.failTransfer(2);  // the version reply
  rig.monitor.tick();
  EXPECT_EQ(rig.observer.events, (std::vector<std::string>{"disable", "enable"}));
  EXPECT_TRUE(rig.session.TransferFailed);
  EXPECT_NE(rig.session.FeatureHandle, nullptr);
}

TEST(ConnectionMonitor, SlotsAndFeatureReports) {
  struct Case {
    const char* name = "";
    EmulatedMouseConfig mouse;
    bool slotOneStranger =
        false;                   // another device answering to slot 1's ids, with a feature report
    std::uint32_t vendorId = 0;  // 0 = not connected
    bool mouseTalkedTo = false;
  };
  const Case cases[] = {
      {"slot 2 is found when slot 1 is absent",
       {.vendorId = 0x04B4, .productId = 0x8F36},
       false,
       0x04B4,
       true},
      {"slot 1 wins over slot 2", {.vendorId = 0x04B4, .productId = 0x8F36}, true, 0x4321, false},
      {"65-byte reports without a feature report do not connect",
       {.configLengths = {.input = 65, .output = 65, .feature = 0}},
       false,
       0,
       false},
      {"ids in no slot do not connect", {.vendorId = 0x4321, .productId = 0x8F36}, false, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LinkRig rig(c.mouse);
    if (c.slotOneStranger) {
      rig.mouse.addOtherDevice(0x4321, 0x6789, {.output = 65, .feature = 9});
    }
    rig.monitor.tick();
    const bool connected = c.vendorId != 0;
    EXPECT_EQ(rig.session.VendorId, c.vendorId);
    EXPECT_EQ(rig.session.FeatureHandle != nullptr, connected);
    EXPECT_EQ(rig.observer.events.back(), connected ? "enable" : "disable");
    EXPECT_EQ(!rig.mouse.transfers().empty(), c.mouseTalkedTo);
    if (!connected) {
      // A device that is not connected keeps no handle, data roles included.
      EXPECT_EQ(rig.session.InputHandle, nullptr);
      EXPECT_EQ(rig.session.OutputHandle, nullptr);
    }
  }
}

// A change watch that reports what the test says the system reported.
class ScriptedWatch : public HidChangeWatch {
 public:
  bool takeChanges() override {
    ++asked;
    return std::exchange(reported, false);
  }
  bool reported = false;
  int asked = 0;
};

TEST(ConnectionMonitor, WithAChangeWatchEnumeratesOnlyWhenSomethingMayHaveChanged) {
  struct Tick {
    const char* name;
    bool reported;             // the system reported a change before this tick
    std::vector<int> samples;  // ten counts when the tick enumerates, else none
    int lastCount;             // after the tick
  };
  const std::vector<int> three(10, 3);
  const Tick ticks[] = {
      {"the first tick always enumerates", false, three, 3},
      {"no report: the last samples stand", false, {}, 3},
      {"a report with the same count changes nothing", true, three, 3},
      {"a report whose samples disagree is not believed yet",
       true,
       {4, 5, 4, 4, 4, 3, 4, 4, 4, 4},
       3},
      {"the count not yet believed is sampled again", false, std::vector<int>(10, 4), 4},
      {"settled again: no enumeration", false, {}, 4},
  };
  CountScriptBackend backend({0});
  DeviceSession session;
  RecordingHost host;
  RecordingObserver observer;
  const VendorProductTable table = defaultVendorProductTable();
  DeviceLink link(session, host);
  ScriptedWatch watch;
  ConnectionMonitor monitor(backend, session, table, link, observer, &watch);
  int lastCount = 0;
  for (const Tick& tick : ticks) {
    SCOPED_TRACE(tick.name);
    // The samples of this tick, then the same count for the connection
    // attempt's listings (one per slot).
    std::deque<int> counts(tick.samples.begin(), tick.samples.end());
    counts.insert(counts.end(), 2, tick.lastCount);
    backend.setScript(std::move(counts));
    watch.reported = tick.reported;
    const bool accepted = monitor.tick();
    EXPECT_EQ(backend.listings, static_cast<int>(tick.samples.size()) + (accepted ? 2 : 0));
    EXPECT_EQ(accepted, tick.lastCount != lastCount);
    EXPECT_EQ(monitor.LastCount, tick.lastCount);
    EXPECT_FALSE(watch.reported) << "every tick takes what was reported";
    lastCount = tick.lastCount;
  }
}

TEST(ConnectionMonitor, TheEmulatedMouseReportsItsOwnPlugging) {
  LinkRig rig;
  ConnectionMonitor monitor(rig.mouse, rig.session, rig.table, rig.link, rig.observer, &rig.mouse);
  EXPECT_TRUE(monitor.tick());
  EXPECT_NE(rig.session.FeatureHandle, nullptr);
  EXPECT_FALSE(monitor.tick()) << "idle: nothing reported, nothing re-opened";

  // A failed transfer lost the session: the next tick reconnects, reported or not.
  monitor.dropSession();
  EXPECT_EQ(rig.session.FeatureHandle, nullptr);
  EXPECT_TRUE(monitor.tick());
  EXPECT_NE(rig.session.FeatureHandle, nullptr);
  EXPECT_FALSE(rig.session.Lost);
  EXPECT_FALSE(monitor.tick());

  rig.mouse.unplug();
  EXPECT_TRUE(monitor.tick());
  EXPECT_EQ(rig.session.FeatureHandle, nullptr);
  EXPECT_EQ(monitor.LastCount, 0);

  rig.mouse.replug();
  EXPECT_TRUE(monitor.tick());
  EXPECT_EQ(rig.session.VendorId, 0x4321u);

  const int other = rig.mouse.addOtherDevice(0x046D, 0xC077, {.input = 8});
  EXPECT_TRUE(monitor.tick());
  EXPECT_EQ(monitor.LastCount, 3);
  rig.mouse.removeOtherDevice(other);
  EXPECT_TRUE(monitor.tick());
  EXPECT_EQ(monitor.LastCount, 2);
}

}  // namespace
}  // namespace korvane::device
