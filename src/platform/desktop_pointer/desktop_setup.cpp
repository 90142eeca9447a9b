#include "platform/desktop_pointer/desktop_setup.h"

#include <cstdlib>
#include <utility>

#include "device/device_session.h"
#include "platform/desktop_pointer/gsettings_sink.h"
#include "platform/desktop_pointer/input_devices.h"
#include "platform/desktop_pointer/kde_session.h"
#include "platform/desktop_pointer/kde_sink.h"
#include "platform/desktop_pointer/x11_sink.h"

namespace korvane::platform::desktop_pointer {

namespace {

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The KDE sink with the kernel's device list and the session bus.
class SystemKdeSink : public DesktopSink {
 public:
  SystemKdeSink(const DesktopEnvironment& environment, std::vector<MouseId> mouseIds)
      : session_(environment.sessionBus, environment.runtimeDir),
        sink_(environment, std::move(mouseIds), devices_, session_) {}
  SinkReport apply(const settings::DesktopPointerValues& values) override {
    return sink_.apply(values);
  }

 private:
  SysfsInputDeviceList devices_;
  SessionBusKdeSession session_;
  KdeSink sink_;
};

// The X11 sink on the X server of DISPLAY.
class SystemX11Sink : public DesktopSink {
 public:
  explicit SystemX11Sink(const DesktopEnvironment& environment)
      : devices_(makeXInputDevices(environment.display)), sink_(*devices_) {}
  SinkReport apply(const settings::DesktopPointerValues& values) override {
    return sink_.apply(values);
  }

 private:
  std::unique_ptr<XInputDevices> devices_;
  X11Sink sink_;
};

}  // namespace

DesktopEnvironment DesktopEnvironment::fromProcess() {
  return {variable("XDG_CURRENT_DESKTOP"), variable("XDG_SESSION_TYPE"),
          variable("WAYLAND_DISPLAY"),     variable("DISPLAY"),
          variable("XDG_CONFIG_HOME"),     variable("HOME"),
          variable("XDG_RUNTIME_DIR"),     variable("DBUS_SESSION_BUS_ADDRESS"),
          variable("GSETTINGS_BACKEND")};
}

std::vector<MouseId> knownMouseIds() {
  std::vector<MouseId> ids;
  for (const device::VendorProductSlot& slot : device::defaultVendorProductTable()) {
    if (!slot.empty()) {
      ids.push_back({slot.vendorId, slot.productId});
    }
  }
  return ids;
}

std::unique_ptr<DesktopPointerSink> makeDesktopPointerSink(std::filesystem::path recordFile,
                                                           std::vector<MouseId> mouseIds,
                                                           const DesktopEnvironment& environment) {
  // Every sink runs and decides for itself whether it applies here.
  std::vector<std::unique_ptr<DesktopSink>> desktops;
  desktops.push_back(std::make_unique<GSettingsSink>(
      environment.gsettingsBackend,
      !sessionBusAddress(environment.sessionBus, environment.runtimeDir).empty()));
  desktops.push_back(std::make_unique<SystemKdeSink>(environment, std::move(mouseIds)));
  desktops.push_back(std::make_unique<SystemX11Sink>(environment));
  return std::make_unique<DesktopPointerSink>(std::move(recordFile), std::move(desktops));
}

}  // namespace korvane::platform::desktop_pointer
