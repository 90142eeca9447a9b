#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "device/hid_backend.h"

namespace korvane::device {

// The link to the connected mouse, shared by discovery, the monitor and the
// command protocol. A null handle is an invalid one; one interface may serve
// several roles, so the handles may be the same object.
struct DeviceSession {
  std::uint32_t VendorId = 0;
  std::uint32_t ProductId = 0;
  std::shared_ptr<HidHandle> FeatureHandle;
  std::shared_ptr<HidHandle> OutputHandle;
  std::shared_ptr<HidHandle> InputHandle;
  std::int32_t FeatureReportLength = 0;
  std::uint8_t FirmwareVersion = 0;
  std::string VersionText;
  bool TransferFailed = false;

  // Invalidates the three handles; an interface closes when no role holds it.
  void reset();
};

// One vendor/product id pair the mouse may answer to.
struct VendorProductSlot {
  std::uint32_t vendorId = 0;
  std::uint32_t productId = 0;

  // A slot with either id 0 is skipped.
  bool empty() const { return vendorId == 0 || productId == 0; }
};

inline constexpr int kVendorProductSlotCount = 6;
using VendorProductTable = std::array<VendorProductSlot, kVendorProductSlotCount>;

// The table start-up fills: the mouse's two known id pairs, tried in order.
VendorProductTable defaultVendorProductTable();

}  // namespace korvane::device
