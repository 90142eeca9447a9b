#include "device/protocol.h"

#include <algorithm>

#include "device/device_session.h"
#include "device/hid_backend.h"
#include "device/link_host.h"

namespace korvane::device {

namespace {

bool isModeNumber(int mode) {
  return mode >= 1 && mode <= settings::kModeCount;
}

}  // namespace

DeviceLink::DeviceLink(DeviceSession& session, LinkHost& host) : session_(session), host_(host) {}

bool DeviceLink::SendCommand(HidHandle* handle, std::span<const std::uint8_t> report) {
  if (handle == nullptr || report.size() <= kCommandCodeOffset) {
    return false;
  }
  if (!handle->setFeature(report)) {
    return false;
  }
  host_.sleep(kTransferPauseMs);
  return true;
}

bool DeviceLink::SendCommandGetReply(HidHandle* handle, std::span<std::uint8_t> report) {
  if (handle == nullptr || report.size() <= kCommandCodeOffset) {
    return false;
  }
  if (!handle->setFeature(report)) {
    return false;
  }
  host_.sleep(kTransferPauseMs);
  const std::optional<std::size_t> received = handle->getFeature(report);
  if (!received) {
    return false;
  }
  replyLength_ = *received;
  return true;
}

bool DeviceLink::WriteReport(HidHandle* handle,
                             std::span<const std::uint8_t, kDataReportLength> report) {
  if (handle == nullptr || !handle->write(report)) {
    return false;
  }
  host_.sleep(kTransferPauseMs);
  return true;
}

bool DeviceLink::ReadReport(HidHandle* handle, std::span<std::uint8_t, kDataReportLength> report) {
  if (handle == nullptr || !handle->read(report, kReadReportTimeoutMs)) {
    return false;
  }
  host_.sleep(kTransferPauseMs);
  return true;
}

std::vector<std::uint8_t> DeviceLink::commandReport(std::uint8_t code) const {
  // A device that declares fewer than 9 bytes gets the report cut to its
  // length; one too short to hold the code gets an empty report, which
  // SendCommand refuses.
  const auto length = static_cast<std::size_t>(std::max(session_.FeatureReportLength, 0));
  std::vector<std::uint8_t> report(length, 0);
  if (length > kCommandCodeOffset) {
    report[kReportIdOffset] = kUnnumberedReportId;
    report[kCommandCodeOffset] = code;
  } else {
    report.clear();
  }
  return report;
}

void DeviceLink::markFailed() {
  session_.TransferFailed = true;
  session_.Lost = true;
}

bool DeviceLink::mouseDisconnected() const {
  for (const auto& handle : {session_.FeatureHandle, session_.OutputHandle, session_.InputHandle}) {
    if (handle != nullptr && handle->disconnected()) {
      return true;
    }
  }
  return false;
}

bool DeviceLink::ReadFirmwareVersion() {
  if (session_.FeatureHandle == nullptr) {
    return false;
  }
  session_.VersionText.clear();
  std::vector<std::uint8_t> report = commandReport(kReadFirmwareVersion);
  if (report.size() <= kFirmwareVersionOffset ||
      !SendCommandGetReply(session_.FeatureHandle.get(), report)) {
    markFailed();
    return false;
  }
  // A reply is believed only when it has the whole command report and
  // echoes the command; anything else is not this protocol's answer.
  if (replyLength_ < static_cast<std::size_t>(kCommandReportLength)) {
    session_.Mismatch = ProtocolMismatch{ProtocolMismatch::Kind::VersionReplyTooShort,
                                         static_cast<int>(replyLength_), kCommandReportLength};
  } else if (report[kCommandCodeOffset] != kReadFirmwareVersion) {
    session_.Mismatch = ProtocolMismatch{ProtocolMismatch::Kind::VersionReplyWrongCommand,
                                         report[kCommandCodeOffset], kReadFirmwareVersion};
  }
  if (session_.Mismatch) {
    session_.TransferFailed = true;
    return false;
  }
  session_.FirmwareVersion = report[kFirmwareVersionOffset];
  session_.VersionText = kVersionTextPrefix + std::to_string(session_.FirmwareVersion);
  return true;
}

void DeviceLink::writeData(std::uint8_t code, std::span<const std::uint8_t, kDataLength> data) {
  if (session_.FeatureHandle != nullptr) {
    const std::vector<std::uint8_t> command = commandReport(code);
    if (!SendCommand(session_.FeatureHandle.get(), command)) {
      markFailed();
    }
  }
  // The data goes even when the command failed: the mouse decides.
  if (session_.OutputHandle != nullptr) {
    DataReport report{};
    report[kReportIdOffset] = kUnnumberedReportId;
    std::copy(data.begin(), data.end(), report.begin() + kDataOffset);
    if (!WriteReport(session_.OutputHandle.get(), report)) {
      markFailed();
    }
  }
  host_.showBusy();
  if (progress_) {
    ++progress_->done;
    host_.setBusyProgress(progress_->done, progress_->total);
  }
  // Window messages run in here; the window keeps monitor ticks and other
  // commands out until the running command ends.
  host_.wait(kDataWritePauseMs);
}

void DeviceLink::WriteMode(int mode,
                           std::span<const std::uint8_t, settings::kModeBlockSize> block) {
  if (!isModeNumber(mode)) {
    return;
  }
  writeData(writeModeCode(mode), block);
}

void DeviceLink::ReadMode(int mode, std::span<std::uint8_t, settings::kModeBlockSize> block) {
  if (!isModeNumber(mode)) {
    return;
  }
  if (session_.FeatureHandle != nullptr) {
    const std::vector<std::uint8_t> command = commandReport(readModeCode(mode));
    if (!SendCommand(session_.FeatureHandle.get(), command)) {
      markFailed();
    }
  }
  if (session_.InputHandle != nullptr) {
    DataReport report{};
    if (!ReadReport(session_.InputHandle.get(), report)) {
      markFailed();
      return;
    }
    std::copy_n(report.begin() + kDataOffset, settings::kModeBlockSize, block.begin());
  }
}

void DeviceLink::WriteMacro(int block, std::span<const std::uint8_t, kMacroBlockSize> bytes) {
  if (block < 0 || block >= kMacroCount) {
    return;
  }
  writeData(writeMacroFirstHalfCode(block), bytes.first<kDataLength>());
  writeData(writeMacroSecondHalfCode(block), bytes.last<kDataLength>());
}

void DeviceLink::trackDataWrites(int total) {
  progress_ = Progress{0, total};
}

void DeviceLink::stopTrackingDataWrites() {
  progress_.reset();
}

}  // namespace korvane::device
