#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace korvane::testing {

// A machine with no HID interfaces at all.
class NoHid : public device::HidBackend {
 public:
  std::vector<std::string> listInterfacePaths() override { return {}; }
  std::unique_ptr<device::HidHandle> open(const std::string&) override { return nullptr; }
};

}  // namespace korvane::testing
