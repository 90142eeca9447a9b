#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop_pointer/desktop_sink.h"

namespace korvane::platform::desktop_pointer {

inline constexpr const char* kGnomeMouseSchema = "org.gnome.desktop.peripherals.mouse";

// GNOME and the other desktops that keep their mouse settings in GSettings
// (Cinnamon, Budgie, ...): `speed`, `accel-profile` and `double-click` of
// the mouse schema, through GIO in this process. The schema is looked up
// first: GIO ends the process on a schema that is not installed.
class GSettingsSink : public DesktopSink {
 public:
  // `chosenBackend` is GSETTINGS_BACKEND; `sessionBus` whether there is one.
  GSettingsSink(std::string chosenBackend, bool sessionBus,
                std::string schemaId = kGnomeMouseSchema);
  SinkReport apply(const settings::DesktopPointerValues& values) override;

  // Why values written through this backend would not be kept, by the
  // backend's type: GIO's fallback keeps them in memory only, and dconf
  // writes through the session bus. Nothing when they will be kept; a
  // backend the user chose is taken as chosen.
  static std::optional<std::string> backendProblem(std::string_view backendType,
                                                   std::string_view chosenBackend, bool sessionBus);

 private:
  std::string chosenBackend_;
  bool sessionBus_;
  std::string schemaId_;
};

}  // namespace korvane::platform::desktop_pointer
