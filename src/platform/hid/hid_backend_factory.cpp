#include "platform/hid/hid_backend_factory.h"

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <string_view>

#include "platform/hid/emulated_mouse.h"
#include "platform/hid/hidapi_backend.h"

namespace korvane::platform {

namespace {

std::optional<std::string> variable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    return std::nullopt;
  }
  return std::string(value);
}

template <typename Number>
bool parseNumber(std::string_view text, Number& value, int base = 10) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return error == std::errc() && end == text.data() + text.size();
}

// "MODE:BYTE:VALUE" into the emulated mouse; anything else, a mode outside
// 1..5 or a byte past the block among it, is reported and changes nothing.
void applyStuckByte(EmulatedMouse& mouse, std::string_view text) {
  const std::size_t first = text.find(':');
  const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
  int mode = 0;
  std::size_t offset = 0;
  unsigned value = 0;
  if (second == std::string_view::npos || !parseNumber(text.substr(0, first), mode) ||
      !parseNumber(text.substr(first + 1, second - first - 1), offset) ||
      !parseNumber(text.substr(second + 1), value, 16) || value > 0xFF) {
    std::cerr << kEmulatorStuckByteVariable << " is not MODE:BYTE:VALUE and is ignored\n";
    return;
  }
  if (!mouse.stickByte(mode, offset, static_cast<std::uint8_t>(value))) {
    std::cerr << kEmulatorStuckByteVariable << " names no byte of modes 1 to 5 (bytes 0 to "
              << settings::kModeBlockSize - 1 << ") and is ignored\n";
  }
}

}  // namespace

HidChoice hidChoiceFromEnvironment() {
  HidChoice choice;
  const std::optional<std::string> device = variable(kDeviceVariable);
  choice.emulated = device && *device == kEmulatedDeviceValue;
  choice.traceFile = variable(kEmulatorTraceVariable);
  if (const std::optional<std::string> fail = variable(kEmulatorFailVariable)) {
    int n = 0;
    if (parseNumber(*fail, n) && n > 0) {
      choice.failingTransfer = n;
    } else {
      std::cerr << kEmulatorFailVariable << " is not a positive number and is ignored\n";
    }
  }
  choice.stuckByte = variable(kEmulatorStuckByteVariable);
  return choice;
}

std::unique_ptr<device::HidBackend> makeHidBackend(const HidChoice& choice) {
  if (!choice.emulated) {
    return std::make_unique<HidapiBackend>();
  }
  auto mouse = std::make_unique<EmulatedMouse>();
  if (choice.traceFile) {
    mouse->traceTo(*choice.traceFile);
  }
  if (choice.failingTransfer) {
    mouse->failTransfer(*choice.failingTransfer);
  }
  if (choice.stuckByte) {
    applyStuckByte(*mouse, *choice.stuckByte);
  }
  return mouse;
}

std::unique_ptr<device::HidBackend> makeHidBackendFromEnvironment() {
  return makeHidBackend(hidChoiceFromEnvironment());
}

}  // namespace korvane::platform
