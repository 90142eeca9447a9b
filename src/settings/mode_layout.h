#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The byte layout of a mode block: the one definition that the settings
// files, the button functions and the device link all read.
namespace korvane::settings {

// One mode of the mouse: a 64-byte record the mouse receives and returns unchanged.
inline constexpr std::size_t kModeBlockSize = 64;
using ModeBlock = std::array<std::uint8_t, kModeBlockSize>;

inline constexpr int kModeCount = 5;

// Byte offsets inside a ModeBlock.
inline constexpr std::size_t kModeNumberOffset = 0;
inline constexpr std::size_t kReportRateOffset = 3;  // 1 = 125 Hz .. 4 = 1000 Hz
inline constexpr std::size_t kDpiLevelOffset = 4;    // 1..4
inline constexpr std::size_t kLightAndMotorOffset = 5;
inline constexpr std::size_t kLightFrequencyOffset = 6;
inline constexpr std::size_t kLightColourOffset = 7;
inline constexpr std::size_t kKeysOffset = 8;  // twelve KeyActions of three bytes
inline constexpr std::size_t kKeyActionSize = 3;
inline constexpr int kButtonCount = 12;
inline constexpr std::size_t kDpiStepsOffset = 60;  // four levels, units of 50 DPI
inline constexpr int kDpiStepCount = 4;

// Bits of `lightAndMotor`.
inline constexpr std::uint8_t kLightEffectMask = 0x0F;
inline constexpr std::uint8_t kVibrationStrongBit = 0x40;
inline constexpr std::uint8_t kVibrationOnBit = 0x80;

// First byte of button n's KeyAction (n = 1..12).
constexpr std::size_t keyActionOffset(int button) {
  return kKeysOffset + kKeyActionSize * static_cast<std::size_t>(button - 1);
}

// What a new working block holds: 1000 Hz, DPI level 0, medium lighting at
// medium speed in colour cycle, vibration off and weak, the factory buttons,
// DPI steps 800/1200/1600/2400.
// clang-format off
inline constexpr ModeBlock kFactoryBlock = {
    0x00,                                            // modeNumber
    0x00, 0x00,                                      // reserved
    0x04, 0x00, 0x02, 0x02, 0x00,                    // rate, DPI level, light+motor, speed, colour
    0x01, 0x01, 0x00,                                // Key1
    0x01, 0x02, 0x00,                                // Key2
    0x01, 0x04, 0x00,                                // Key3
    0x01, 0x08, 0x00,                                // Key4
    0x01, 0x10, 0x00,                                // Key5
    0x08, 0x03, 0x00,                                // Key6
    0x05, 0x02, 0x00,                                // Key7
    0x04, 0x01, 0x8A,                                // Key8
    0x03, 0x08, 0x00,                                // Key9
    0x07, 0x01, 0x00,                                // Key10
    0x02, 0x01, 0x00,                                // Key11
    0x02, 0xFF, 0x00,                                // Key12
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // reserved
    0x10, 0x18, 0x20, 0x30,                          // dpiSteps
};
// clang-format on

// The name of the field that holds byte `offset` of a mode block, as
// "reportRate", "Key4.Param1", "dpiSteps[2]" (level 2) or "reserved[45]".
std::string modeFieldName(std::size_t offset);

}  // namespace korvane::settings
