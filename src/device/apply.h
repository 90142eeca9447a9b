#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/report_layout.h"

namespace korvane::device {

class DeviceLink;
class LinkHost;

// What an Apply cut short by a failed transfer or an unplug left undone.
struct UnwrittenWrites {
  std::vector<int> modes;        // in write order
  int firstMacro = kMacroCount;  // blocks firstMacro..9 not (wholly) written; kMacroCount: none
  bool pointerSettings = false;

  friend bool operator==(const UnwrittenWrites&, const UnwrittenWrites&) = default;
};

// Where Apply stopped, as data: the window words it in the user's language.
struct ApplyFailure {
  enum class Kind {
    ModeWrite,     // `number`: the mode, 1..5
    MacroWrite,    // `number`: the macro library entry, from 1
    FirmwareRead,  // a reconnect's version read while messages ran
  };
  Kind kind = Kind::ModeWrite;
  int number = 0;
  // Everything the stop left unwritten, the refused write among it.
  UnwrittenWrites unwritten{};

  friend bool operator==(const ApplyFailure&, const ApplyFailure&) = default;
};

// What Apply needs from the window beyond the device link.
class ApplyHooks {
 public:
  virtual ~ApplyHooks() = default;
  // SaveConf, DefaultSetting, Btn_Exit and Apply: off for the whole run.
  virtual void setCommandLabelsEnabled(bool enabled) = 0;
  // Before the first transfer: fills the ten macro blocks from the macro
  // library and checks that every button's macro reaches the mouse; the
  // message when one does not, and then nothing is sent.
  virtual std::optional<std::string> compileMacros() = 0;
  // The registry steps and the four system-parameter calls; the message when
  // the system refused to keep them.
  virtual std::optional<std::string> applyPointerSettings() = 0;
  virtual void showMessage(const std::string& text) = 0;
  // The mouse was unplugged during the run: tell the user what was not
  // written and let the window follow the lost connection.
  virtual void reportDisconnected(const UnwrittenWrites& unwritten) = 0;
  // Asked after each mode and each whole macro block (never between the two
  // halves, which would leave the mouse a torn macro): true ends the run
  // there, as when the window is closing.
  virtual bool stopRequested() { return false; }
  // The one message of a failed transfer: what failed and what was not written.
  virtual void reportFailure(const ApplyFailure& failure) = 0;
};

// The modes Apply writes, in order: the other four ascending, the active one
// last so the mouse ends up in it. No active mode (0) writes none.
struct ModeWriteOrder {
  std::array<int, settings::kModeCount> modes{};
  int count = 0;

  std::span<const int> view() const { return std::span<const int>(modes).first(count); }
};

constexpr ModeWriteOrder modeWriteOrder(int activeMode) {
  ModeWriteOrder order;
  if (activeMode < 1 || activeMode > settings::kModeCount) {
    return order;
  }
  for (int mode = 1; mode <= settings::kModeCount; ++mode) {
    if (mode != activeMode) {
      order.modes[order.count++] = mode;
    }
  }
  order.modes[order.count++] = activeMode;
  return order;
}

enum class ApplyOutcome {
  Completed,              // everything written
  WriteFailed,            // stopped at the first failed transfer; the mouse refused it
  Disconnected,           // stopped at the first failed transfer; the mouse was unplugged
  CompileFailed,          // a macro could not be compiled; nothing was sent
  Stopped,                // ended early on request (the window is closing)
  PointerSettingsFailed,  // the mouse has it all; the pointer settings were refused
  NotStarted,             // another command was running; nothing was sent
};

// The Apply command: the ten macro blocks compiled by the hook into
// macroBlocks before anything is sent, then the five stored mode blocks (the
// active one last), the ten macro blocks, then the pointer settings. Stops at the first failed
// transfer with one message: the refused write, or, when the mouse was unplugged, every write that
// did not happen. The mode blocks are read as the compile step leaves them.
ApplyOutcome Apply(DeviceLink& link, LinkHost& host, ApplyHooks& hooks,
                   std::span<const settings::ModeBlock, settings::kModeCount> storedBlocks,
                   int activeMode, std::span<const MacroBlockBytes, kMacroCount> macroBlocks);

}  // namespace korvane::device
