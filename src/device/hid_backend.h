#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane::device {

struct HidAttributes {
  std::uint32_t vendorId = 0;
  std::uint32_t productId = 0;
};

// Report lengths in bytes as Windows counts them: the report-id byte is
// included even on devices that number no reports. 0 = the interface has no
// report of that kind.
struct HidReportLengths {
  int input = 0;
  int output = 0;
  int feature = 0;

  friend bool operator==(const HidReportLengths&, const HidReportLengths&) = default;
};

// One open HID interface. Destroying it closes it.
class HidHandle {
 public:
  virtual ~HidHandle() = default;
  virtual std::optional<HidAttributes> attributes() = 0;
  virtual std::optional<HidReportLengths> reportLengths() = 0;
  // Every report starts with its report-id byte (0 when the device numbers
  // none) and has the length the interface declares for its kind.
  virtual bool setFeature(std::span<const std::uint8_t> report) = 0;
  // The number of bytes the device answered with, report-id byte included;
  // the rest of the buffer reads as zeros. nullopt when the transfer failed.
  virtual std::optional<std::size_t> getFeature(std::span<std::uint8_t> report) = 0;
  virtual bool write(std::span<const std::uint8_t> report) = 0;
  // Fails when no input report arrives within timeoutMs.
  virtual bool read(std::span<std::uint8_t> report, int timeoutMs) = 0;
  // After a failed transfer: the interface has left the system (the device
  // was unplugged), so every later transfer on this handle fails too.
  virtual bool disconnected() { return false; }
};

// The system's HID interfaces.
class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // Empty when the list cannot be had.
  virtual std::vector<std::string> listInterfacePaths() = 0;
  // Opens for reading and writing; null when the open fails.
  virtual std::unique_ptr<HidHandle> open(const std::string& path) = 0;
};

}  // namespace korvane::device
