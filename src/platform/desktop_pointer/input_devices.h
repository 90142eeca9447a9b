#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace korvane::platform::desktop_pointer {

// One input device of the kernel that moves the pointer.
struct InputDevice {
  std::string sysName;  // "event7": KWin names its device objects after it
  std::string name;     // the device's own name, as libinput and KDE see it
  std::uint32_t vendorId = 0;
  std::uint32_t productId = 0;

  friend bool operator==(const InputDevice&, const InputDevice&) = default;
};

// The pointer input devices, to find those of our mouse.
class InputDeviceList {
 public:
  virtual ~InputDeviceList() = default;
  virtual std::vector<InputDevice> pointerDevices() = 0;
};

// The kernel's list under /sys/class/input: each eventN whose device has
// relative X and Y axes, with device/name and device/id/{vendor,product}.
class SysfsInputDeviceList : public InputDeviceList {
 public:
  explicit SysfsInputDeviceList(std::filesystem::path root = "/sys/class/input");
  std::vector<InputDevice> pointerDevices() override;

 private:
  std::filesystem::path root_;
};

}  // namespace korvane::platform::desktop_pointer
