#include "settings/pointer_settings.h"

#include <string>

namespace korvane::settings {

namespace {

constexpr int kFirstPosition = 1;
constexpr int kLastPosition = 10;
constexpr int kSlowestDoubleClickMs = 900;
constexpr int kDoubleClickStepMs = 70;

bool isValuePosition(int position) {
  return position >= kFirstPosition && position <= kLastPosition;
}

}  // namespace

std::optional<int> pointerSpeedFor(int position) {
  if (!isValuePosition(position)) {
    return std::nullopt;
  }
  return 2 * position;
}

std::optional<int> doubleClickTimeFor(int position) {
  if (!isValuePosition(position)) {
    return std::nullopt;
  }
  return kSlowestDoubleClickMs - kDoubleClickStepMs * (position - 1);
}

std::optional<int> wheelScrollLinesFor(int position, bool scrollOneScreen) {
  if (scrollOneScreen) {
    return kWheelPageScroll;
  }
  if (!isValuePosition(position)) {
    return std::nullopt;
  }
  return position;
}

void PointerSettings::registryStep1(PointerSettingsSink& sink, int speedPosition,
                                    bool enhancePrecision, int doubleClickPosition) {
  if (!sink.openKey(kMouseKeyPath)) {
    return;
  }
  if (const auto speed = pointerSpeedFor(speedPosition)) {
    sink.writeString(kMouseKeyPath, kMouseSensitivityValue, std::to_string(*speed));
    remembered_.pointerSpeed = *speed;
  }
  const PrecisionTriple precision = precisionFor(enhancePrecision);
  // The registry keeps acceleration first, then the two thresholds.
  sink.writeString(kMouseKeyPath, kMouseSpeedValue, std::to_string(precision[2]));
  sink.writeString(kMouseKeyPath, kMouseThreshold1Value, std::to_string(precision[0]));
  sink.writeString(kMouseKeyPath, kMouseThreshold2Value, std::to_string(precision[1]));
  remembered_.precision = precision;
  if (const auto time = doubleClickTimeFor(doubleClickPosition)) {
    sink.writeString(kMouseKeyPath, kDoubleClickSpeedValue, std::to_string(*time));
    remembered_.doubleClickTime = *time;
  }
}

void PointerSettings::registryStep2(PointerSettingsSink& sink, int wheelPosition,
                                    bool scrollOneScreen) {
  if (!sink.openKey(kDesktopKeyPath)) {
    return;
  }
  if (const auto lines = wheelScrollLinesFor(wheelPosition, scrollOneScreen)) {
    sink.writeString(kDesktopKeyPath, kWheelScrollLinesValue, std::to_string(*lines));
    remembered_.wheelScrollLines = *lines;
  }
}

void PointerSettings::systemStep(PointerSettingsSink& sink) const {
  const RememberedPointerValues& v = remembered_;
  // {action, uiParam, pvParam as a value, pvParam as three integers, fWinIni}
  sink.systemParameter({kSpiSetMouseSpeed, 0, static_cast<std::intptr_t>(v.pointerSpeed),
                        std::nullopt, kSpifSendChange});
  sink.systemParameter({kSpiSetMouse, 0, 0, v.precision, kSpifSendChange});
  sink.systemParameter({kSpiSetDoubleClickTime, static_cast<std::uint32_t>(v.doubleClickTime), 0,
                        std::nullopt, kSpifSendChange});
  sink.systemParameter({kSpiSetWheelScrollLines, static_cast<std::uint32_t>(v.wheelScrollLines), 0,
                        std::nullopt, kSpifUpdateIniFile});
}

}  // namespace korvane::settings
