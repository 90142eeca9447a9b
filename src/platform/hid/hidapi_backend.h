#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace korvane::platform {

inline constexpr const char* kSysfsHidrawRoot = "/sys/class/hidraw";

// The report descriptor of a hidraw node ("/dev/hidraw3"), read from
// <sysfsRoot>/hidraw3/device/report_descriptor. nullopt when the path is no
// hidraw node or the file cannot be read.
std::optional<std::vector<std::uint8_t>> readReportDescriptor(
    const std::string& devicePath, const std::filesystem::path& sysfsRoot);

// The system's HID interfaces through hidapi over hidraw. Report lengths come
// from our own parse of the interface's report descriptor. hidapi is set up
// for the backend's lifetime, so handles must not outlive it.
class HidapiBackend : public device::HidBackend {
 public:
  explicit HidapiBackend(std::filesystem::path sysfsRoot = kSysfsHidrawRoot);
  ~HidapiBackend() override;
  HidapiBackend(const HidapiBackend&) = delete;
  HidapiBackend& operator=(const HidapiBackend&) = delete;

  std::vector<std::string> listInterfacePaths() override;
  std::unique_ptr<device::HidHandle> open(const std::string& path) override;

 private:
  std::filesystem::path sysfsRoot_;
  bool initialised_ = false;
};

}  // namespace korvane::platform
