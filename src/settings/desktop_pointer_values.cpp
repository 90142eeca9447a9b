#include "settings/desktop_pointer_values.h"

#include <algorithm>

namespace korvane::settings {

namespace {

// The pointer speed runs 2..20 with 10 as the system's middle; the desktops
// run -1..1 with 0 as theirs.
constexpr int kMiddleSpeed = 10;
constexpr double kSpeedPerUnit = 10.0;
constexpr int kMostWheelLines = 10;

}  // namespace

DesktopPointerValues desktopPointerValues(const RememberedPointerValues& remembered) {
  DesktopPointerValues values;
  if (remembered.pointerSpeed > 0) {
    const double acceleration = (remembered.pointerSpeed - kMiddleSpeed) / kSpeedPerUnit;
    values.acceleration = std::clamp(acceleration, -1.0, 1.0);
  }
  // The third integer of the triple is the acceleration switch.
  values.adaptiveProfile = remembered.precision[2] != 0;
  if (remembered.doubleClickTime > 0) {
    values.doubleClickMs = remembered.doubleClickTime;
  }
  if (remembered.wheelScrollLines == kWheelPageScroll) {
    values.wheelOneScreen = true;
  } else if (remembered.wheelScrollLines > 0) {
    values.wheelLines = std::min(remembered.wheelScrollLines, kMostWheelLines);
  }
  return values;
}

}  // namespace korvane::settings
