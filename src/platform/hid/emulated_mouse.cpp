#include "platform/hid/emulated_mouse.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

#include "platform/hid/trace_file.h"

namespace korvane::platform {

namespace {

constexpr std::string_view kBootInterfacePath = "emulated/mouse/boot";
constexpr std::string_view kConfigInterfacePath = "emulated/mouse/config";
constexpr std::string_view kOtherDevicePrefix = "emulated/other/";
constexpr device::HidReportLengths kBootLengths{.input = 5, .output = 0, .feature = 0};

enum class InterfaceRole { Boot, Config, Other };

struct OtherDevice {
  int id = 0;
  device::HidAttributes attributes;
  device::HidReportLengths lengths;
  bool openable = true;
};

bool inRange(std::uint8_t code, std::uint8_t base, int count) {
  return code >= base && code < base + count;
}

}  // namespace

struct EmulatedMouse::State {
  EmulatedMouseConfig config;
  bool pluggedIn = true;
  // Bumped by every unplug; handles of an earlier generation are dead.
  int generation = 0;
  std::vector<OtherDevice> others;
  int nextOtherId = 1;
  // Interfaces came or went since the last takeChanges (at first: unknown).
  bool changed = true;

  int transfersSeen = 0;
  std::optional<int> failingTransfer;

  std::optional<std::uint8_t> pendingCommand;
  std::uint8_t lastCommand = 0;
  std::array<settings::ModeBlock, settings::kModeCount> modes{};
  std::array<device::MacroBlockBytes, device::kMacroCount> macros{};
  std::vector<Transfer> log;
  struct StuckByte {
    int mode;
    std::size_t offset;
    std::uint8_t value;
  };
  std::optional<StuckByte> stuck;
  std::unique_ptr<TraceFile> trace;

  const OtherDevice* other(int id) const {
    const auto it = std::find_if(others.begin(), others.end(),
                                 [id](const OtherDevice& d) { return d.id == id; });
    return it == others.end() ? nullptr : &*it;
  }

  // Every transfer attempt counts towards failTransfer's n.
  bool injectedFailure() {
    ++transfersSeen;
    if (failingTransfer && *failingTransfer == transfersSeen) {
      failingTransfer.reset();
      return true;
    }
    return false;
  }

  void record(TransferKind kind, std::span<const std::uint8_t> bytes) {
    log.push_back(Transfer{kind, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
    if (trace) {
      trace->append(transferKindName(kind), bytes);
    }
  }

  // The data report that follows a write command.
  void takeData(std::span<const std::uint8_t> report) {
    const std::optional<std::uint8_t> command = pendingCommand;
    pendingCommand.reset();
    if (!command) {
      return;
    }
    const auto data = report.subspan(device::kDataOffset, device::kDataLength);
    const std::uint8_t code = *command;
    if (inRange(code, device::writeModeCode(1), settings::kModeCount)) {
      const auto index = static_cast<std::size_t>(code - device::writeModeCode(1));
      std::copy(data.begin(), data.end(), modes[index].begin());
      if (stuck && stuck->mode == static_cast<int>(index) + 1) {
        modes[index][stuck->offset] = stuck->value;
      }
    } else if (inRange(code, device::kWriteMacroFirstHalfBase, device::kMacroCount)) {
      std::copy(data.begin(), data.end(), macros[code - device::kWriteMacroFirstHalfBase].begin());
    } else if (inRange(code, device::kWriteMacroSecondHalfBase, device::kMacroCount)) {
      std::copy(data.begin(), data.end(),
                macros[code - device::kWriteMacroSecondHalfBase].begin() + device::kDataLength);
    }
  }
};

namespace {

class EmulatedHandle : public device::HidHandle {
 public:
  EmulatedHandle(std::shared_ptr<EmulatedMouse::State> state, InterfaceRole role, int otherId)
      : state_(std::move(state)), role_(role), otherId_(otherId), generation_(state_->generation) {}

  std::optional<device::HidAttributes> attributes() override {
    if (!alive()) {
      return std::nullopt;
    }
    if (role_ == InterfaceRole::Other) {
      return state_->other(otherId_)->attributes;
    }
    return device::HidAttributes{state_->config.vendorId, state_->config.productId};
  }

  std::optional<device::HidReportLengths> reportLengths() override {
    if (!alive()) {
      return std::nullopt;
    }
    return lengths();
  }

  bool setFeature(std::span<const std::uint8_t> report) override {
    if (!acceptTransfer(report.size(), lengths().feature) ||
        report.size() <= device::kCommandCodeOffset) {
      return false;
    }
    state_->lastCommand = report[device::kCommandCodeOffset];
    state_->pendingCommand = state_->lastCommand;
    state_->record(TransferKind::SetFeature, report);
    return true;
  }

  std::optional<std::size_t> getFeature(std::span<std::uint8_t> report) override {
    if (!acceptTransfer(report.size(), lengths().feature)) {
      return std::nullopt;
    }
    std::fill(report.begin(), report.end(), 0);
    if (report.size() > device::kCommandCodeOffset) {
      report[device::kCommandCodeOffset] = state_->config.replyEcho.value_or(state_->lastCommand);
    }
    if (state_->lastCommand == device::kReadFirmwareVersion &&
        report.size() > device::kFirmwareVersionOffset) {
      report[device::kFirmwareVersionOffset] = state_->config.firmwareVersion;
    }
    const std::size_t received =
        std::min(report.size(), state_->config.replyLength.value_or(report.size()));
    std::fill(report.begin() + static_cast<std::ptrdiff_t>(received), report.end(), 0);
    state_->record(TransferKind::GetFeature, report.first(received));
    return received;
  }

  bool write(std::span<const std::uint8_t> report) override {
    if (!acceptTransfer(report.size(), lengths().output) ||
        report.size() != device::kDataReportLength) {
      return false;
    }
    state_->record(TransferKind::Write, report);
    state_->takeData(report);
    return true;
  }

  bool read(std::span<std::uint8_t> report, int /*timeoutMs*/) override {
    if (!acceptTransfer(report.size(), lengths().input) ||
        report.size() != device::kDataReportLength) {
      return false;
    }
    // Only a read-mode command makes the mouse send an input report; without
    // one the read times out (at once: tests never wait).
    const std::optional<std::uint8_t> command = state_->pendingCommand;
    if (!command || !inRange(*command, device::readModeCode(1), settings::kModeCount)) {
      return false;
    }
    state_->pendingCommand.reset();
    const auto& mode = state_->modes[*command - device::readModeCode(1)];
    report[device::kReportIdOffset] = device::kUnnumberedReportId;
    std::copy(mode.begin(), mode.end(), report.begin() + device::kDataOffset);
    state_->record(TransferKind::Read, report);
    return true;
  }

  bool disconnected() override { return role_ != InterfaceRole::Other && !alive(); }

 private:
  bool alive() const {
    if (role_ == InterfaceRole::Other) {
      return state_->other(otherId_) != nullptr;
    }
    return state_->pluggedIn && state_->generation == generation_;
  }

  device::HidReportLengths lengths() const {
    switch (role_) {
      case InterfaceRole::Boot:
        return kBootLengths;
      case InterfaceRole::Config:
        return state_->config.configLengths;
      case InterfaceRole::Other:
        break;
    }
    const OtherDevice* other = state_->other(otherId_);
    return other != nullptr ? other->lengths : device::HidReportLengths{};
  }

  // Like the system's HID layer, a report must have exactly the declared
  // length of its kind; other devices and the boot interface answer nothing.
  bool acceptTransfer(std::size_t size, int declared) {
    if (state_->injectedFailure() || !alive() || role_ != InterfaceRole::Config) {
      return false;
    }
    return declared > 0 && size == static_cast<std::size_t>(declared);
  }

  std::shared_ptr<EmulatedMouse::State> state_;
  InterfaceRole role_;
  int otherId_;
  int generation_;
};

}  // namespace

std::string_view transferKindName(TransferKind kind) {
  switch (kind) {
    case TransferKind::SetFeature:
      return "set-feature";
    case TransferKind::GetFeature:
      return "get-feature";
    case TransferKind::Write:
      return "write";
    case TransferKind::Read:
      return "read";
  }
  return "";
}

EmulatedMouse::EmulatedMouse(EmulatedMouseConfig config) : state_(std::make_shared<State>()) {
  state_->config = config;
}

EmulatedMouse::~EmulatedMouse() {
  // Handles that outlive the emulator behave as after an unplug.
  unplug();
  state_->others.clear();
}

std::vector<std::string> EmulatedMouse::listInterfacePaths() {
  std::vector<std::string> paths;
  if (state_->pluggedIn) {
    paths.emplace_back(kBootInterfacePath);
    paths.emplace_back(kConfigInterfacePath);
  }
  for (const OtherDevice& other : state_->others) {
    paths.push_back(std::string(kOtherDevicePrefix) + std::to_string(other.id));
  }
  return paths;
}

std::unique_ptr<device::HidHandle> EmulatedMouse::open(const std::string& path) {
  if (state_->pluggedIn && path == kBootInterfacePath) {
    return std::make_unique<EmulatedHandle>(state_, InterfaceRole::Boot, 0);
  }
  if (state_->pluggedIn && path == kConfigInterfacePath) {
    return std::make_unique<EmulatedHandle>(state_, InterfaceRole::Config, 0);
  }
  if (path.starts_with(kOtherDevicePrefix)) {
    const std::string number = path.substr(kOtherDevicePrefix.size());
    for (const OtherDevice& other : state_->others) {
      if (std::to_string(other.id) == number && other.openable) {
        return std::make_unique<EmulatedHandle>(state_, InterfaceRole::Other, other.id);
      }
    }
  }
  return nullptr;
}

bool EmulatedMouse::takeChanges() {
  return std::exchange(state_->changed, false);
}

void EmulatedMouse::unplug() {
  state_->changed = true;
  state_->pluggedIn = false;
  ++state_->generation;
  state_->pendingCommand.reset();
}

void EmulatedMouse::replug() {
  state_->changed = true;
  state_->pluggedIn = true;
}

int EmulatedMouse::addOtherDevice(std::uint32_t vendorId, std::uint32_t productId,
                                  device::HidReportLengths lengths, bool openable) {
  const int id = state_->nextOtherId++;
  state_->changed = true;
  state_->others.push_back(OtherDevice{id, {vendorId, productId}, lengths, openable});
  return id;
}

void EmulatedMouse::removeOtherDevice(int id) {
  state_->changed = true;
  std::erase_if(state_->others, [id](const OtherDevice& d) { return d.id == id; });
}

void EmulatedMouse::failTransfer(int n) {
  state_->failingTransfer = state_->transfersSeen + n;
}

void EmulatedMouse::setFirmwareVersion(std::uint8_t version) {
  state_->config.firmwareVersion = version;
}

void EmulatedMouse::setConfigLengths(device::HidReportLengths lengths) {
  state_->config.configLengths = lengths;
}

void EmulatedMouse::setReplyFaults(std::optional<std::uint8_t> echo,
                                   std::optional<std::size_t> length) {
  state_->config.replyEcho = echo;
  state_->config.replyLength = length;
}

void EmulatedMouse::traceTo(const std::string& path) {
  state_->trace = std::make_unique<TraceFile>(path);
}

const std::vector<Transfer>& EmulatedMouse::transfers() const {
  return state_->log;
}

void EmulatedMouse::clearTransfers() {
  state_->log.clear();
}

const std::array<settings::ModeBlock, settings::kModeCount>& EmulatedMouse::modes() const {
  return state_->modes;
}

bool EmulatedMouse::stickByte(int mode, std::size_t offset, std::uint8_t value) {
  if (mode < 1 || mode > settings::kModeCount || offset >= settings::kModeBlockSize) {
    return false;
  }
  state_->stuck = State::StuckByte{mode, offset, value};
  return true;
}

void EmulatedMouse::setMode(int mode, const settings::ModeBlock& block) {
  state_->modes.at(static_cast<std::size_t>(mode - 1)) = block;
}

const std::array<device::MacroBlockBytes, device::kMacroCount>& EmulatedMouse::macros() const {
  return state_->macros;
}

}  // namespace korvane::platform
