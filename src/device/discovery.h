#pragma once

#include <cstdint>

namespace korvane::device {

class HidBackend;
struct DeviceSession;

// The number of present HID interfaces that can be opened for reading and
// writing. Each one is closed again at once.
int CountHidInterfaces(HidBackend& backend);

// Opens the interfaces of the device with these ids and gives them the roles
// of the session: input 65 bytes → InputHandle, a feature report →
// FeatureHandle (and the ids and FeatureReportLength), output 65 bytes →
// OutputHandle. Every interface is visited; the last one that qualifies keeps
// a role. True when the device fits the protocol: a feature report of at
// least the command report's length and a 65-byte output report. A device
// with these ids that does not fit sets the session's Mismatch and gives
// false. Handles are only ever assigned here, never cleared: the caller
// resets the session first.
bool OpenDevice(HidBackend& backend, DeviceSession& session, std::uint32_t vendorId,
                std::uint32_t productId);

}  // namespace korvane::device
