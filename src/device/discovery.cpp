#include "device/discovery.h"

#include <algorithm>
#include <memory>
#include <string>

#include "device/device_session.h"
#include "device/hid_backend.h"
#include "device/report_layout.h"

namespace korvane::device {

int CountHidInterfaces(HidBackend& backend) {
  int count = 0;
  for (const std::string& path : backend.listInterfacePaths()) {
    if (backend.open(path) != nullptr) {
      ++count;
    }
  }
  return count;
}

bool OpenDevice(HidBackend& backend, DeviceSession& session, std::uint32_t vendorId,
                std::uint32_t productId) {
  bool found = false;
  bool matched = false;
  int largestOutput = 0;
  for (const std::string& path : backend.listInterfacePaths()) {
    std::shared_ptr<HidHandle> handle = backend.open(path);
    if (handle == nullptr) {
      continue;
    }
    const auto attributes = handle->attributes();
    if (!attributes) {
      continue;
    }
    const auto lengths = handle->reportLengths();
    if (!lengths) {
      continue;
    }
    if (attributes->vendorId != vendorId || attributes->productId != productId) {
      continue;
    }
    matched = true;
    largestOutput = std::max(largestOutput, lengths->output);
    if (lengths->input == kDataReportLength) {
      session.InputHandle = handle;
    }
    if (lengths->feature != 0) {
      session.FeatureHandle = handle;
      session.VendorId = attributes->vendorId;
      session.ProductId = attributes->productId;
      session.FeatureReportLength = lengths->feature;
      found = true;
    }
    if (lengths->output == kDataReportLength) {
      session.OutputHandle = handle;
    }
    // A handle that took no role is closed here, as the last owner lets go.
  }
  // The mouse's ids on a device that cannot carry the commands and the
  // 65-byte data reports: connecting it would let Apply fail every time, or
  // "complete" having sent nothing.
  if (!found) {
    if (matched) {
      session.Mismatch = ProtocolMismatch{ProtocolMismatch::Kind::NoFeatureReport, 0, 0};
    }
    return false;
  }
  const auto refuse = [&session](ProtocolMismatch mismatch) {
    session.VendorId = 0;
    session.ProductId = 0;
    session.Mismatch = mismatch;
    return false;
  };
  if (session.FeatureReportLength < kCommandReportLength) {
    return refuse(ProtocolMismatch{ProtocolMismatch::Kind::FeatureReportTooShort,
                                   session.FeatureReportLength, kCommandReportLength});
  }
  if (session.OutputHandle == nullptr) {
    return refuse(ProtocolMismatch{ProtocolMismatch::Kind::NoDataOutputReport, largestOutput,
                                   kDataReportLength});
  }
  return true;
}

}  // namespace korvane::device
