#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop_pointer/desktop_pointer_sink.h"

namespace korvane::platform::desktop_pointer {

// What decides which desktop sinks apply, from the process environment.
// An unset variable is empty.
struct DesktopEnvironment {
  std::string currentDesktop;    // XDG_CURRENT_DESKTOP, e.g. "KDE" or "ubuntu:GNOME"
  std::string sessionType;       // XDG_SESSION_TYPE: "x11", "wayland", ...
  std::string waylandDisplay;    // WAYLAND_DISPLAY
  std::string display;           // DISPLAY
  std::string configHome;        // XDG_CONFIG_HOME
  std::string home;              // HOME
  std::string runtimeDir;        // XDG_RUNTIME_DIR
  std::string sessionBus;        // DBUS_SESSION_BUS_ADDRESS
  std::string gsettingsBackend;  // GSETTINGS_BACKEND

  static DesktopEnvironment fromProcess();
};

// The USB ids the mouse answers to, to find its input devices.
struct MouseId {
  std::uint32_t vendorId = 0;
  std::uint32_t productId = 0;
};

// The mouse's known id pairs, from the table discovery tries.
std::vector<MouseId> knownMouseIds();

// The record at `recordFile` and every desktop sink of this system.
std::unique_ptr<DesktopPointerSink> makeDesktopPointerSink(std::filesystem::path recordFile,
                                                           std::vector<MouseId> mouseIds,
                                                           const DesktopEnvironment& environment);

}  // namespace korvane::platform::desktop_pointer
