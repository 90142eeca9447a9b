#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "files/file_io.h"

// The four desktop pointer settings of the current user: pointer speed,
// pointer precision, double-click time and wheel scroll lines. The controls
// write them into the user's registry at once; Apply writes them again and
// then hands them to the running system.
namespace korvane::settings {

// Registry keys under HKEY_CURRENT_USER.
inline constexpr std::string_view kMouseKeyPath = "Control Panel\\Mouse";
inline constexpr std::string_view kDesktopKeyPath = "Control Panel\\Desktop";

// Registry value names.
inline constexpr std::string_view kMouseSensitivityValue = "MouseSensitivity";
inline constexpr std::string_view kMouseSpeedValue = "MouseSpeed";
inline constexpr std::string_view kMouseThreshold1Value = "MouseThreshold1";
inline constexpr std::string_view kMouseThreshold2Value = "MouseThreshold2";
inline constexpr std::string_view kDoubleClickSpeedValue = "DoubleClickSpeed";
inline constexpr std::string_view kWheelScrollLinesValue = "WheelScrollLines";

// SystemParametersInfo actions and flags.
inline constexpr std::uint32_t kSpiSetMouse = 4;
inline constexpr std::uint32_t kSpiSetDoubleClickTime = 32;
inline constexpr std::uint32_t kSpiSetWheelScrollLines = 105;
inline constexpr std::uint32_t kSpiSetMouseSpeed = 113;
inline constexpr std::uint32_t kSpifUpdateIniFile = 1;
inline constexpr std::uint32_t kSpifSendChange = 2;
// One screen per wheel notch: -1 as the unsigned uiParam.
inline constexpr std::int32_t kWheelPageScroll = -1;

// Threshold 1, threshold 2, acceleration: SPI_SETMOUSE's three integers.
using PrecisionTriple = std::array<int, 3>;
inline constexpr PrecisionTriple kPrecisionOn = {6, 10, 1};
inline constexpr PrecisionTriple kPrecisionOff = {0, 0, 0};

// One SystemParametersInfo call. pvParam is either a value passed as the
// pointer-sized value itself (pvValue) or the address of three integers
// (pvTriple); the call for SPI_SETMOUSE carries the triple.
struct SystemParameterCall {
  std::uint32_t action = 0;
  std::uint32_t uiParam = 0;
  std::intptr_t pvValue = 0;
  std::optional<PrecisionTriple> pvTriple;
  std::uint32_t winIni = 0;

  friend bool operator==(const SystemParameterCall&, const SystemParameterCall&) = default;
};

// Receives exactly the registry writes and the system-parameter calls.
class PointerSettingsSink {
 public:
  virtual ~PointerSettingsSink() = default;
  // Opens an existing key for writing, never creating it. False when it
  // cannot be opened: the caller then skips its whole step silently.
  virtual bool openKey(std::string_view keyPath) = 0;
  // A string value (REG_SZ) in a key opened before.
  virtual void writeString(std::string_view keyPath, std::string_view valueName,
                           std::string_view text) = 0;
  // Results are not checked: the system's answer changes nothing here.
  virtual void systemParameter(const SystemParameterCall& call) = 0;
  // The last write the system refused, a key that could not be opened
  // among them; nothing when the last one went through.
  virtual std::optional<files::FileError> lastError() const { return std::nullopt; }
};

// Slider positions 1..10 map to a value; position 0 (and anything outside
// the slider's range) writes and remembers nothing.
std::optional<int> pointerSpeedFor(int position);                            // 2, 4, .. 20
std::optional<int> doubleClickTimeFor(int position);                         // 900, 830, .. 270 ms
std::optional<int> wheelScrollLinesFor(int position, bool scrollOneScreen);  // 1..10 or -1
constexpr PrecisionTriple precisionFor(bool enhance) {
  return enhance ? kPrecisionOn : kPrecisionOff;
}

// The values last written to the registry, which Apply hands to the system.
// All 0 until a registry step sets them; a step that writes nothing leaves
// them as they are.
struct RememberedPointerValues {
  int pointerSpeed = 0;
  PrecisionTriple precision{};
  int doubleClickTime = 0;
  int wheelScrollLines = 0;

  friend bool operator==(const RememberedPointerValues&, const RememberedPointerValues&) = default;
};

class PointerSettings {
 public:
  // "Control Panel\Mouse": pointer speed, precision, double-click time.
  void registryStep1(PointerSettingsSink& sink, int speedPosition, bool enhancePrecision,
                     int doubleClickPosition);
  // "Control Panel\Desktop": wheel scroll lines.
  void registryStep2(PointerSettingsSink& sink, int wheelPosition, bool scrollOneScreen);
  // The four system-parameter calls with the remembered values.
  void systemStep(PointerSettingsSink& sink) const;

  const RememberedPointerValues& remembered() const { return remembered_; }

 private:
  RememberedPointerValues remembered_;
};

}  // namespace korvane::settings
