#pragma once

#include <optional>

#include "settings/pointer_settings.h"

// The remembered pointer values as the Linux desktops take them. The
// desktops know a pointer speed of -1..1 (0 is their default), an adaptive
// or a flat acceleration profile, a double-click time in milliseconds and a
// number of lines per wheel notch; "one screen per notch" has no equivalent.
namespace korvane::settings {

struct DesktopPointerValues {
  // (pointer speed - 10) / 10, clamped to -1..1; nothing when no speed was
  // ever chosen (the remembered 0).
  std::optional<double> acceleration;
  // Pointer precision on: the adaptive profile; off: the flat one.
  bool adaptiveProfile = false;
  // Nothing when no double-click time was ever chosen.
  std::optional<int> doubleClickMs;
  // 1..10; nothing when none was chosen or for one screen per notch.
  std::optional<int> wheelLines;
  // One screen per notch was chosen: the desktops keep their last value.
  bool wheelOneScreen = false;

  friend bool operator==(const DesktopPointerValues&, const DesktopPointerValues&) = default;
};

DesktopPointerValues desktopPointerValues(const RememberedPointerValues& remembered);

}  // namespace korvane::settings
