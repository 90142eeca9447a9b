#include "device/apply.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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
  std::optional<std::string> applyPointerSettings() override {
    events.push_back("pointer");
    return std::nullopt;
  }
  void showMessage(const std::string& text) override { events.push_back("message " + text); }
  void reportDisconnected(const UnwrittenWrites& writes) override {
    events.push_back("disconnected");
    unwritten = writes;
  }
  bool stopRequested() override { return stop; }
  void reportFailure(const ApplyFailure& failure) override {
    static constexpr std::array<const char*, 3> kKinds = {"mode", "macro", "firmware read"};
    events.push_back("failure " + std::string(kKinds.at(static_cast<std::size_t>(failure.kind))) +
                     " " + std::to_string(failure.number));
    unwritten = failure.unwritten;
  }

  std::vector<std::string> events;
  std::optional<std::string> compileError;
  std::optional<UnwrittenWrites> unwritten;
  bool stop = false;
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
    UnwrittenWrites unwritten;  // the refused write and all that follows it
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
       "failure mode 4",
       {{4, 5, 1}, 0, true}},
      // Five modes (10 transfers), two whole macros (8), then block 2's second data report.
      {"a macro half is rejected", 3, 22, {1, 2, 3, 4, 5}, 2, 21, "failure macro 3", {{}, 2, true}},
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
    EXPECT_EQ(hooks.events.back(), c.message);
    EXPECT_EQ(hooks.unwritten, c.unwritten);
    EXPECT_EQ(std::count(hooks.events.begin(), hooks.events.end(), "pointer"), 0);
    EXPECT_EQ(std::count(hooks.events.begin(), hooks.events.end(), "labels on"), 1);
    EXPECT_EQ(rig.host.count("hide"), 1);
  }
}

// The mouse leaves in the pause after a data write and no monitor tick
// comes in between (the window holds ticks back during a command): the next
// transfer fails on the dead handle, and the user learns what was not written.
TEST(Apply, UnplugMidwayReportsTheWritesThatDidNotHappen) {
  struct Case {
    const char* name;
    int activeMode;
    int unplugInWait;  // one wait per data write
    bool replug;
    std::size_t transfersLogged;
    UnwrittenWrites unwritten;
  };
  const Case cases[] = {
      {"after two modes", 5, 2, false, 4, {{3, 4, 5}, 0, true}},
      {"after two modes, plugged in again at once", 5, 2, true, 4, {{3, 4, 5}, 0, true}},
      {"after the active mode", 2, 5, false, 10, {{}, 0, true}},
      // Five modes, block 0 and the first half of block 1: block 1 is torn.
      {"between the halves of a macro", 1, 8, false, 16, {{}, 1, true}},
      {"before the last macro's second half", 1, 24, false, 48, {{}, 9, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LinkRig rig;
    rig.connect();
    RecordingHooks hooks;
    Blocks blocks;
    rig.host.onWait = [&](int n) {
      if (n == c.unplugInWait) {
        rig.mouse.unplug();
        if (c.replug) {
          rig.mouse.replug();
        }
      }
    };
    EXPECT_EQ(runApply(rig, hooks, blocks, c.activeMode), ApplyOutcome::Disconnected);
    EXPECT_EQ(rig.mouse.transfers().size(), c.transfersLogged);
    EXPECT_EQ(hooks.unwritten, c.unwritten);
    EXPECT_EQ(hooks.events.back(), "disconnected");
    EXPECT_EQ(std::count(hooks.events.begin(), hooks.events.end(), "pointer"), 0);
    EXPECT_EQ(std::count(hooks.events.begin(), hooks.events.end(), "labels on"), 1);
    EXPECT_TRUE(rig.session.Lost);
    EXPECT_EQ(rig.host.calls.back(), "hide");
  }
}

TEST(Apply, AFailureOnAPresentMouseIsNoDisconnection) {
  LinkRig rig;
  rig.connect();
  RecordingHooks hooks;
  Blocks blocks;
  rig.mouse.failTransfer(1);
  EXPECT_EQ(runApply(rig, hooks, blocks, 1), ApplyOutcome::WriteFailed);
  EXPECT_EQ(std::count(hooks.events.begin(), hooks.events.end(), "disconnected"), 0);
  // The next tick reconnects all the same: the handles may be stale.
  EXPECT_TRUE(rig.session.Lost);
}

// A stop (the window closing) ends the run after the current mode or the
// whole current macro block: never half a macro.
TEST(Apply, AStopEndsTheRunAfterTheCurrentWrite) {
  struct Case {
    const char* name;
    int stopInWait;
    std::size_t transfersLogged;
  };
  const Case cases[] = {
      {"during the mode writes", 2, 4},
      {"after the first half of a macro", 6, 14},
      {"after the second half of a macro", 7, 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LinkRig rig;
    rig.connect();
    RecordingHooks hooks;
    Blocks blocks;
    rig.host.onWait = [&](int n) { hooks.stop = hooks.stop || n == c.stopInWait; };
    EXPECT_EQ(runApply(rig, hooks, blocks, 5), ApplyOutcome::Stopped);
    EXPECT_EQ(rig.mouse.transfers().size(), c.transfersLogged);
    EXPECT_EQ(hooks.events.back(), "labels on");
    EXPECT_EQ(std::count(hooks.events.begin(), hooks.events.end(), "pointer"), 0);
    EXPECT_EQ(rig.host.calls.back(), "hide");
  }
}

// What Apply sends is fixed when it starts, whatever runs in its pauses.
TEST(Apply, WritesTheBlocksAsTheyWereWhenItStarted) {
  LinkRig rig;
  rig.connect();
  RecordingHooks hooks;
  Blocks blocks;
  const Blocks original;
  rig.host.onWait = [&](int n) {
    if (n == 1) {
      blocks.modes[4].fill(0xEE);  // a mode panel click reloads the blocks
    }
  };
  EXPECT_EQ(runApply(rig, hooks, blocks, 2), ApplyOutcome::Completed);
  EXPECT_EQ(rig.mouse.modes()[4], original.modes[4]);
}

TEST(Apply, AFailedVersionReadAmongTheMessagesIsNotAFailedWrite) {
  LinkRig rig;
  rig.connect();
  RecordingHooks hooks;
  Blocks blocks;
  // After the modes, while messages run, the mouse is pulled and plugged
  // back; the reconnecting tick's version read is refused.
  bool replugged = false;
  rig.host.onPump = [&] {
    if (replugged || rig.mouse.transfers().size() < 10) {  // not before the five modes
      return;
    }
    replugged = true;
    rig.mouse.unplug();
    rig.monitor.tick();
    rig.mouse.replug();
    rig.mouse.failTransfer(1);
    rig.monitor.tick();
  };
  EXPECT_EQ(runApply(rig, hooks, blocks, 1), ApplyOutcome::WriteFailed);
  ASSERT_TRUE(replugged);
  EXPECT_EQ(hooks.events.back(), "failure firmware read 0");
  EXPECT_EQ(hooks.unwritten, (UnwrittenWrites{{}, 0, true}));
  for (int k = 0; k < kMacroCount; ++k) {
    EXPECT_NE(rig.mouse.macros()[k], blocks.macros[k]) << "no macro block was sent";
  }
}

TEST(Apply, CompileErrorStopsBeforeTheFirstTransfer) {
  LinkRig rig;
  rig.connect();
  RecordingHooks hooks;
  hooks.compileError = "Macro 2 does not fit in the mouse.";
  Blocks blocks;
  EXPECT_EQ(runApply(rig, hooks, blocks, 1), ApplyOutcome::CompileFailed);
  EXPECT_TRUE(rig.mouse.transfers().empty()) << "not even the modes";
  EXPECT_EQ(hooks.events, (std::vector<std::string>{"labels off", "compile", "labels on",
                                                    "message Macro 2 does not fit in the mouse."}));
  EXPECT_EQ(rig.host.calls.back(), "hide");
}

}  // namespace
}  // namespace korvane::device
