// What the benchmarks and the instruction counter share: a monitor over the
// emulated mouse among other devices, and a library of ten full macros.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "device/device_session.h"
#include "device/hid_change_watch.h"
#include "device/link_host.h"
#include "device/monitor.h"
#include "device/protocol.h"
#include "macros/compiler.h"
#include "macros/macro_file.h"
#include "platform/hid/emulated_mouse.h"

namespace korvane::bench {

class NoPauses : public device::LinkHost {
 public:
  void sleep(int /*ms*/) override {}
  void wait(int /*ms*/) override {}
  void pumpEvents() override {}
  void showBusy() override {}
  void hideBusy() override {}
  void setBusyProgress(int /*done*/, int /*total*/) override {}
};

class NoControls : public device::LinkObserver {
 public:
  void disableDeviceControls() override {}
  void enableDeviceControls() override {}
  void firmwareVersionChanged(const std::string& /*versionText*/) override {}
};

// Reports a change at every tick, or never.
class FixedWatch : public device::HidChangeWatch {
 public:
  explicit FixedWatch(bool reports) : reports_(reports) {}
  bool takeChanges() override { return reports_; }

 private:
  bool reports_;
};

// The emulated mouse (two interfaces) and other devices up to `interfaces`.
// The first tick has connected, so later ticks find the same count: an
// enumerating tick samples ten times and changes nothing.
struct TickRig {
  TickRig(int interfaces, bool reportsChanges) : watch(reportsChanges) {
    for (int i = 2; i < interfaces; ++i) {
      mouse.addOtherDevice(0x1000 + static_cast<std::uint32_t>(i), 1, {.input = 8});
    }
    monitor.tick();
  }
  platform::EmulatedMouse mouse;
  FixedWatch watch;
  device::DeviceSession session;
  NoPauses host;
  NoControls observer;
  device::VendorProductTable table = device::defaultVendorProductTable();
  device::DeviceLink link{session, host};
  device::ConnectionMonitor monitor{mouse, session, table, link, observer, &watch};
};

// As many clicks as the 128-byte block takes: the fullest macro the mouse
// can hold, measured by the compiler itself rather than counted by hand.
inline macros::MacroScript fullMacro() {
  const std::vector<std::string> click = {"0 50", "1 Left Key  CODE:0071", "0 50",
                                          "2 Left Key  CODE:0071"};
  macros::MacroScript script = {"1"};
  for (;;) {
    macros::MacroScript longer = script;
    longer.insert(longer.end(), click.begin(), click.end());
    const auto usage = macros::measureMacroScript(longer);
    if (!usage || !usage->fits) {
      return script;
    }
    script = std::move(longer);
  }
}

// Ten full macro files in a scratch folder, as the library keeps them.
struct MacroLibraryRig {
  MacroLibraryRig() {
    std::filesystem::create_directories(folder);
    const macros::MacroScript script = fullMacro();
    for (int i = 0; i < macros::kMacroBlockCount; ++i) {
      names.push_back("macro" + std::to_string(i));
      std::ofstream(macros::macroFilePath(folder, names.back()), std::ios::binary)
          << macros::encodeMacroFile(script);
    }
  }
  ~MacroLibraryRig() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  MacroLibraryRig(const MacroLibraryRig&) = delete;
  MacroLibraryRig& operator=(const MacroLibraryRig&) = delete;

  // True when all ten compiled into their blocks.
  bool compile() {
    const auto outcome = macros::CompileAllMacros(folder, names, repeat, blocks);
    return !outcome.error && outcome.written.size() == names.size();
  }

  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("korvane-bench-macros-" + std::to_string(::getpid()));
  std::vector<std::string> names;
  macros::RepeatOption repeat;
  macros::MacroBlocks blocks{};
};

}  // namespace korvane::bench
