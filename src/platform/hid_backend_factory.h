#pragma once

#include <memory>

#include "device/hid_backend.h"

namespace korvane::platform {

inline constexpr const char* kDeviceVariable = "KORVANE_DEVICE";
inline constexpr const char* kEmulatedDeviceValue = "emulated";
inline constexpr const char* kEmulatorTraceVariable = "KORVANE_EMULATOR_TRACE";

// The emulated mouse when KORVANE_DEVICE=emulated (tracing its transfers to
// the file KORVANE_EMULATOR_TRACE names, if set), the real HID devices
// otherwise.
std::unique_ptr<device::HidBackend> makeHidBackendFromEnvironment();

}  // namespace korvane::platform
