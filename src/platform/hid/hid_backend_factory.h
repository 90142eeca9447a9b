#pragma once

#include <memory>
#include <optional>
#include <string>

#include "device/hid_backend.h"

namespace korvane::platform {

inline constexpr const char* kDeviceVariable = "KORVANE_DEVICE";
inline constexpr const char* kEmulatedDeviceValue = "emulated";
inline constexpr const char* kEmulatorTraceVariable = "KORVANE_EMULATOR_TRACE";
// A faulty emulated mouse, for rehearsing failures: the n-th transfer
// (counted from 1) fails.
inline constexpr const char* kEmulatorFailVariable = "KORVANE_EMULATOR_FAIL_TRANSFER";
// "MODE:BYTE:VALUE" (decimal mode and byte, hex value): the emulated mouse
// keeps that byte of that mode at VALUE whatever it is sent, as a mouse that
// does not store a setting would.
inline constexpr const char* kEmulatorStuckByteVariable = "KORVANE_EMULATOR_STUCK_BYTE";

// Which mouse to talk to.
struct HidChoice {
  bool emulated = false;
  std::optional<std::string> traceFile;  // with the emulated mouse only
  std::optional<int> failingTransfer;
  std::optional<std::string> stuckByte;
};

// KORVANE_DEVICE=emulated chooses the emulated mouse (tracing its transfers
// to the file KORVANE_EMULATOR_TRACE names, if set); the real HID devices
// otherwise.
HidChoice hidChoiceFromEnvironment();
std::unique_ptr<device::HidBackend> makeHidBackend(const HidChoice& choice);
std::unique_ptr<device::HidBackend> makeHidBackendFromEnvironment();

}  // namespace korvane::platform
