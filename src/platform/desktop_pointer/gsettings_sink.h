#pragma once

#include <string>

#include "platform/desktop_pointer/desktop_sink.h"

namespace korvane::platform::desktop_pointer {

inline constexpr const char* kGnomeMouseSchema = "org.gnome.desktop.peripherals.mouse";

// GNOME and the other desktops that keep their mouse settings in GSettings
// (Cinnamon, Budgie, ...): `speed`, `accel-profile` and `double-click` of
// the mouse schema, through GIO in this process. The schema is looked up
// first: GIO ends the process on a schema that is not installed.
class GSettingsSink : public DesktopSink {
 public:
  explicit GSettingsSink(std::string schemaId = kGnomeMouseSchema);
  SinkReport apply(const settings::DesktopPointerValues& values) override;

 private:
  std::string schemaId_;
};

}  // namespace korvane::platform::desktop_pointer
