#include "platform/desktop_pointer/x11_sink.h"

#include <algorithm>

namespace korvane::platform::desktop_pointer {

namespace {

constexpr std::size_t kAdaptiveFlag = 0;
constexpr std::size_t kFlatFlag = 1;

}  // namespace

X11Sink::X11Sink(XInputDevices& devices) : devices_(devices) {}

SinkReport X11Sink::apply(const settings::DesktopPointerValues& values) {
  SinkReport report;
  report.sink = "X11";
  if (auto reason = devices_.connect()) {
    report.notApplied = *reason;
    return report;
  }
  bool anyDevice = false;
  for (const XPointerDevice& device : devices_.pointerDevices()) {
    if (!device.hasAccelSpeed && !device.profileEnabled) {
      continue;
    }
    anyDevice = true;
    const std::string label = "device " + std::to_string(device.id) + " \"" + device.name + "\"";
    if (device.hasAccelSpeed && values.acceleration) {
      const auto speed = static_cast<float>(*values.acceleration);
      if (devices_.setAccelSpeed(device.id, speed)) {
        report.set.push_back(label + " " + kAccelSpeedProperty + "=" + decimalText(speed));
      } else {
        report.skipped.push_back(label + " " + kAccelSpeedProperty + ": refused");
      }
    }
    // The property keeps its length: older servers know two profiles,
    // newer ones more. Only one flag is set.
    if (device.profileEnabled && device.profileEnabled->size() > kFlatFlag) {
      std::vector<std::uint8_t> flags(device.profileEnabled->size(), 0);
      flags[values.adaptiveProfile ? kAdaptiveFlag : kFlatFlag] = 1;
      const char* profile = values.adaptiveProfile ? "adaptive" : "flat";
      if (devices_.setProfileEnabled(device.id, flags)) {
        report.set.push_back(label + " " + kAccelProfileProperty + "=" + profile);
      } else {
        report.skipped.push_back(label + " " + kAccelProfileProperty + ": refused");
      }
    }
  }
  if (!anyDevice) {
    report.notApplied = "no libinput pointer device";
    return report;
  }
  if (!values.acceleration) {
    report.skipped.emplace_back("pointer speed: none chosen");
  }
  report.skipped.emplace_back("double-click time and wheel lines: no X input property");
  return report;
}

}  // namespace korvane::platform::desktop_pointer
