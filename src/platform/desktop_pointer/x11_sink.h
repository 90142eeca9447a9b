#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop_pointer/desktop_sink.h"

namespace korvane::platform::desktop_pointer {

inline constexpr const char* kAccelSpeedProperty = "libinput Accel Speed";
inline constexpr const char* kAccelProfileProperty = "libinput Accel Profile Enabled";

// A pointer device of the X server and the libinput properties it has.
struct XPointerDevice {
  int id = 0;
  std::string name;
  bool hasAccelSpeed = false;
  // The profile flags as they stand (adaptive, flat, then any newer ones);
  // nothing when the device has no such property.
  std::optional<std::vector<std::uint8_t>> profileEnabled;
};

// The X server's input device properties (XInput 2).
class XInputDevices {
 public:
  virtual ~XInputDevices() = default;
  // Nothing when connected, else why not ("no X display").
  virtual std::optional<std::string> connect() = 0;
  virtual std::vector<XPointerDevice> pointerDevices() = 0;
  virtual bool setAccelSpeed(int device, float speed) = 0;
  virtual bool setProfileEnabled(int device, const std::vector<std::uint8_t>& flags) = 0;
};

// The real server through libXi, connected at the first Apply.
std::unique_ptr<XInputDevices> makeXInputDevices(std::string display);

// Any X session, with or without a desktop: every pointer device driven by
// libinput gets the speed and the profile; devices without the properties
// are left alone.
class X11Sink : public DesktopSink {
 public:
  explicit X11Sink(XInputDevices& devices);
  SinkReport apply(const settings::DesktopPointerValues& values) override;

 private:
  XInputDevices& devices_;
};

}  // namespace korvane::platform::desktop_pointer
