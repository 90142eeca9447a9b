#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "device/hid_backend.h"

namespace korvane::device {

// Why a device that answers to the mouse's ids was not connected: it does
// not fit the command protocol, so writing to it would fail or do nothing.
struct ProtocolMismatch {
  enum class Kind : std::uint8_t {
    NoFeatureReport,           // no interface takes commands
    FeatureReportTooShort,     // actual = declared feature length
    NoDataOutputReport,        // actual = largest output length declared (0: none)
    VersionReplyWrongCommand,  // actual = the command byte the reply echoed
    VersionReplyTooShort,      // actual = bytes in the reply
  };
  Kind kind = Kind::NoFeatureReport;
  int actual = 0;
  int expected = 0;

  friend bool operator==(const ProtocolMismatch&, const ProtocolMismatch&) = default;
};

// The reason in plain English, for logs and the command-line tool.
std::string describeMismatch(const ProtocolMismatch& mismatch);

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
  // A transfer failed on these handles: they may be dead (a replug keeps the
  // interface count), so the monitor reconnects at its next tick.
  bool Lost = false;
  // Set when the last connection attempt found the mouse's ids on a device
  // that does not fit the protocol; cleared by a successful one.
  std::optional<ProtocolMismatch> Mismatch;

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
