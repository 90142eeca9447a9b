// The report-descriptor parser: any bytes (sysfs gives up to 4096) give a
// summary or nothing, never a read past the descriptor.
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static_cast<void>(korvane::device::parseReportDescriptor(std::span(data, size)));
  return 0;
}
