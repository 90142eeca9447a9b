// The remembered pointer values as the desktops take them.
#include <gtest/gtest.h>

#include "settings/desktop_pointer_values.h"
#include "settings/pointer_settings.h"

namespace korvane::settings {
namespace {

TEST(DesktopPointerValues, MapsEachRememberedValue) {
  struct Case {
    const char* what;
    RememberedPointerValues remembered;
    DesktopPointerValues expected;
  };
  const Case cases[] = {
      {"nothing chosen yet", {}, {}},
      {"slider 7 (14), precision on, double-click slider 10, 3 lines",
       {*pointerSpeedFor(7), kPrecisionOn, *doubleClickTimeFor(10), 3},
       {0.4, true, 270, 3, false}},
      {"slowest speed, precision off, slowest double-click",
       {2, kPrecisionOff, 900, 10},
       {-0.8, false, 900, 10, false}},
      {"the middle speed is the desktops' default",
       {10, kPrecisionOn, 620, 1},
       {0.0, true, 620, 1}},
      {"fastest speed", {20, kPrecisionOff, 0, 0}, {1.0, false, std::nullopt, std::nullopt}},
      {"values beyond the sliders are clamped",
       {40, kPrecisionOff, 0, 25},
       {1.0, false, std::nullopt, 10}},
      {"one screen per notch keeps the desktops' last value",
       {0, kPrecisionOff, 0, kWheelPageScroll},
       {std::nullopt, false, std::nullopt, std::nullopt, true}},
  };
  for (const Case& c : cases) {
    const DesktopPointerValues actual = desktopPointerValues(c.remembered);
    EXPECT_EQ(actual.acceleration.has_value(), c.expected.acceleration.has_value()) << c.what;
    if (actual.acceleration && c.expected.acceleration) {
      EXPECT_DOUBLE_EQ(*actual.acceleration, *c.expected.acceleration) << c.what;
    }
    EXPECT_EQ(actual.adaptiveProfile, c.expected.adaptiveProfile) << c.what;
    EXPECT_EQ(actual.doubleClickMs, c.expected.doubleClickMs) << c.what;
    EXPECT_EQ(actual.wheelLines, c.expected.wheelLines) << c.what;
    EXPECT_EQ(actual.wheelOneScreen, c.expected.wheelOneScreen) << c.what;
  }
}

}  // namespace
}  // namespace korvane::settings
