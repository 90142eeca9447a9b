#pragma once

#include <filesystem>
#include <memory>

#include "device/hid_backend.h"
#include "device/hid_change_watch.h"

namespace korvane::platform {

inline constexpr const char* kDeviceNodeFolder = "/dev";

// Watches the device-node folder for hidraw nodes appearing, vanishing or
// changing access, the events that change which HID interfaces can be
// opened. The kernel queues the events; nothing wakes the program until the
// monitor asks.
class HidrawWatch : public device::HidChangeWatch {
 public:
  // Null when the folder cannot be watched; the monitor then enumerates at
  // every tick.
  static std::unique_ptr<HidrawWatch> open(const std::filesystem::path& folder = kDeviceNodeFolder);
  ~HidrawWatch() override;
  HidrawWatch(const HidrawWatch&) = delete;
  HidrawWatch& operator=(const HidrawWatch&) = delete;

  bool takeChanges() override;

 private:
  explicit HidrawWatch(int fd) : fd_(fd) {}
  int fd_;
  // The watch was lost (folder gone, read error): from now on every tick
  // enumerates.
  bool lost_ = false;
};

// What the program watches for the backend in use: the emulated mouse reports
// its own plugging, the real system its hidraw nodes. Null: enumerate always.
std::unique_ptr<device::HidChangeWatch> makeHidChangeWatch(device::HidBackend& backend);

}  // namespace korvane::platform
