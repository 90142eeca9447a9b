#include "device/apply.h"

#include <algorithm>

#include "device/device_session.h"
#include "device/link_host.h"
#include "device/protocol.h"

namespace korvane::device {

namespace {

// Each macro block goes in two halves.
constexpr int kMacroDataWrites = 2 * kMacroCount;

// Keeps the busy window's progress for exactly one Apply.
class DataWriteTracking {
 public:
  DataWriteTracking(DeviceLink& link, int total) : link_(link) { link_.trackDataWrites(total); }
  ~DataWriteTracking() { link_.stopTrackingDataWrites(); }
  DataWriteTracking(const DataWriteTracking&) = delete;
  DataWriteTracking& operator=(const DataWriteTracking&) = delete;

 private:
  DeviceLink& link_;
};

}  // namespace

ApplyOutcome Apply(DeviceLink& link, LinkHost& host, ApplyHooks& hooks,
                   std::span<const settings::ModeBlock, settings::kModeCount> storedBlocks,
                   int activeMode, std::span<const MacroBlockBytes, kMacroCount> macroBlocks) {
  DeviceSession& session = link.session();
  const ModeWriteOrder order = modeWriteOrder(activeMode);

  auto stop = [&](const std::string& message, ApplyOutcome outcome) {
    host.hideBusy();
    hooks.setCommandLabelsEnabled(true);
    hooks.showMessage(message);
    return outcome;
  };
  auto stopped = [&] {
    host.hideBusy();
    hooks.setCommandLabelsEnabled(true);
    return ApplyOutcome::Stopped;
  };
  // The writes from the failed one on: modes from position modeIndex of the
  // order, then macro blocks from firstMacro, then the pointer settings.
  auto unwrittenFrom = [&](int modeIndex, int firstMacro) {
    UnwrittenWrites unwritten;
    for (int i = modeIndex; i < order.count; ++i) {
      unwritten.modes.push_back(order.modes[static_cast<std::size_t>(i)]);
    }
    unwritten.firstMacro = firstMacro;
    unwritten.pointerSettings = true;
    return unwritten;
  };
  auto disconnected = [&](int modeIndex, int firstMacro) {
    host.hideBusy();
    hooks.setCommandLabelsEnabled(true);
    hooks.reportDisconnected(unwrittenFrom(modeIndex, firstMacro));
    return ApplyOutcome::Disconnected;
  };
  auto stopAt = [&](ApplyFailure::Kind kind, int number, int modeIndex, int firstMacro) {
    host.hideBusy();
    hooks.setCommandLabelsEnabled(true);
    hooks.reportFailure({kind, number, unwrittenFrom(modeIndex, firstMacro)});
    return ApplyOutcome::WriteFailed;
  };

  hooks.setCommandLabelsEnabled(false);
  session.TransferFailed = false;
  // Every macro is compiled and checked before the first transfer: a macro
  // that cannot reach the mouse stops the run with the mouse untouched.
  if (const auto error = hooks.compileMacros()) {
    return stop(*error, ApplyOutcome::CompileFailed);
  }
  // Window messages run during the pauses; whatever they change, this run
  // writes the modes as they were stored once the macros were compiled (the
  // compile step may move a button to its macro's block).
  std::array<settings::ModeBlock, settings::kModeCount> modes{};
  std::copy(storedBlocks.begin(), storedBlocks.end(), modes.begin());
  const int total = order.count + kMacroDataWrites;
  DataWriteTracking tracking(link, total);
  host.showBusy();
  host.setBusyProgress(0, total);
  host.pumpEvents();
  if (hooks.stopRequested()) {
    return stopped();
  }

  for (int i = 0; i < order.count; ++i) {
    const int mode = order.modes[static_cast<std::size_t>(i)];
    link.WriteMode(mode, modes[static_cast<std::size_t>(mode - 1)]);
    if (session.TransferFailed) {
      if (link.mouseDisconnected()) {
        return disconnected(i, 0);
      }
      return stopAt(ApplyFailure::Kind::ModeWrite, mode, i, 0);
    }
    if (hooks.stopRequested()) {
      return stopped();
    }
  }

  host.showBusy();
  host.pumpEvents();
  // Only a transfer made while messages ran (a reconnect's version read) can
  // have failed here: nothing was written wrong, the macros are not sent.
  if (session.TransferFailed) {
    return stopAt(ApplyFailure::Kind::FirmwareRead, 0, order.count, 0);
  }
  if (hooks.stopRequested()) {
    return stopped();
  }

  for (int block = 0; block < kMacroCount; ++block) {
    link.WriteMacro(block, macroBlocks[static_cast<std::size_t>(block)]);
    if (session.TransferFailed) {
      if (link.mouseDisconnected()) {
        return disconnected(order.count, block);
      }
      // The macro library numbers its entries from 1: entry N is block N - 1.
      return stopAt(ApplyFailure::Kind::MacroWrite, block + 1, order.count, block);
    }
    if (hooks.stopRequested()) {
      return stopped();
    }
  }

  if (const auto error = hooks.applyPointerSettings()) {
    return stop(*error, ApplyOutcome::PointerSettingsFailed);
  }
  host.hideBusy();
  hooks.setCommandLabelsEnabled(true);
  return ApplyOutcome::Completed;
}

}  // namespace korvane::device
