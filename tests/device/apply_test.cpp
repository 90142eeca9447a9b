#include "device/apply.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "link_rig.h"

namespace korvane::device {
namespace {

using platform::EmulatedMouseConfig;
using platform::Transfer;
using platform::TransferKind;
using testing::dataReport;
using testing::LinkRig;

class RecordingHooks : public ApplyHooks {
 public:
  void setCommandLabelsEnabled(bool enabled) override {
    events.push_back(enabled ? "labels on" : "labels off");
  }
  std::optional<std::string> compileMacros() override {
    events.push_back("compile");
    return compileError;
  }
  void applyPointerSettings() override { events.push_back("pointer"); }
  void showMessage(const std::string& text) override { events.push_back("message " + text); }

  std::vector<std::string> events;
  std::optional<std::string> compileError;
};

// Stored blocks and macro blocks whose bytes tell where they came from.
struct Blocks {
  Blocks() {
    for (std::size_t m = 0; m < modes.size(); ++m) {
      for (std::size_t i = 0; i < settings::kModeBlockSize; ++i) {
        modes[m][i] = static_cast<std::uint8_t>(0x10 * (m + 1) + i);
      }
    }
    for (std::size_t k = 0; k < macros.size(); ++k) {
      for (std::size_t i = 0; i < kMacroBlockSize; ++i) {
        macros[k][i] = static_cast<std::uint8_t>(0xA0 + k + i);
      }
    }
  }
  std::array<settings::ModeBlock, settings::kModeCount> modes{};
  std::array<MacroBlockBytes, kMacroCount> macros{};
};

std::vector<std::uint8_t> command(std::uint8_t code) {
  std::vector<std::uint8_t> report(9, 0);
  report[1] = code;
  return report;
}

// What the mouse should see for one Apply with every handle present.
std::vector<Transfer> expectedWire(const Blocks& blocks, std::span<const int> modeOrder) {
  std::vector<Transfer> wire;
  for (const int mode : modeOrder) {
    wire.push_back({TransferKind::SetFeature, command(static_cast<std::uint8_t>(mode))});
    wire.push_back({TransferKind::Write, dataReport(blocks.modes[mode - 1])});
  }
  for (int k = 0; k < kMacroCount; ++k) {
    const std::span<const std::uint8_t> block(blocks.macros[k]);
    wire.push_back({TransferKind::SetFeature, command(static_cast<std::uint8_t>(0x20 + k))});
    wire.push_back({TransferKind::Write, dataReport(block.first(64))});
    wire.push_back({TransferKind::SetFeature, command(static_cast<std::uint8_t>(0x30 + k))});
    wire.push_back({TransferKind::Write, dataReport(block.last(64))});
  }
  return wire;
}

ApplyOutcome runApply(LinkRig& rig, RecordingHooks& hooks, const Blocks& blocks, int activeMode) {
  return Apply(rig.link, rig.host, hooks, blocks.modes, activeMode, blocks.macros);
}

TEST(ModeWriteOrder, ActiveModeLast) {
  const std::vector<std::vector<int>> expected = {
      {}, {2, 3, 4, 5, 1}, {1, 3, 4, 5, 2}, {1, 2, 4, 5, 3}, {1, 2, 3, 5, 4}, {1, 2, 3, 4, 5},
  };
  for (int active = 0; active <= 5; ++active) {
    const ModeWriteOrder order = modeWriteOrder(active);
    EXPECT_EQ(std::vector<int>(order.view().begin(), order.view().end()), expected[active])
        << "active mode " << active;
  }
  EXPECT_EQ(modeWriteOrder(6).count, 0);
  EXPECT_EQ(modeWriteOrder(-1).count, 0);
}

TEST(Apply, WireSequenceForEachActiveMode) {
  for (int active = 0; active <= 5; ++active) {
    SCOPED_TRACE(active);
    LinkRig rig;
    rig.connect();
    RecordingHooks hooks;
    Blocks blocks;
    EXPECT_EQ(runApply(rig, hooks, blocks, active), ApplyOutcome::Completed);

    const ModeWriteOrder order = modeWriteOrder(active);
    EXPECT_EQ(rig.mouse.transfers(), expectedWire(blocks, order.view()));
    for (const int mode : order.view()) {
      EXPECT_EQ(rig.mouse.modes()[mode - 1], blocks.modes[mode - 1]);
    }
    EXPECT_EQ(rig.mouse.macros(), blocks.macros);
    EXPECT_EQ(hooks.events,
              (std::vector<std::string>{"labels off", "compile", "pointer", "labels on"}));
    EXPECT_FALSE(rig.session.TransferFailed);

    // Every data write is paced and counted: "N / total" in the busy window.
    const int total = order.count + 20;
    EXPECT_EQ(rig.host.count("wait 200"), total);
    EXPECT_EQ(rig.host.count("sleep 10"), 2 * total);
    EXPECT_EQ(rig.host.count("progress 0/" + std::to_string(total)), 1);
    EXPECT_EQ(rig.host.count("progress " + std::to_string(total) + "/" + std::to_string(total)), 1);
    EXPECT_EQ(rig.host.calls.back(), "hide");
  }
}

TEST(Apply, StopsAtTheFirstFailedTransfer) {
  struct Case {
    const char* name;
    int activeMode;
    int failingTransfer;  // counted from the start of Apply
    std::vector<int> modesStored;
    int macrosStored;
    std::size_t transfersLogged;
    std::string message;
  };
  const Case cases[] = {
      // Order 2, 3, 4, 5, 1: the third write's command is transfer 5; its
      // data report still goes, then Apply stops.
      {"the third mode write is rejected",
       1,
       5,
       {2, 3},
       0,
       5,
       "The settings could not be written to the mouse (mode 4)."},
      // Five modes (10 transfers), two whole macros (8), then block 2's second data report.
      {"a macro half is rejected",
       3,
       22,
       {1, 2, 3, 4, 5},
       2,
       21,
       "The settings could not be written to the mouse (macro 3)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LinkRig rig;
    rig.connect();
    RecordingHooks hooks;
    Blocks blocks;
    rig.mouse.failTransfer(c.failingTransfer);
    EXPECT_EQ(runApply(rig, hooks, blocks, c.activeMode), ApplyOutcome::WriteFailed);

    for (int mode = 1; mode <= settings::kModeCount; ++mode) {
      const bool stored =
          std::find(c.modesStored.begin(), c.modesStored.end(), mode) != c.modesStored.end();
      EXPECT_EQ(rig.mouse.modes()[mode - 1] == blocks.modes[mode - 1], stored) << mode;
    }
    for (int k = 0; k < kMacroCount; ++k) {
      EXPECT_EQ(rig.mouse.macros()[k] == blocks.macros[k], k < c.macrosStored) << k;
    }
    // Nothing after the failed operation reached the mouse.
    EXPECT_EQ(rig.mouse.transfers().size(), c.transfersLogged);
    EXPECT_EQ(hooks.events.back(), "message " + c.message);
    EXPECT_EQ(std::count(hooks.events.begin(), hooks.events.end(), "pointer"), 0);
    EXPECT_EQ(std::count(hooks.events.begin(), hooks.events.end(), "labels on"), 1);
    EXPECT_EQ(rig.host.count("hide"), 1);
  }
}

TEST(Apply, WithoutOutputReportOnlyCommandsGo) {
  LinkRig rig(EmulatedMouseConfig{.configLengths = {.input = 65, .output = 0, .feature = 9}});
  rig.connect();
  ASSERT_EQ(rig.session.OutputHandle, nullptr);
  RecordingHooks hooks;
  Blocks blocks;
  EXPECT_EQ(runApply(rig, hooks, blocks, 2), ApplyOutcome::Completed);
  EXPECT_FALSE(rig.session.TransferFailed);
  ASSERT_EQ(rig.mouse.transfers().size(), 25u);
  for (const Transfer& t : rig.mouse.transfers()) {
    EXPECT_EQ(t.kind, TransferKind::SetFeature);
  }
  EXPECT_EQ(rig.mouse.transfers()[4].bytes, command(0x02));
  EXPECT_EQ(std::count(hooks.events.begin(), hooks.events.end(), "pointer"), 1);
}

TEST(Apply, UnplugMidwaySkipsTheRestWithoutFailure) {
  LinkRig rig;
  rig.connect();
  RecordingHooks hooks;
  Blocks blocks;
  // The user pulls the mouse during the second mode write's pause and the
  // monitor's tick runs among the window messages.
  rig.host.onWait = [&](int n) {
    if (n == 2) {
      rig.mouse.unplug();
      rig.monitor.tick();
    }
  };
  EXPECT_EQ(runApply(rig, hooks, blocks, 5), ApplyOutcome::Completed);
  EXPECT_FALSE(rig.session.TransferFailed);
  EXPECT_EQ(rig.mouse.transfers().size(), 4u);
  EXPECT_EQ(rig.session.FeatureHandle, nullptr);
  EXPECT_EQ(rig.observer.events, (std::vector<std::string>{"disable"}));
  EXPECT_EQ(hooks.events,
            (std::vector<std::string>{"labels off", "compile", "pointer", "labels on"}));
  EXPECT_EQ(rig.host.count("wait 200"), 25);
  EXPECT_EQ(rig.host.calls.back(), "hide");
}

TEST(Apply, CompileErrorStopsBeforeAnyMacroBlock) {
  LinkRig rig;
  rig.connect();
  RecordingHooks hooks;
  hooks.compileError = "Macro 2 does not fit in the mouse.";
  Blocks blocks;
  EXPECT_EQ(runApply(rig, hooks, blocks, 1), ApplyOutcome::CompileFailed);
  EXPECT_EQ(rig.mouse.transfers().size(), 10u) << "the five modes only";
  EXPECT_EQ(hooks.events, (std::vector<std::string>{"labels off", "compile", "labels on",
                                                    "message Macro 2 does not fit in the mouse."}));
  EXPECT_EQ(rig.host.calls.back(), "hide");
}

}  // namespace
}  // namespace korvane::device
