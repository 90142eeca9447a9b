#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_backend.h"
#include "device/hid_change_watch.h"
#include "device/report_layout.h"

namespace korvane::platform {

enum class TransferKind { SetFeature, GetFeature, Write, Read };

// "set-feature", "get-feature", "write", "read": the trace file's words.
std::string_view transferKindName(TransferKind kind);

// One transfer the mouse took part in: the report as sent to it or as it
// answered, report-id byte first.
struct Transfer {
  TransferKind kind = TransferKind::SetFeature;
  std::vector<std::uint8_t> bytes;

  friend bool operator==(const Transfer&, const Transfer&) = default;
};

struct EmulatedMouseConfig {
  std::uint32_t vendorId = 0x4321;
  std::uint32_t productId = 0x6789;
  // The configuration interface. Beside it the mouse has a boot-mouse
  // interface with a 5-byte input report and nothing else.
  device::HidReportLengths configLengths{.input = 65, .output = 65, .feature = 9};
  std::uint8_t firmwareVersion = 1;
  // Faults of a device that only looks like the mouse: its feature replies
  // echo this byte instead of the command, or hold only this many bytes.
  std::optional<std::uint8_t> replyEcho{};
  std::optional<std::size_t> replyLength{};
};

// The mouse's firmware in-process, behind the HID port: it answers the
// firmware-version command, keeps the modes and macro blocks it receives
// (command first, then the data report), returns a stored mode on a read
// command, and logs every transfer it accepted. Tests plug and unplug it, add
// other devices and make single transfers fail. Handles stay valid objects
// after the emulator is gone, but then fail like an unplugged device's. As a
// change watch it reports its own plugging and the other devices coming and
// going, as the system reports hidraw nodes.
class EmulatedMouse : public device::HidBackend, public device::HidChangeWatch {
 public:
  explicit EmulatedMouse(EmulatedMouseConfig config = {});
  ~EmulatedMouse() override;
  EmulatedMouse(const EmulatedMouse&) = delete;
  EmulatedMouse& operator=(const EmulatedMouse&) = delete;

  std::vector<std::string> listInterfacePaths() override;
  std::unique_ptr<device::HidHandle> open(const std::string& path) override;
  bool takeChanges() override;

  // Unplugging makes the interfaces vanish and every handle opened so far
  // fail for good, even after a replug.
  void unplug();
  void replug();

  // Another device with one interface whose transfers all fail. Returns its
  // id for removeOtherDevice.
  int addOtherDevice(std::uint32_t vendorId, std::uint32_t productId,
                     device::HidReportLengths lengths, bool openable = true);
  void removeOtherDevice(int id);

  // The n-th transfer from now on (1 = the next one) fails.
  void failTransfer(int n);
  void setFirmwareVersion(std::uint8_t version);
  // The report lengths the configuration interface declares from now on.
  void setConfigLengths(device::HidReportLengths lengths);
  void setReplyFaults(std::optional<std::uint8_t> echo, std::optional<std::size_t> length);
  // Appends one line per accepted transfer to this file.
  void traceTo(const std::string& path);

  const std::vector<Transfer>& transfers() const;
  void clearTransfers();
  const std::array<settings::ModeBlock, settings::kModeCount>& modes() const;
  void setMode(int mode, const settings::ModeBlock& block);
  // From now on, byte `offset` of mode `mode` keeps `value` whatever a
  // write of that mode sends: a mouse that does not store a setting. False,
  // changing nothing, for a mode outside 1..5 or a byte past the block.
  bool stickByte(int mode, std::size_t offset, std::uint8_t value);
  const std::array<device::MacroBlockBytes, device::kMacroCount>& macros() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace korvane::platform
