#include "settings/mode_layout.h"

#include <array>
#include <string_view>

namespace korvane::settings {

namespace {

constexpr std::array<std::string_view, kKeyActionSize> kKeyActionParts = {"Type", "Param1",
                                                                          "Param2"};

}  // namespace

std::string modeFieldName(std::size_t offset) {
  switch (offset) {
    case kModeNumberOffset:
      return "modeNumber";
    case kReportRateOffset:
      return "reportRate";
    case kDpiLevelOffset:
      return "dpiLevel";
    case kLightAndMotorOffset:
      return "lightAndMotor";
    case kLightFrequencyOffset:
      return "lightFrequency";
    case kLightColourOffset:
      return "lightColour";
    default:
      break;
  }
  const std::size_t keysEnd = keyActionOffset(kButtonCount + 1);
  if (offset >= kKeysOffset && offset < keysEnd) {
    const std::size_t index = offset - kKeysOffset;
    return "Key" + std::to_string(index / kKeyActionSize + 1) + "." +
           std::string(kKeyActionParts[index % kKeyActionSize]);
  }
  if (offset >= kDpiStepsOffset && offset < kDpiStepsOffset + kDpiStepCount) {
    return "dpiSteps[" + std::to_string(offset - kDpiStepsOffset + 1) + "]";
  }
  return "reserved[" + std::to_string(offset) + "]";
}

}  // namespace korvane::settings
