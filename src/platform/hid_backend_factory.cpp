#include "platform/hid_backend_factory.h"

#include <cstdlib>
#include <string_view>

#include "platform/emulated_mouse.h"
#include "platform/hidapi_backend.h"

namespace korvane::platform {

std::unique_ptr<device::HidBackend> makeHidBackendFromEnvironment() {
  const char* device = std::getenv(kDeviceVariable);
  if (device != nullptr && std::string_view(device) == kEmulatedDeviceValue) {
    auto mouse = std::make_unique<EmulatedMouse>();
    const char* trace = std::getenv(kEmulatorTraceVariable);
    if (trace != nullptr && *trace != '\0') {
      mouse->traceTo(trace);
    }
    return mouse;
  }
  return std::make_unique<HidapiBackend>();
}

}  // namespace korvane::platform
