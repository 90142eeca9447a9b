#pragma once

#include <optional>
#include <string>
#include <vector>

#include "files/file_io.h"
#include "settings/desktop_pointer_values.h"

namespace korvane::platform::desktop_pointer {

// What one desktop sink did with the values of an Apply, for the record.
struct SinkReport {
  std::string sink;  // "GSettings", "KDE", "X11"
  // Nothing when the sink ran; otherwise why it does not apply here
  // ("schema org.gnome.desktop.peripherals.mouse not installed").
  std::optional<std::string> notApplied;
  std::vector<std::string> set;      // "speed=0.4"
  std::vector<std::string> skipped;  // "wheel lines: no setting on GNOME"
  // A file the sink had to write and could not.
  std::optional<files::FileError> error;
};

// One way of handing the pointer settings to the running desktop.
class DesktopSink {
 public:
  virtual ~DesktopSink() = default;
  virtual SinkReport apply(const settings::DesktopPointerValues& values) = 0;
};

// A number as the desktops' files and settings write it: "0.4", "-1", "1".
std::string decimalText(double value);
// The same for the single precision the X server keeps.
std::string decimalText(float value);

}  // namespace korvane::platform::desktop_pointer
