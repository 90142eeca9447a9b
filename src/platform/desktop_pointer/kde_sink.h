#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/desktop_pointer/desktop_setup.h"
#include "platform/desktop_pointer/desktop_sink.h"
#include "platform/desktop_pointer/input_devices.h"
#include "platform/desktop_pointer/kde_session.h"

namespace korvane::platform::desktop_pointer {

// KDE Plasma: kcminputrc and kdeglobals in the user's configuration folder,
// then the running session is told. On X11 the [Mouse] group holds the
// pointer settings of every mouse; on Wayland each mouse has a group of its
// own, named after its decimal ids and input device name, and KWin takes
// the new values over D-Bus.
class KdeSink : public DesktopSink {
 public:
  KdeSink(DesktopEnvironment environment, std::vector<MouseId> mouseIds, InputDeviceList& devices,
          KdeSession& session);
  SinkReport apply(const settings::DesktopPointerValues& values) override;

  // A Plasma session: XDG_CURRENT_DESKTOP names KDE among its entries.
  static bool isPlasma(const DesktopEnvironment& environment);
  // A Wayland session: XDG_SESSION_TYPE, or WAYLAND_DISPLAY when unset.
  static bool isWayland(const DesktopEnvironment& environment);
  // $XDG_CONFIG_HOME when absolute, else $HOME/.config; empty when neither.
  static std::filesystem::path configFolder(const DesktopEnvironment& environment);

 private:
  void writeInputFile(const std::filesystem::path& folder,
                      const settings::DesktopPointerValues& values,
                      const std::vector<InputDevice>& mice, SinkReport& report);
  void writeGlobalsFile(const std::filesystem::path& folder,
                        const settings::DesktopPointerValues& values, SinkReport& report);

  DesktopEnvironment environment_;
  std::vector<MouseId> mouseIds_;
  InputDeviceList& devices_;
  KdeSession& session_;
};

}  // namespace korvane::platform::desktop_pointer
