#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "device/hid_backend.h"

namespace korvane::device {

// What a HID report descriptor says about an interface's reports.
struct ReportDescriptorSummary {
  // Largest report of each kind in bytes plus the report-id byte, the way
  // Windows counts it; 0 when the kind is absent.
  HidReportLengths lengths;
  // The device puts a report id in front of every report it sends.
  bool numberedReports = false;
};

// Walks the descriptor's items. nullopt for a descriptor that cannot be
// trusted: a truncated item, a report id of 0, a Pop without a Push, stack or
// size limits exceeded.
std::optional<ReportDescriptorSummary> parseReportDescriptor(std::span<const std::uint8_t> bytes);

}  // namespace korvane::device
