#include "device/device_session.h"

#include <cstdio>

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

std::string describeMismatch(const ProtocolMismatch& mismatch) {
  const std::string actual = std::to_string(mismatch.actual);
  const std::string expected = std::to_string(mismatch.expected);
  switch (mismatch.kind) {
    case ProtocolMismatch::Kind::NoFeatureReport:
      return "it has no feature report for commands";
    case ProtocolMismatch::Kind::FeatureReportTooShort:
      return "its feature report has " + actual + " bytes; the commands need " + expected;
    case ProtocolMismatch::Kind::NoDataOutputReport:
      return "its output report has " + actual + " bytes; the settings need " + expected;
    case ProtocolMismatch::Kind::VersionReplyWrongCommand: {
      std::array<char, 8> hex{};
      std::snprintf(hex.data(), hex.size(), "%02X", static_cast<unsigned>(mismatch.actual & 0xFF));
      std::array<char, 8> wanted{};
      std::snprintf(wanted.data(), wanted.size(), "%02X",
                    static_cast<unsigned>(mismatch.expected & 0xFF));
      return std::string("its reply to the firmware-version command echoes command ") + hex.data() +
             " instead of " + wanted.data();
    }
    case ProtocolMismatch::Kind::VersionReplyTooShort:
      return "its reply to the firmware-version command has " + actual + " bytes; " + expected +
             " are needed";
  }
  return {};
}

VendorProductTable defaultVendorProductTable() {
  VendorProductTable table{};
  table[0] = kPrimaryIds;
  table[1] = kSecondaryIds;
  return table;
}

}  // namespace korvane::device
