#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/report_layout.h"

namespace korvane::device {

class HidHandle;
class LinkHost;
struct DeviceSession;

// Pause after every successful transfer, so the mouse keeps up.
inline constexpr int kTransferPauseMs = 10;
// Pause after every data write, with the busy window shown and window
// messages running.
inline constexpr int kDataWritePauseMs = 200;
// How long ReadReport waits for the mouse's input report.
inline constexpr int kReadReportTimeoutMs = 1000;
inline constexpr const char* kVersionTextPrefix = " Ver-";

// The command protocol over the session's handles. Operations never report
// errors themselves: a failed transfer sets TransferFailed and marks the
// session Lost, and a step whose handle is invalid is skipped silently.
class DeviceLink {
 public:
  DeviceLink(DeviceSession& session, LinkHost& host);

  DeviceSession& session() { return session_; }

  // --- transfers: false without any transfer when the handle is null --------
  // A feature report; false also when the report has no room for a command
  // code.
  bool SendCommand(HidHandle* handle, std::span<const std::uint8_t> report);
  // The command, then the device's feature report read back into the same
  // buffer; true only when both succeed.
  bool SendCommandGetReply(HidHandle* handle, std::span<std::uint8_t> report);
  bool WriteReport(HidHandle* handle, std::span<const std::uint8_t, kDataReportLength> report);
  // Fails when the mouse sends nothing within kReadReportTimeoutMs.
  bool ReadReport(HidHandle* handle, std::span<std::uint8_t, kDataReportLength> report);

  // A command report of the session's FeatureReportLength bytes.
  std::vector<std::uint8_t> commandReport(std::uint8_t code) const;

  // After a failed transfer: one of the session's interfaces has left the
  // system, so the failure was the mouse being unplugged.
  bool mouseDisconnected() const;

  // --- operations -------------------------------------------------------------
  // Fills FirmwareVersion and VersionText; true when the mouse answered. A
  // reply that is too short or does not echo the command sets the session's
  // Mismatch.
  bool ReadFirmwareVersion();
  // mode 1..5; anything else sends nothing.
  void WriteMode(int mode, std::span<const std::uint8_t, settings::kModeBlockSize> block);
  // Replaces block only when the mouse's report arrived.
  void ReadMode(int mode, std::span<std::uint8_t, settings::kModeBlockSize> block);
  // block 0..9, in two halves; the second half goes even when the first failed.
  void WriteMacro(int block, std::span<const std::uint8_t, kMacroBlockSize> bytes);

  // While tracking, every data write advances the busy window's progress.
  void trackDataWrites(int total);
  void stopTrackingDataWrites();

 private:
  void writeData(std::uint8_t code, std::span<const std::uint8_t, kDataLength> data);
  void markFailed();

  DeviceSession& session_;
  LinkHost& host_;
  struct Progress {
    int done = 0;
    int total = 0;
  };
  std::optional<Progress> progress_;
  // Bytes of the last feature report read back.
  std::size_t replyLength_ = 0;
};

}  // namespace korvane::device
