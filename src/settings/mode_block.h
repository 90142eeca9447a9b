#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

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

// The six blocks in memory: the working block the controls edit, the five
// stored blocks the mouse receives, and the active mode (0 = none).
struct ModeBlocks {
  ModeBlock working{};
  std::array<ModeBlock, kModeCount> stored{};
  int activeMode = 0;

  ModeBlock& storedBlock(int mode) { return stored.at(static_cast<std::size_t>(mode - 1)); }
  const ModeBlock& storedBlock(int mode) const {
    return stored.at(static_cast<std::size_t>(mode - 1));
  }

  // Factory block into the working block, N into byte 0 of stored block N.
  void ResetToFactory();
  // Keeps the active mode's stored block equal to the working block in bytes 1..63.
  void StoreWorkingBlock();
  // Save takes all 64 bytes, byte 0 included, into the active mode's stored block.
  void captureForSaving();
  // Step 1 of the load step for mode n, after its data file (if any) was read
  // into the working block: stored block n takes n and bytes 1..63.
  void takeWorkingIntoStored(int mode);
  // Step 2 of the load step: the active mode's stored bytes 1..63 into the
  // working block, byte 0 = the mode. Does nothing with no active mode.
  void bringActiveIntoWorking();
};

}  // namespace korvane::settings
