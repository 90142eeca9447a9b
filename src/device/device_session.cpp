#include "device/device_session.h"

namespace korvane::device {

namespace {
constexpr VendorProductSlot kPrimaryIds{0x4321, 0x6789};
constexpr VendorProductSlot kSecondaryIds{0x04B4, 0x8F36};
}  // namespace

void DeviceSession::reset() {
  FeatureHandle.reset();
  OutputHandle.reset();
  InputHandle.reset();
}

VendorProductTable defaultVendorProductTable() {
  VendorProductTable table{};
  table[0] = kPrimaryIds;
  table[1] = kSecondaryIds;
  return table;
}

}  // namespace korvane::device
