#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/mode_layout.h"

namespace korvane::device {

// Every report starts with its report-id byte; the mouse numbers none.
inline constexpr std::size_t kReportIdOffset = 0;
inline constexpr std::uint8_t kUnnumberedReportId = 0x00;

// Command (feature) report: [report id, code, 0 × 7], sent with the feature
// report length the interface declares; bytes past the ninth stay 0.
inline constexpr std::size_t kCommandCodeOffset = 1;
inline constexpr int kCommandReportLength = 9;
// In the reply to kReadFirmwareVersion.
inline constexpr std::size_t kFirmwareVersionOffset = 2;

// Data report, to the mouse (output) or from it (input): data byte i at
// report byte i + 1.
inline constexpr std::size_t kDataOffset = 1;
inline constexpr int kDataLength = 64;
inline constexpr int kDataReportLength = 65;
using DataReport = std::array<std::uint8_t, kDataReportLength>;

inline constexpr int kMacroCount = 10;
inline constexpr int kMacroBlockSize = 128;
using MacroBlockBytes = std::array<std::uint8_t, kMacroBlockSize>;

// Command codes. Modes are numbered 1..5, macro blocks 0..9.
inline constexpr std::uint8_t kWriteModeBase = 0x00;
inline constexpr std::uint8_t kReadModeBase = 0x80;
inline constexpr std::uint8_t kWriteMacroFirstHalfBase = 0x20;
inline constexpr std::uint8_t kWriteMacroSecondHalfBase = 0x30;
inline constexpr std::uint8_t kReadFirmwareVersion = 0xC0;

constexpr std::uint8_t writeModeCode(int mode) {
  return static_cast<std::uint8_t>(kWriteModeBase + mode);
}
constexpr std::uint8_t readModeCode(int mode) {
  return static_cast<std::uint8_t>(kReadModeBase + mode);
}
constexpr std::uint8_t writeMacroFirstHalfCode(int block) {
  return static_cast<std::uint8_t>(kWriteMacroFirstHalfBase + block);
}
constexpr std::uint8_t writeMacroSecondHalfCode(int block) {
  return static_cast<std::uint8_t>(kWriteMacroSecondHalfBase + block);
}

}  // namespace korvane::device
